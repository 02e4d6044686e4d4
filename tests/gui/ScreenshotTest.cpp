// Pictures of the main window and of every dialog, saved as PNG files in the build folder's
// "screenshots" directory for review.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include "GuiTestSupport.h"
#include "criteria/ResponseType.h"
#include "gui/CriteriaForms.h"
#include "gui/InfoDialogs.h"
#include "gui/MainWindow.h"
#include "gui/OutputDesignForm.h"
#include "gui/StructureForm.h"
#include "gui/TrafficForms.h"
#include "gui/TransferFunctionsForm.h"
#include "project/ProjectJson.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/SolverResponseModel.h"

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
        // A picture of only a few colours means nothing but the background was drawn.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 8, qPrintable(name));
        const QString path = QStringLiteral(ARDELON_SCREENSHOT_DIR "/%1.png").arg(name);
        QVERIFY(image.save(path));
    }

  private Q_SLOTS:
    void mainWindowWithDefaultProject() {
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        save(window, QStringLiteral("main-window"));
    }

    void mainWindowWithFiveLayers() {
        MainWindow window(directory.filePath(QStringLiteral("ardelon.ini")));
        window.startUp({});
        CStenorDoc& project = window.session().project();
        project.layerCountIndex = 3;
        project.materialIndex = {0, 0, 2, 6, 1};  // AC, AC, PCC, Gran Base, Soil
        project.thickness = {4, 6, 9, 12};
        project.layerModulus = {450000, 400000, 4000000, 30000, 12000};
        project.configurationEnabled = {1, 1, 0, 1};
        window.repaintViews();
        save(window, QStringLiteral("main-window-five-layers"));
    }

    void aboutDialog() {
        AboutDialog dialog;
        save(dialog, QStringLiteral("about"));
    }

    void transferFunctionsForm() {
        TransferFunctionsDialog dialog(2.83e-06, 3.20596, 5.5e15, 3.929);
        TransferFunctionsForm form(dialog);
        save(form, QStringLiteral("transfer-functions"));
    }

    void structureForm() {
        CStructureDlg dialog;
        CStenorDoc project;
        project.layerCountIndex = 2;
        project.materialIndex = {0, 6, 7, 7, 1};
        project.thickness = {6, 8, 12, 999};
        dialog.loadFrom(project);
        StructureForm form(dialog);
        save(form, QStringLiteral("structure"));
    }

    // A field's hint as it appears when the pointer rests on the field: the tooltip window
    // drawn over the form where it opened.
    void structureFieldHint() {
        CStructureDlg dialog;
        dialog.loadFrom(CStenorDoc{});
        StructureForm form(dialog);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* field = form.findChild<NumberEdit*>(
            QStringLiteral("control%1").arg(static_cast<int>(CStructureDlg::Control::Thickness1)));
        QVERIFY(field);
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

    void inputVariabilityForm() {
        CInputVariabilityDlg dialog;
        dialog.modulusCov = 30;
        dialog.thicknessCov = 5;
        InputVariabilityForm form(dialog);
        save(form, QStringLiteral("input-variability"));
    }

    void loadSpectraForm() {
        CStenorDoc project;
        project.loadSpectra[Single][8] = 40;
        project.loadSpectra[Single][9] = 35;
        project.loadSpectra[Single][10] = 25;
        CLoadingConditionsDlg dialog(project);
        LoadSpectraForm form(dialog);
        save(form, QStringLiteral("load-spectra"));
    }

    void vehicleTypeForm() {
        CVehicleTypeDlg dialog(0, CStenorDoc{}.vehicleTypeValue);
        VehicleTypeForm form(dialog);
        save(form, QStringLiteral("vehicle-types"));
    }

    void esalDataForm() {
        CEsalDataDlg dialog{CStenorDoc{}};
        EsalDataForm form(dialog);
        save(form, QStringLiteral("esal-data"));
    }

    void layerCriteriaForm() {
        CriterionSlots slots{};
        slots[slotIndex(1, Top)] = {1, HorizontalStrain, -70, 2.83e-06, 3.2, 1, 0, {}, 50};
        slots[slotIndex(1, Bottom)] = {1, HorizontalStrainDistribution,   0, 0, 0, 0,
                                       0, {-257, -194, -158, -131, -110}, 50};
        LayerCriteriaDialog dialog(1, false, slots, 0);
        LayerCriteriaForm form(dialog);
        save(form, QStringLiteral("layer-criteria"));
    }

    void enduranceLimitForm() {
        EnduranceLimitDialog dialog(-100);
        EnduranceLimitForm form(dialog);
        save(form, QStringLiteral("endurance-limit"));
    }

    // The module after a small run of the example interstate design, so that both lists show.
    void outputDesignFormAfterARun() {
        testing::MessageRecorder recorder;
        CStenorDoc project;
        QVERIFY(
            loadProject(ARDELON_SOURCE_DIR "/examples/perpetual-interstate.json", project).ok());
        prepareViewOutput(project);
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

    void outputDesignNestedForms() {
        CCostAnalysisDlg cost;
        cost.thickness = {4, 6, 8, 0};
        cost.layerCountIndex = 2;
        cost.density = {145, 145, 140, 0};
        cost.costPerTon = {45, 40, 35, 0};
        CostAnalysisForm costForm(cost);
        save(costForm, QStringLiteral("cost-analysis"));
        CMonteCarloCyclesDlg cycles;
        MonteCarloCyclesForm cyclesForm(cycles);
        save(cyclesForm, QStringLiteral("monte-carlo-cycles"));
        CPleaseNoteDlg note;
        PleaseNoteForm noteForm(note);
        save(noteForm, QStringLiteral("please-note"));
    }

    void disclaimerDialog() {
        DisclaimerDialog dialog;
        save(dialog, QStringLiteral("disclaimer"));
    }
};

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
