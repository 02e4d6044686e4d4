// Pictures of the main window, of every dialog and of the charts of a run, saved as PNG files in
// the build folder's "screenshots" directory for review; every picture shows more than its
// background.

#include <QApplication>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QDir>
#include <QHeaderView>
#include <QLegendMarker>
#include <QPainter>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QValueAxis>
#include <QtTest>
#include <cmath>
#include <tuple>

#include "EveryForm.h"
#include "GuiTestSupport.h"
#include "gui/ChartsView.h"
#include "gui/InfoDialogs.h"
#include "gui/MainWindow.h"
#include "gui/ThicknessSearchForm.h"
#include "gui/TrialsView.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "support/DepthResponseModel.h"
#include "trials/TrialFile.h"

using namespace ardelon;
using namespace ardelon::gui;

class ScreenshotTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    static void save(QWidget& widget, const QString& name) {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QDir().mkpath(QStringLiteral(ARDELON_SCREENSHOT_DIR));
        const QImage image = widget.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY2(testing::colourCount(image) > 8, qPrintable(name));
        const QString path = QStringLiteral(ARDELON_SCREENSHOT_DIR "/%1.png").arg(name);
        QVERIFY(image.save(path));
    }

    struct InterstateRun {
        RunFigures figures;
        std::vector<CriterionSensitivity> sensitivity;
    };
    static InterstateRun interstateRun(int unitSystem) {
        CStenorDoc work = testing::interstateProject();
        work.unitSystem = unitSystem;
        const AnalysisRunOptions options{.cycles = 200, .seed = 1, .keepCycleRecords = true};
        const AnalysisRunOutcome outcome = runAnalysis(work, layeredElasticResponses(), options);
        if (outcome.status != AnalysisStatus::Completed)
            qFatal("analysis did not complete");
        return {runFigures(work, outcome.results, layeredElasticResponses()),
                withPlainNames(work, runSensitivity(work, outcome.results))};
    }

  private Q_SLOTS:
    // The main window with the default project, then with five layers.
    void mainWindow() {
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        save(window, QStringLiteral("main-window"));
        CStenorDoc& project = window.session().project();
        project.layerCountIndex = 3;
        project.materialIndex = {0, 0, 2, 6, 1};  // AC, AC, PCC, Gran Base, Soil
        project.thickness = {4, 6, 9, 12};
        project.layerModulus = {450000, 400000, 4000000, 30000, 12000};
        project.configurationEnabled = {1, 1, 0, 1};
        window.repaintViews();
        save(window, QStringLiteral("main-window-five-layers"));
    }

    // The forms whose every-form data makes a good picture, under their names with dashes.
    void formsAsTheyOpen() {
        const QStringList names = {"transfer functions", "load spectra",    "vehicle types",
                                   "esal data",          "endurance limit", "monte carlo cycles",
                                   "please note"};
        for (const testing::FormCase& c : testing::everyForm()) {
            if (!names.contains(QLatin1String(c.name)))
                continue;
            std::shared_ptr<void> keep;
            std::unique_ptr<FormBase> form = c.make(keep);
            save(*form, QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
        }
        AboutDialog about;
        save(about, QStringLiteral("about"));
        DisclaimerDialog disclaimer;
        save(disclaimer, QStringLiteral("disclaimer"));
    }

    // The forms over data of their own: a four-layer structure, a variable layer, a layer with
    // both criteria, four priced layers.
    void formsWithTheirOwnData() {
        CStructureDlg structure;
        CStenorDoc project;
        project.layerCountIndex = 2;
        project.materialIndex = {0, 6, 7, 7, 1};
        project.thickness = {6, 8, 12, 999};
        structure.loadFrom(project);
        StructureForm structureForm(structure);
        save(structureForm, QStringLiteral("structure"));

        CInputVariabilityDlg variability;
        variability.modulusCov = 30;
        variability.thicknessCov = 5;
        InputVariabilityForm variabilityForm(variability);
        save(variabilityForm, QStringLiteral("input-variability"));

        CriterionSlots slots{};
        slots[slotIndex(1, Top)] = {1, HorizontalStrain, -70, 2.83e-06, 3.2, 1, 0, {}, 50};
        slots[slotIndex(1, Bottom)] = {1, HorizontalStrainDistribution,   0, 0, 0, 0,
                                       0, {-257, -194, -158, -131, -110}, 50};
        LayerCriteriaDialog criteria(1, false, slots, 0);
        LayerCriteriaForm criteriaForm(criteria);
        save(criteriaForm, QStringLiteral("layer-criteria"));

        CCostAnalysisDlg cost;
        cost.thickness = {4, 6, 8, 0};
        cost.layerCountIndex = 2;
        cost.density = {145, 145, 140, 0};
        cost.costPerTon = {45, 40, 35, 0};
        CostAnalysisForm costForm(cost);
        save(costForm, QStringLiteral("cost-analysis"));
    }

    // A field's hint as it appears when the pointer rests on the field: the tooltip window
    // drawn over the form where it opened.
    void structureFieldHint() {
        CStructureDlg dialog;
        dialog.loadFrom(CStenorDoc{});
        StructureForm form(dialog);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        NumberEdit* field = form.thicknessEdit(1);
        QToolTip::showText(field->mapToGlobal(field->rect().center()), field->toolTip(), field);
        QWidget* tip = nullptr;
        QTRY_VERIFY([&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->inherits("QTipLabel") && window->isVisible())
                    tip = window;
            }
            return tip != nullptr;
        }());
        QImage image = form.grab().toImage();
        QPainter painter(&image);
        painter.drawImage(tip->mapToGlobal(QPoint()) - form.mapToGlobal(QPoint()),
                          tip->grab().toImage());
        painter.end();
        QToolTip::hideText();
        QDir().mkpath(QStringLiteral(ARDELON_SCREENSHOT_DIR));
        QVERIFY(image.save(QStringLiteral(ARDELON_SCREENSHOT_DIR "/structure-field-hint.png")));
    }

    // The module after a small run of the example interstate design, so that both lists show.
    void outputDesignFormAfterARun() {
        testing::MessageRecorder recorder;
        CStenorDoc project = testing::interstateProject();
        project.output.doNotWarn = 1;
        COutputDesignDlg dialog(project, layeredElasticResponses());
        dialog.fixedSeed = 1;
        OutputDesignForm form(dialog);
        form.show();
        dialog.cycles = 50;
        recorder.files.push_back(directory.filePath(QStringLiteral("raw.xls")));
        form.button(COutputDesignDlg::Control::PerformAnalysis)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!form.running(), 240000);
        QVERIFY(form.percentileList()->topLevelItemCount() > 0);
        save(form, QStringLiteral("output-design"));
    }

    // The Trials view with two trials of the interstate example compared (the view locked while
    // it runs, then its note and difference rows): every trial's column and every row label
    // whole, then the overlaid distributions.
    void trialsViewAfterACompare() {
        testing::MessageRecorder recorder;
        CStenorDoc project = testing::interstateProject();
        project.output.doNotWarn = 1;
        std::vector<Trial> trials;
        for (const auto& [name, inches] : {std::pair{"8/6 in.", 8.0}, std::pair{"Thin top", 5.0}}) {
            CStenorDoc design = project;
            design.thickness[0] = inches;
            AnalysisRunOptions options{.cycles = 100, .seed = 2, .threads = 1};
            const ProjectRun run = runProjectAnalysis(design, layeredElasticResponses(), options);
            trials.push_back(makeTrial(name, run.work, run, 2, 1796448000));
        }
        setProjectTrials(project, trials);
        COutputDesignDlg dialog(project, layeredElasticResponses());
        dialog.fixedSeed = 2;
        dialog.cycles = 100;
        CTrialsDlg rules(dialog);
        TrialsView view(rules);
        view.show();
        view.table()->selectAll();
        QSignalSpy ended(&view, &TrialsView::compareEnded);
        view.button(CTrialsDlg::Control::Compare)->click();
        QVERIFY(view.comparing() && !view.button(CTrialsDlg::Control::Close)->isEnabled());
        QVERIFY(ended.wait(240000));
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(view.noteLabel()->text().startsWith(
            QStringLiteral("Compared from the same draws: seed 2, 100 cycles")));
        // The difference rows (checked in full with the dialog) reach the table.
        QVERIFY(!view.table()->findItems(QStringLiteral("reference"), Qt::MatchExactly).isEmpty());
        view.table()->clearSelection();  // the verdicts' colours, not the selection's
        save(view, QStringLiteral("trials"));
        QTableWidget* table = view.table();
        for (int c = 0; c < table->columnCount(); ++c)
            QVERIFY(table->columnWidth(c) >= table->horizontalHeader()->sectionSizeHint(c));
        view.tabs()->setCurrentIndex(1);
        QCOMPARE(view.overlayCharts().size(), 4);  // the four percentile rows' criteria
        QCOMPARE(view.overlayCharts().front()->chart()->series().front()->name(),
                 QStringLiteral("8/6 in."));
        save(view, QStringLiteral("trials-distributions"));
    }

    // Find Thicknesses: a search on the worker thread (its inputs locked meanwhile) fills the
    // table, every column whole and the summary in full below it, and "Use This Design" hands
    // the winner back to the module.
    void thicknessSearchAfterASearch() {
        CThicknessSearchDlg dialog(testing::interstateProject(), testing::depthModel());
        ThicknessSearchForm form(dialog);
        form.show();
        QVERIFY(!form.useDesignButton()->isEnabled());
        auto* cycles = testing::control<NumberEdit>(form, CThicknessSearchDlg::Control::Cycles);
        cycles->setText(QStringLiteral("200"));
        QSignalSpy ended(&form, &ThicknessSearchForm::searchEnded);
        form.searchButton()->click();
        QVERIFY(form.running() && !cycles->isEnabled());
        QVERIFY(ended.wait(120000));
        QVERIFY(cycles->isEnabled());
        QVERIFY(dialog.result.has_value());
        QCOMPARE(dialog.result->status, ThicknessSearchStatus::Found);
        save(form, QStringLiteral("thickness-search"));  // laid out as shown
        QTableWidget* table = form.candidateTable();
        QCOMPARE(table->rowCount(), static_cast<int>(dialog.result->evaluated.size()));
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Layer 1 (in.)"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("Pass"));
        for (int c = 0; c < table->columnCount(); ++c)
            QVERIFY(table->columnWidth(c) >= table->horizontalHeader()->sectionSizeHint(c));
        QLabel* summary = form.summaryLabel();
        QVERIFY(summary->text().startsWith(QStringLiteral("Cheapest passing design")));
        QVERIFY(summary->geometry().top() >= table->geometry().bottom());
        QVERIFY(summary->height() >= summary->heightForWidth(summary->width()));
        form.useDesignButton()->click();
        QCOMPARE(form.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(dialog.chosenThickness->at(0), dialog.result->best->candidate.thickness[0]);
    }

    void everyChartOfARunIsDrawnAndSaved() {
        for (int unitSystem : {English, Metric}) {
            InterstateRun run = interstateRun(unitSystem);
            ChartsView view(std::move(run.figures), unitSystem, run.sensitivity);
            // Response distributions (4 rows), damage (1), four seasons, governing loads (3 rows
            // and the endurance limit's 5 levels, + 1 damage), what drives each of the 4 locations.
            QCOMPARE(view.charts().size(), 4 + 1 + 4 + (3 + 5 + 1) + 4);
            QCOMPARE(view.tabs()->tabText(4), QStringLiteral("Sensitivity"));
            for (int tab = 0; tab < view.tabs()->count(); ++tab) {
                view.tabs()->setCurrentIndex(tab);
                QTest::qWait(20);
                save(view, QStringLiteral("charts-%1-tab%2")
                               .arg(unitSystem == Metric ? "metric" : "english")
                               .arg(tab + 1));
            }
            const QStringList written = view.saveAll(directory.path());
            QCOMPARE(written.size(), view.charts().size());
            for (const QString& path : written) {
                const QImage picture(path);
                QVERIFY2(picture.width() >= 1600 && testing::colourCount(picture) > 8,
                         qPrintable(path));
            }
            QVERIFY(written.contains(directory.filePath(QStringLiteral(
                "what-governs-01-layer-1-top-vertical-deflection-share-of-exceedances.png"))));
            const auto* depth =
                qobject_cast<QValueAxis*>(view.charts()[5]->chart()->axes(Qt::Vertical).front());
            QCOMPARE(depth->titleText(), unitSystem == Metric ? QStringLiteral("Depth, cm")
                                                              : QStringLiteral("Depth, in."));
            QVERIFY(depth->isReverse());
            // Each strain criterion's limits as its own marks with their values beside them. The
            // distribution at the bottom of the asphalt and the fatigue threshold at the top of
            // the base share a depth: the threshold's value hangs below its mark, clear of the
            // distribution's outer two values above theirs.
            QStringList limits;
            QList<QScatterSeries*> labels;
            for (QAbstractSeries* series : view.charts()[5]->chart()->series()) {
                auto* marks = qobject_cast<QScatterSeries*>(series);
                if (marks && marks->pointLabelsVisible())
                    labels << marks;
                else if (marks)
                    limits << marks->name();
            }
            QCOMPARE(labels.size(), 3);
            QCOMPARE(std::tuple(labels[0]->count(), labels[1]->count()), std::tuple(2, 1));
            const double asphaltBottom = unitSystem == Metric ? 14.0 * 2.54 : 14.0;
            QVERIFY(std::abs(labels[0]->at(0).y() - asphaltBottom) < 1e-9);
            QVERIFY(labels[1]->at(0).y() > asphaltBottom + 3.0);
            QCOMPARE(limits,
                     (QStringList{"Layer 2 Bottom, Tensile Strain limits: -121.1, -91.7, -74.2, "
                                  "-61.6, -51.8 (95th to 55th)",
                                  "Layer 3 Top, Horizontal Strain limit: -70",
                                  "Layer 4 Top, Vertical Strain limit: 200"}));
            // The seasons on one strain range; the governing loads on a weight axis in the
            // project's unit, the configurations without a share left out of the legend.
            const auto strainRange = [&](int chart) {
                const auto* axis = qobject_cast<QValueAxis*>(
                    view.charts()[chart]->chart()->axes(Qt::Horizontal).front());
                return std::pair(axis->min(), axis->max());
            };
            for (int season = 6; season < 9; ++season)
                QCOMPARE(strainRange(season), strainRange(5));
            // A level with one governing bin still shows the bins around it.
            for (QAbstractAxis* axis : view.charts()[10]->chart()->axes(Qt::Horizontal)) {
                const auto* weight = qobject_cast<QValueAxis*>(axis);
                if (weight && weight->isVisible())
                    QVERIFY(weight->max() - weight->min() >= (unitSystem == Metric ? 44.0 : 9.9));
            }
            QChart* governs = view.charts()[9]->chart();
            QVERIFY(view.charts()[10]->chart()->title().contains(
                QStringLiteral("th-percentile limit")));
            QStringList visibleAxes;
            for (QAbstractAxis* axis : governs->axes(Qt::Horizontal)) {
                if (axis->isVisible())
                    visibleAxes << axis->titleText();
            }
            QCOMPARE(visibleAxes,
                     QStringList{unitSystem == Metric ? "Axle weight, kN" : "Axle weight, kips"});
            for (QLegendMarker* marker : governs->legend()->markers())
                QVERIFY(marker->label() != QStringLiteral("Steer"));
            auto* inputs = qobject_cast<QBarCategoryAxis*>(
                view.charts().back()->chart()->axes(Qt::Vertical).front());
            QVERIFY(inputs->categories().contains(QStringLiteral("Wheel load")));
        }
    }

    // "Save All as PNG..." asks before it replaces pictures, and replaces them only when told.
    void saveAllAsksBeforeReplacing() {
        InterstateRun run = interstateRun(English);
        ChartsView view(std::move(run.figures), English);
        QTemporaryDir folder;
        const QString first = folder.filePath(view.chartFileNames().front());
        testing::MessageRecorder recorder;
        recorder.files = {folder.path(), folder.path(), folder.path()};
        recorder.answers = {MessageAnswer::No, MessageAnswer::Yes};
        view.saveAllInChosenFolder();  // an empty folder: no question
        QVERIFY(recorder.messages.isEmpty());
        QFile::resize(first, 0);
        view.saveAllInChosenFolder();
        QCOMPARE(QFileInfo(first).size(), 0);
        view.saveAllInChosenFolder();
        QVERIFY(QFileInfo(first).size() > 0);
        QCOMPARE(recorder.messages.size(), 2);
        QCOMPARE(recorder.messages[0].text,
                 QStringLiteral("%1 of the %1 pictures are in \"%2\" already (%3). Replace them?")
                     .arg(view.charts().size())
                     .arg(QDir::toNativeSeparators(folder.path()), view.chartFileNames().front()));
    }
};

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
