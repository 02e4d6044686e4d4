// The forms bound to their dialog classes, driven through their real widgets: a refused field or
// Accept shows the dialog's own message and keeps the focus, each module copies the edits back
// only when accepted, nested dialogs open from their buttons, and the number edits themselves;
// the Output and Design module's run on the worker thread, its cancellation and the export of the
// formatted report (the thickness search is driven where its form is pictured).

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "gui/PdfReportForm.h"

using namespace ardelon;
using namespace ardelon::gui;
using testing::activate;
using testing::control;
using testing::interstateProject;
using testing::typeAndLeave;

namespace {

template <typename Form>
Form& as(FormBase& form) {
    return static_cast<Form&>(form);
}

QPushButton* cancelButtonOf(QWidget& form) {
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        if (button->property(kCancelsForm).toBool())
            return button;
    }
    return nullptr;
}

// The texts of every label on `form`.
QStringList labelsOf(const QWidget& form) {
    QStringList texts;
    for (const QLabel* label : form.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

// '1' or '0' per widget: whether it is enabled.
QString enabledOf(std::initializer_list<const QWidget*> widgets) {
    QString flags;
    for (const QWidget* w : widgets)
        flags += w->isEnabled() ? u'1' : u'0';
    return flags;
}

// A form of everyForm() with the dialog it is bound to.
struct OpenForm {
    std::shared_ptr<void> keep;
    std::unique_ptr<FormBase> form;
    explicit OpenForm(const char* name) {
        for (const testing::FormCase& c : testing::everyForm()) {
            if (QLatin1String(c.name) == QLatin1String(name))
                form = c.make(keep);
        }
        if (!form)
            qFatal("no form %s", name);
        activate(*form);
    }
    template <typename Dialog>
    Dialog& dialog() {
        return *static_cast<Dialog*>(keep.get());
    }
};

using TransferControl = TransferFunctionsDialog::Control;
using Control = COutputDesignDlg::Control;

// A run of this many cycles ends in seconds even under the sanitizers.
constexpr int kSmallRunCycles = 50;
// Long enough that the run is still going when Cancel is clicked.
constexpr int kLongRunCycles = 2000000;
// Upper bound on a small run under the sanitizers on a loaded two-core machine.
constexpr int kRunTimeoutMs = 240000;

// A shown, active form over `project`.
struct OpenModule {
    COutputDesignDlg dialog;
    std::unique_ptr<OutputDesignForm> form;
    explicit OpenModule(const CStenorDoc& project = CStenorDoc())
        : dialog(project, layeredElasticResponses()) {
        registerOutputDesignNestedForms();
        dialog.fixedSeed = 7;
        form = std::make_unique<OutputDesignForm>(dialog);
        testing::activate(*form);
    }
};

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // A refused field (text typed, then the field left) or Accept (the whole form checked, one
    // refusal standing for each form; the dialogs' own are checked in full with them): the
    // dialog's message, the form stays open and the focus on the field at fault. A Cancel button
    // may still take the focus from a refused field without a word.
    void refusalsShowTheMessageAndKeepTheFocus() {
        using Transfer = TransferFunctionsForm;
        const struct {
            const char* form;
            NumberEdit* (*field)(FormBase&);  // the field at fault, if the form names one
            const char* text;                 // typed into the field
            bool accept;                      // set, then Accept instead of typing
            QString message;
        } cases[] = {
            {"structure", [](FormBase& f) { return as<StructureForm>(f).thicknessEdit(1); },
             "999.01", false,
             QStringLiteral(
                 "Height Out of Range: Please enter a height between 1.0 in. and 999.0 in.")},
            {"structure", [](FormBase& f) { return as<StructureForm>(f).durationEdit(Summer); },
             "26.5", false, QStringLiteral("Ardelon: Please enter an integer.")},
            {"load spectra", [](FormBase& f) { return as<LoadSpectraForm>(f).binEdit(3); }, "-5",
             false, QStringLiteral("Number Out of Range: Please do not enter negative values.")},
            {"vehicle types",
             [](FormBase& f) { return as<VehicleTypeForm>(f).valueEdit(shareIndex(5)); }, "150",
             false,
             QStringLiteral("Percentage Out of Range: Please enter a value between 0% and 100%.")},
            {"transfer functions", [](FormBase& f) { return as<Transfer>(f).coefficientEdit(0); },
             "K1", false, QStringLiteral("Ardelon: Please enter a number.")},
            {"structure", [](FormBase& f) { return as<StructureForm>(f).durationEdit(Summer); },
             "27", true,
             QStringLiteral("Invalid Seasonal Durations - Please Adjust: Seasonal durations do not "
                            "add to 52 weeks/year")},
            {"layer criteria",
             [](FormBase& f) -> NumberEdit* {
                 const double values[] = {-200, -150, -160, -120, -110};
                 for (int level = 0; level < kDistributionLevels; ++level) {
                     as<LayerCriteriaForm>(f).distributionEdit(level)->setText(
                         QString::number(values[level]));
                 }
                 return nullptr;
             },
             "", true,
             QStringLiteral(
                 "Invalid Cumulative Strain Distribution - Please Adjust: The cumulative "
                 "strain distribution must be uniformly decreasing or increasing.")},
            {"transfer functions", [](FormBase& f) { return as<Transfer>(f).coefficientEdit(0); },
             "K1", true, QStringLiteral("Ardelon: Please enter a number.")},
        };
        for (const auto& c : cases) {
            testing::MessageRecorder recorder;
            OpenForm open(c.form);
            NumberEdit* edit = c.field(*open.form);
            if (!c.accept) {
                typeAndLeave(edit, QLatin1String(c.text), open.form->defaultButton());
            } else {
                if (edit)
                    edit->setText(QLatin1String(c.text));
                open.form->defaultButton()->click();
                QVERIFY2(open.form->isVisible(), c.form);
            }
            QCOMPARE(testing::onlyMessage(recorder), c.message);
            if (edit)
                QCOMPARE(QApplication::focusWidget(), edit);
            if (QPushButton* cancel = cancelButtonOf(*open.form); cancel && !c.accept) {
                recorder.messages.clear();
                cancel->setFocus(Qt::MouseFocusReason);
                QVERIFY2(recorder.messages.isEmpty(), c.text);
            }
        }
    }

    // Each module edits a working copy: Cancel gives nothing back, its accept button all of it.
    void modulesCopyTheEditsBackOnlyWhenAccepted() {
        struct Case {
            const char* name;
            bool (*run)(QWidget*, CStenorDoc&);
            QPushButton* (*edit)(QDialog*);  // returns the button that accepts
            std::function<void(const CStenorDoc&)> verify;
            QString firstMessage = {};  // shown before the form opens
        };
        const Case cases[] = {
            {"structure", runStructureModule,
             [](QDialog* dialog) {
                 auto* form = static_cast<StructureForm*>(dialog);
                 form->thicknessEdit(1)->setText(QStringLiteral("8"));
                 return form->acceptButton();
             },
             [](const CStenorDoc& doc) { QCOMPARE(doc.thickness[0], 8.0); }},
            {"load spectra", runLoadSpectraModule,
             [](QDialog* dialog) {
                 auto* form = static_cast<LoadSpectraForm*>(dialog);
                 activate(*form);
                 typeAndLeave(form->binEdit(8), QStringLiteral("50"), form->binEdit(9));
                 typeAndLeave(form->binEdit(9), QStringLiteral("50"), form->binEdit(10));
                 return form->acceptButton();
             },
             [](const CStenorDoc& doc) {
                 QCOMPARE(doc.loadSpectra[Single][8], 50.0);
                 QCOMPARE(doc.loadCdf[Single][8], 0.5);  // derived on accept
             }},
            {"esal data", runEsalData,
             [](QDialog* dialog) {
                 auto* form = static_cast<EsalDataForm*>(dialog);
                 form->esalsEdit()->setText(QStringLiteral("2000000"));
                 return form->okButton();
             },
             [](const CStenorDoc& doc) {
                 QCOMPARE(doc.expectedEsals, 2000000.0);
                 QCOMPARE(doc.loadSpectra[Single][9], 1000000.0);
             }},
            {"transfer functions", runTransferFunctions,
             [](QDialog* dialog) {
                 auto* form = static_cast<TransferFunctionsForm*>(dialog);
                 form->coefficientEdit(1)->setText(QStringLiteral("3.5"));
                 form->coefficientEdit(2)->setText(QStringLiteral("6e15"));
                 return control<QPushButton>(*form, TransferControl::Ok);
             },
             [](const CStenorDoc& doc) {
                 QCOMPARE(doc.transferCoefficient,
                          (std::array<double, 4>{2.83e-06, 3.5, 6e15, 3.929}));
             },
             QStringLiteral("WARNING!: The transfer functions must be handled with care.\n"
                            "Since they operate on a log scale, seemingly small\n"
                            "changes in the coefficients can lead to large\n"
                            "differences in damage and reliability calculations.\n"
                            "Consult the Help file for further details.")},
            {"output and design", runOutputDesignModule,
             [](QDialog* dialog) {
                 auto* form = static_cast<OutputDesignForm*>(dialog);
                 form->thicknessEdit(1)->setText(QStringLiteral("9.5"));
                 return form->button(COutputDesignDlg::Control::LeaveModule);
             },
             [](const CStenorDoc& doc) { QCOMPARE(doc.thickness[0], 9.5); }},
        };
        for (const Case& c : cases) {
            for (bool accept : {false, true}) {
                testing::MessageRecorder recorder;
                CStenorDoc working;
                testing::whenDialogOpens([&](QDialog* form) {
                    QPushButton* acceptButton = c.edit(form);
                    if (accept)
                        acceptButton->click();
                });
                QVERIFY2(c.run(nullptr, working) == accept, c.name);
                if (accept)
                    c.verify(working);
                else
                    QVERIFY2(working == CStenorDoc(), c.name);
                QCOMPARE(testing::onlyMessage(recorder),
                         c.firstMessage.isEmpty() ? QStringLiteral("0 messages") : c.firstMessage);
            }
        }
    }

    void structureButtonsOpenTheLayersDialogs() {
        testing::MessageRecorder recorder;
        OpenForm open("structure");
        auto& structure = open.dialog<CStructureDlg>();
        QStringList seen;
        testing::whenDialogOpens([&](QDialog* dialog) {
            auto* form = static_cast<InputVariabilityForm*>(dialog);
            seen << form->windowTitle()
                 << control<QLabel>(*form, CInputVariabilityDlg::Control::MaterialLabel)->text();
            form->modulusCovEdit()->setText(QStringLiteral("45"));
            form->accept();
        });
        control<QPushButton>(*open.form, CStructureDlg::variabilityButton(1))->click();
        QCOMPARE(structure.modulusCov[0], 45.0);
        testing::whenDialogOpens([&](QDialog* dialog) {
            seen << dialog->windowTitle();
            auto* criteria = static_cast<LayerCriteriaForm*>(dialog);
            criteria->activeCheck(Top)->click();
            criteria->thresholdEdit(Top)->setText(QStringLiteral("-70"));
            criteria->acceptButton()->click();
        });
        control<QPushButton>(*open.form, CStructureDlg::criteriaButton(1))->click();
        QCOMPARE(seen, (QStringList{"Input Variability", "Layer 1: AC",
                                    "Layer Performance Criteria (Press F1 for Help)"}));
        QCOMPARE(structure.criteria[slotIndex(1, Top)].active, 1);
        QCOMPARE(structure.criteria[slotIndex(1, Top)].threshold, -70.0);
        QVERIFY(recorder.messages.isEmpty());
    }

    void structureUnitsThicknessAndMaterial() {
        testing::MessageRecorder recorder;
        CStenorDoc project;
        project.unitSystem = Metric;
        CStructureDlg metric;
        metric.loadFrom(project);
        StructureForm metricForm(metric);
        const QStringList texts = labelsOf(metricForm);
        // Lengths and moduli follow the unit system; mean air temperatures stay in degrees F.
        for (const char* label : {"(cm)", "(MPa)", "Mean Air Temperature, F"})
            QVERIFY2(texts.contains(QLatin1String(label)), label);
        QVERIFY(!texts.contains(QStringLiteral("Mean Air Temperature, C")));

        // A thicker asphalt layer is cooler and stiffer; the thickness shows two decimals.
        OpenForm open("structure");
        auto* form = static_cast<StructureForm*>(open.form.get());
        QCOMPARE(form->modulusEdit(1)->text(), QStringLiteral("522958"));
        typeAndLeave(form->thicknessEdit(1), QStringLiteral("12.345"), form->modulusEdit(2));
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(form->thicknessEdit(1)->text(), QStringLiteral("12.35"));
        QVERIFY(form->modulusEdit(1)->number().value() > 522958);

        // A list choice goes through the dialog's rule as well.
        form->materialList(2)->setCurrentIndex(2);  // PCC
        Q_EMIT form->materialList(2)->activated(2);
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Improper Material Selection - Please Adjust: PCC is not "
                                "acceptable as 2nd layer in a two layer pavement."));

        // A hint that depends on the form's state follows it: the modulus range of the material.
        using Control = CStructureDlg::Control;
        auto* modulus = control<NumberEdit>(*open.form, Control::Modulus2);
        auto* material = control<QComboBox>(*open.form, Control::Material2);
        const QString before = modulus->toolTip();
        const int rock = materialIndexOf(2, MaterialType::Rock);
        material->setCurrentIndex(rock);
        Q_EMIT material->activated(rock);
        QCOMPARE(modulus->toolTip(),
                 QString::fromStdString(open.dialog<CStructureDlg>().hint(Control::Modulus2).text));
        QVERIFY2(modulus->toolTip() != before, qPrintable(before));
    }

    void loadSpectraBinsTotalChartAndVehicleTypes() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        activate(form);
        // Bins 0 to 11 in the first column, 48 to 55 in the fifth, top to bottom.
        QCOMPARE(form.binEdit(11)->x(), form.binEdit(0)->x());
        QVERIFY(form.binEdit(12)->x() > form.binEdit(11)->x());
        QVERIFY(form.binEdit(12)->y() < form.binEdit(11)->y());
        QVERIFY(form.binEdit(55)->y() > form.binEdit(48)->y());
        QCOMPARE(form.aadtEdit()->text(), QStringLiteral("1000"));

        typeAndLeave(form.binEdit(8), QStringLiteral("60"), form.binEdit(9));
        typeAndLeave(form.binEdit(9), QStringLiteral("40.4"), form.percentTrucksEdit());
        QCOMPARE(form.totalField()->text(), QStringLiteral("100"));  // rounded half up
        QCOMPARE(dialog.loadSpectra[Single][9], 40.4);
        // The chart beside the bins follows them.
        auto* bars = qobject_cast<QBarSeries*>(form.spectraChart()->chart()->series().front());
        QVERIFY(bars);
        QCOMPARE(bars->barSets().front()->label(), QStringLiteral("Single"));
        QCOMPARE(bars->barSets().front()->at(8), 60.0);
        QDir().mkpath(QStringLiteral(ARDELON_SCREENSHOT_DIR));
        QVERIFY(form.grab().save(QStringLiteral(ARDELON_SCREENSHOT_DIR "/load-spectra-chart.png")));

        testing::whenDialogOpens([](QDialog* opened) {
            auto* vehicles = static_cast<VehicleTypeForm*>(opened);
            QCOMPARE(vehicles->totalField()->text(), QStringLiteral("100"));
            vehicles->acceptButton()->click();
        });
        control<QPushButton>(form, CLoadingConditionsDlg::Control::InputByVehicleType)->click();
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(dialog.configurationPercent[Tandem] > 0);
        QVERIFY(form.configurationCheck(Tandem)->isChecked());
    }

    void criteriaPositionShowsItsControlsAsItIsUsed() {
        testing::MessageRecorder recorder;
        LayerCriteriaDialog dialog(1, false, CriterionSlots{}, 0);
        LayerCriteriaForm form(dialog);
        activate(form);
        using C = LayerCriteriaDialog::Control;
        QVERIFY(!control<QWidget>(form, C::TypeTop)->isVisible());

        form.activeCheck(Top)->click();
        QCOMPARE(dialog.slot(Top).active, 1);
        QVERIFY(control<QWidget>(form, C::TypeTop)->isVisible());
        QVERIFY(control<QWidget>(form, C::TargetPercentileTop)->isVisible());

        form.typeList(Top)->setCurrentIndex(HorizontalStrain);
        Q_EMIT form.typeList(Top)->activated(HorizontalStrain);
        QCOMPARE(dialog.slot(Top).responseType, int(HorizontalStrain));
        QCOMPARE(control<QLabel>(form, C::UnitTop)->text(), QStringLiteral("microstrain"));

        control<QCheckBox>(form, C::TransferTop)->click();
        QVERIFY(control<QWidget>(form, C::K1Top)->isVisible());
        QVERIFY(!control<QWidget>(form, C::TargetPercentileTop)->isVisible());
    }

    void transferFunctionsResetOneGroup() {
        TransferFunctionsDialog dialog(1, 2, 3, 4);
        TransferFunctionsForm form(dialog);
        control<QPushButton>(form, TransferControl::ResetRutting)->click();
        QCOMPARE(form.coefficientEdit(0)->text(), QStringLiteral("1"));
        QCOMPARE(form.coefficientEdit(2)->number(), std::optional<double>(5.5e15));
        QCOMPARE(form.coefficientEdit(3)->text(), QStringLiteral("3.929"));
        control<QPushButton>(form, TransferControl::ResetFatigue)->click();
        QCOMPARE(form.coefficientEdit(0)->number(), std::optional<double>(2.83e-06));
        QCOMPARE(form.coefficientEdit(1)->text(), QStringLiteral("3.20596"));
    }

    // A number edit on its own: a refusal names the range, carries the exclamation icon and
    // commits nothing; a number commits once and moves on; shown numbers read back exactly.
    void numberEditRefusesOrCommits() {
        testing::MessageRecorder recorder;
        QWidget window;
        auto* first = new NumberEdit(NumberEdit::Kind::Number, &window);
        auto* second = new NumberEdit(NumberEdit::Kind::Number, &window);
        activate(window);
        first->setRange(0, 100);
        QSignalSpy committed(first, &NumberEdit::committed);
        first->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(first, QStringLiteral("120"));
        second->setFocus(Qt::TabFocusReason);
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Please enter a number between 0 and 100."));
        QCOMPARE(recorder.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(committed.count(), 0);
        QVERIFY(!first->number());

        first->setText(QStringLiteral("6.25"));
        second->setFocus(Qt::TabFocusReason);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(first->number(), std::optional<double>(6.25));

        second->setNumber(13200.000000000002);
        QCOMPARE(second->number(), std::optional<double>(13200.000000000002));
        second->setInteger(-4);
        QCOMPARE(second->text(), QStringLiteral("-4"));
    }

    // The dialogs' chooser filters in Windows style become Qt filters; Qt filters stay.
    void fileFiltersBecomeQtFilters() {
        const std::pair<const char*, const char*> filters[] = {
            {"Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||",
             "Excel Files (*.xlsx);;All Files (*.*)"},
            // The raw-data chooser names "(*.xls)" but lists the "*.ad" files it writes.
            {"Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||",
             "Ardelon Raw Data (*.ad);;All Files (*.*)"},
            {"Ardelon Files (*.ard)", "Ardelon Files (*.ard)"},
            {"Load Spectra Files (*.lsf);;All Files (*.*)",
             "Load Spectra Files (*.lsf);;All Files (*.*)"},
        };
        for (const auto& [windows, qt] : filters)
            QCOMPARE(qtFileFilter(QLatin1String(windows)), QLatin1String(qt));
    }

    void opensWithItsControlsAndChecksTheThicknesses() {
        CStenorDoc project;
        project.layerCountIndex = 2;  // four layers: three thickness edits
        OpenModule open(project);
        QCOMPARE(open.form->windowTitle(), QStringLiteral("Output & Design Module (F1 for Help)"));
        QStringList titles;
        for (QGroupBox* box : open.form->findChildren<QGroupBox*>())
            titles << box->title();
        QCOMPARE(titles, (QStringList{"Thickness Design", "Reliability Analysis",
                                      "Perpetual Pavement Design Results: Conventional Design with "
                                      "Transfer Functions",
                                      "Perpetual Pavement Design Results: Percentile Responses"}));
        const std::pair<Control, const char*> buttons[] = {
            {Control::SetMonteCarloCycles, "Set Monte Carlo Cycles"},
            {Control::PerformAnalysis, "Perform Analysis"},
            {Control::Disclaimer, "Disclaimer"},
            {Control::CostAnalysis, "Cost Analysis"},
            {Control::LeaveModule, "Leave Module"},
            {Control::ExportExcel, "Export Formatted Data to EXCEL"},
        };
        for (const auto& [control, text] : buttons)
            QCOMPARE(open.form->button(control)->text(), QLatin1String(text));
        QCOMPARE(enabledOf({open.form->button(Control::ExportExcel), open.form->cancelRunButton(),
                            open.form->thicknessEdit(3), open.form->thicknessEdit(4)}),
                 QStringLiteral("0010"));
        // A thickness out of range is refused with the dialog's message and keeps the focus, even
        // from the thickness edit it was leaving for.
        testing::MessageRecorder recorder;
        testing::typeAndLeave(open.form->thicknessEdit(2), QStringLiteral("0.99"),
                              open.form->thicknessEdit(3));
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral(
                     "Height Out of Range: Please enter a height between 1.0 in. and 999.0 in."));
        QCOMPARE(QApplication::focusWidget(), open.form->thicknessEdit(2));
        // No columns before the first run of the module.
        QCOMPARE(open.form->transferFunctionList()->columnCount() +
                     open.form->percentileList()->columnCount(),
                 0);
        const QStringList labels = labelsOf(*open.form);
        for (const char* label : {"Infinite", "in.", "Number of Pavement Layers:"})
            QVERIFY2(labels.contains(QLatin1String(label)), label);
        QCOMPARE(open.form->findThicknessesButton()->text(), QStringLiteral("Find Thicknesses..."));
        QVERIFY(open.form->findThicknessesButton()->isEnabled());
    }

    // Set Monte Carlo Cycles keeps what its dialog accepts; Cost Analysis, in English units, keeps
    // the costs when cancelled.
    void nestedDialogsOpenFromTheirButtons() {
        CStenorDoc project;
        project.layerCountIndex = 0;  // two layers: only layer 1 is priced
        OpenModule open(project);
        QString caption;
        testing::whenDialogOpens([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            auto* form = qobject_cast<MonteCarloCyclesForm*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->cyclesEdit()->text(), QStringLiteral("5000"));
            form->cyclesEdit()->setText(QStringLiteral("250"));
            form->accept();
        });
        open.form->button(Control::SetMonteCarloCycles)->click();
        QCOMPARE(caption, QStringLiteral("Monte Carlo Cycles"));
        QCOMPARE(open.dialog.cycles, 250);

        const auto costsBefore = open.dialog.work.layerCost;
        testing::whenDialogOpens([&](QDialog* dialog) {
            auto* form = qobject_cast<CostAnalysisForm*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("Cost Analysis"));
            const QStringList labels = labelsOf(*form);
            for (const char* unit : {"ft", "pcf", "English Ton", "Lane-mile"})
                QVERIFY2(labels.contains(QString::fromLatin1(unit)), unit);
            QCOMPARE(enabledOf({form->densityEdit(1), form->densityEdit(2)}), QStringLiteral("10"));
            QCOMPARE(form->costPerTonEdit(2)->text(), QStringLiteral("0"));
            form->reject();
        });
        open.form->button(Control::CostAnalysis)->click();
        QCOMPARE(open.dialog.work.layerCost, costsBefore);
    }

    void runFillsBothListsCancelKeepsThemAndExportOpensTheWorkbook() {
        testing::MessageRecorder recorder;
        QTemporaryDir dir;
        CStenorDoc project = interstateProject();
        project.output.doNotWarn = 0;
        OpenModule open(project);
        open.dialog.cycles = kSmallRunCycles;

        // "Please Note..." first: tick the box and go on.
        bool confirmed = false;
        testing::whenDialogOpens([&](QDialog* dialog) {
            auto* note = qobject_cast<PleaseNoteForm*>(dialog);
            QVERIFY(note);
            QCOMPARE(note->windowTitle(), QStringLiteral("Please Note..."));
            note->doNotWarnBox()->setChecked(true);
            note->accept();
            confirmed = true;
        });
        recorder.files.push_back(dir.filePath(QStringLiteral("raw.xls")));
        open.form->button(Control::PerformAnalysis)->click();
        QVERIFY(confirmed);
        QVERIFY(open.form->running());
        // While the cycles run, only Cancel answers.
        const auto runControls = [&] {
            return enabledOf({open.form->cancelRunButton(),
                              open.form->button(Control::PerformAnalysis),
                              open.form->button(Control::LeaveModule), open.form->thicknessEdit(1),
                              open.form->button(Control::ExportExcel)});
        };
        QCOMPARE(runControls(), QStringLiteral("10000"));
        QTRY_VERIFY_WITH_TIMEOUT(!open.form->running(), kRunTimeoutMs);
        QVERIFY2(recorder.messages.isEmpty(), qPrintable(recorder.messages.value(0).text));
        QCOMPARE(open.form->progressBar()->maximum(), kSmallRunCycles);
        QCOMPARE(open.form->progressBar()->value(), kSmallRunCycles);
        QCOMPARE(open.dialog.work.output.doNotWarn, 1);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("raw.xls"))));

        QTreeWidget* first = open.form->transferFunctionList();
        QTreeWidget* second = open.form->percentileList();
        QVERIFY(first->topLevelItemCount() + second->topLevelItemCount() > 0);
        // The lists show the dialog's columns and rows, each column at least as wide as the dialog
        // sets it; every cell shows its whole text, and tells it in a tooltip as well.
        const std::pair<QTreeWidget*, const ReportListView*> lists[] = {
            {first, &open.dialog.transferFunctionList}, {second, &open.dialog.percentileList}};
        for (const auto& [list, view] : lists) {
            QCOMPARE(list->columnCount(), static_cast<int>(view->columns.size()));
            QCOMPARE(list->topLevelItemCount(), static_cast<int>(view->rows.size()));
            for (int c = 0; c < list->columnCount(); ++c) {
                const ListColumn& column = view->columns[static_cast<std::size_t>(c)];
                QCOMPARE(list->headerItem()->text(c), QString::fromStdString(column.heading));
                QVERIFY(list->columnWidth(c) >= column.widthPixels);  // wider for a long text
                for (int r = 0; r < list->topLevelItemCount(); ++r) {
                    const QTreeWidgetItem* item = list->topLevelItem(r);
                    QCOMPARE(
                        item->text(c),
                        QString::fromStdString(
                            view->rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
                    QVERIFY(list->fontMetrics().horizontalAdvance(item->text(c)) <
                            list->columnWidth(c));
                    QCOMPARE(item->toolTip(c), item->text(c));
                }
            }
        }
        QCOMPARE(runControls(), QStringLiteral("01111"));

        // A long run cancelled: the results and working copy of the first run stay.
        const auto rowsBefore = open.dialog.percentileList.rows;
        const auto thicknessBefore = open.dialog.work.thickness;
        open.dialog.cycles = kLongRunCycles;
        recorder.files.push_back(dir.filePath(QStringLiteral("raw-long.xls")));
        open.form->button(Control::PerformAnalysis)->click();
        QVERIFY(open.form->running());
        QVERIFY(!second->isEnabled());  // the previous results greyed meanwhile
        QVERIFY(open.form->runStatusLabel()->text().contains(QStringLiteral(" cycles done, ")));
        open.form->cancelRunButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!open.form->running(), kRunTimeoutMs);
        QVERIFY(second->isEnabled());
        QCOMPARE(open.form->runStatusLabel()->text(),
                 QStringLiteral("Run cancelled. The previous results were kept."));
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(open.dialog.percentileList.rows == rowsBefore &&
                open.dialog.work.thickness == thicknessBefore);
        QCOMPARE(second->topLevelItemCount(), static_cast<int>(rowsBefore.size()));
        QCOMPARE(open.form->progressBar()->value(), 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("raw-long.xls"))));
        QCOMPARE(runControls(), QStringLiteral("01111"));

        // Export: the workbook is written, then handed to the desktop.
        QList<QUrl> opened;
        const auto recordOpened = [&](const QUrl& url) {
            opened << url;
            return true;
        };
        setOpenDocumentHandler(recordOpened);
        const QString workbook = dir.filePath(QStringLiteral("report.xlsx"));
        recorder.files.push_back(workbook);
        open.form->button(Control::ExportExcel)->click();
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(QFile::exists(workbook));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(workbook)});

        // A workbook that cannot be written is reported and nothing is opened.
        recorder.files.push_back(dir.filePath(QStringLiteral("missing/report.xlsx")));
        open.form->button(Control::ExportExcel)->click();
        QCOMPARE(recorder.messages.size(), 1);  // its text is checked with the dialog
        QCOMPARE(opened.size(), 1);

        // A desktop without a program for workbooks: the user learns where the file is.
        setOpenDocumentHandler([](const QUrl&) { return false; });
        recorder.files.push_back(workbook);
        open.form->button(Control::ExportExcel)->click();
        QCOMPARE(recorder.messages.size(), 2);
        QCOMPARE(recorder.messages[1].text,
                 QStringLiteral("The workbook %1 was written, but no program is registered to "
                                "open it.")
                     .arg(workbook));

        // The PDF report: the form's texts go into the working copy and the settings, then the
        // report is written and handed to the desktop.
        opened.clear();
        setOpenDocumentHandler(recordOpened);
        PdfReportForm::setSettingsFile(dir.filePath(QStringLiteral("settings.ini")));
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        recorder.files.push_back(pdf);
        QVERIFY(open.form->exportPdfButton()->isEnabled());
        QTimer::singleShot(0, [] {
            auto* form = qobject_cast<PdfReportForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("PDF Report"));
            form->titleEdit()->setText(QStringLiteral("I-99 Section 4"));
            form->engineerEdit()->setText(QStringLiteral(" Pavement Design Unit "));
            form->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        open.form->exportPdfButton()->click();
        QCOMPARE(recorder.messages.size(), 2);
        QVERIFY(QFileInfo(pdf).size() > 10000);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(pdf)});
        QVERIFY(open.dialog.work.reportDetails ==
                (ReportDetails{"I-99 Section 4", "", "", "Pavement Design Unit"}));
        QCOMPARE(PdfReportForm::remembered().engineer, std::string("Pavement Design Unit"));
        PdfReportForm::setSettingsFile({});
        setOpenDocumentHandler({});

        // Entering a thickness edit disables the export again.
        activate(*open.form);
        open.form->button(Control::LeaveModule)->setFocus(Qt::TabFocusReason);
        QVERIFY(open.form->button(Control::ExportExcel)->isEnabled());
        open.form->thicknessEdit(1)->setFocus(Qt::MouseFocusReason);
        QVERIFY(!open.form->button(Control::ExportExcel)->isEnabled());

        // Another thickness: the results are stale, greyed and said to be, and neither exported
        // nor charted; the analysed thickness typed back makes them current again.
        const QString analysed = open.form->thicknessEdit(1)->text();
        QPushButton* leave = open.form->button(Control::LeaveModule);
        typeAndLeave(open.form->thicknessEdit(1), QStringLiteral("4.5"), leave);
        const auto exported = [&] {
            return enabledOf(
                {open.form->button(Control::ExportExcel), open.form->chartsButton(), second});
        };
        QCOMPARE(exported(), QStringLiteral("000"));
        QVERIFY(open.form->runStatusLabel()->text().startsWith(
            QStringLiteral("Results not of the design shown (they are of layer thicknesses ")));
        typeAndLeave(open.form->thicknessEdit(1), analysed, leave);
        QCOMPARE(exported(), QStringLiteral("111"));
    }
};

QTEST_MAIN(FormsTest)
#include "FormsTest.moc"
