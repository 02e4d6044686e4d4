// The charts of a run and of the Load Spectra module, rendered offscreen: every chart draws
// something, the pictures are saved for review, and the spectra follow the bins as edited.

#include <QBarSeries>
#include <QBarSet>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/ChartsView.h"
#include "gui/TrafficForms.h"
#include "project/ProjectJson.h"
#include "reliability/AnalysisRun.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/SolverResponseModel.h"

using namespace ardelon;
using namespace ardelon::gui;

class ChartsViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    // More than a handful of colours: the chart drew more than its background.
    static int colourCount(const QImage& image) {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        }
        return static_cast<int>(colours.size());
    }

    struct InterstateRun {
        RunFigures figures;
        std::vector<CriterionSensitivity> sensitivity;
    };
    static InterstateRun interstateRun(int unitSystem) {
        CStenorDoc work;
        if (!loadProject(ARDELON_SOURCE_DIR "/examples/perpetual-interstate.json", work).ok())
            qFatal("example project missing");
        work.unitSystem = unitSystem;
        prepareViewOutput(work);
        AnalysisRunOptions options;
        options.cycles = 200;
        options.seed = 1;
        options.keepCycleRecords = true;
        const AnalysisRunOutcome outcome = runAnalysis(work, layeredElasticResponses(), options);
        if (outcome.status != AnalysisStatus::Completed)
            qFatal("analysis did not complete");
        return {runFigures(work, outcome.results, layeredElasticResponses()),
                runSensitivity(work, outcome.results)};
    }

  private Q_SLOTS:
    void everyChartOfARunIsDrawnAndSaved() {
        for (int unitSystem : {English, Metric}) {
            InterstateRun run = interstateRun(unitSystem);
            ChartsView view(std::move(run.figures), unitSystem, run.sensitivity);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            // Response distributions (4 rows), damage (1), four seasons, governing loads (4 + 1),
            // what drives each of the 4 locations.
            QCOMPARE(view.charts().size(), 4 + 1 + 4 + 5 + 4);
            QCOMPARE(view.tabs()->tabText(4), QStringLiteral("Sensitivity"));
            QDir().mkpath(QStringLiteral(ARDELON_SCREENSHOT_DIR));
            for (int tab = 0; tab < view.tabs()->count(); ++tab) {
                view.tabs()->setCurrentIndex(tab);
                QTest::qWait(20);
                const QString name = QStringLiteral("charts-%1-tab%2")
                                         .arg(unitSystem == Metric ? "metric" : "english")
                                         .arg(tab + 1);
                QVERIFY(
                    view.grab().save(QStringLiteral(ARDELON_SCREENSHOT_DIR "/%1.png").arg(name)));
            }
            const QStringList written = view.saveAll(directory.path());
            QCOMPARE(written.size(), view.charts().size());
            for (const QString& path : written) {
                const QImage image(path);
                QVERIFY2(colourCount(image) > 8, qPrintable(path));
            }
            const auto* depth =
                qobject_cast<QValueAxis*>(view.charts()[5]->chart()->axes(Qt::Vertical).front());
            QCOMPARE(depth->titleText(), unitSystem == Metric ? QStringLiteral("Depth, cm")
                                                              : QStringLiteral("Depth, in."));
            QVERIFY(depth->isReverse());
        }
    }

    void loadSpectraChartFollowsTheEditedBins() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.binEdit(8)->setFocus(Qt::MouseFocusReason);
        form.binEdit(8)->setText(QStringLiteral("60"));
        form.binEdit(9)->setFocus(Qt::TabFocusReason);
        auto* bars = qobject_cast<QBarSeries*>(form.spectraChart()->chart()->series().front());
        QVERIFY(bars);
        QCOMPARE(bars->barSets().front()->label(), QStringLiteral("Single"));
        QCOMPARE(bars->barSets().front()->at(8), 60.0);
        QVERIFY(form.grab().save(QStringLiteral(ARDELON_SCREENSHOT_DIR "/load-spectra-chart.png")));
    }
};

QTEST_MAIN(ChartsViewTest)
#include "ChartsViewTest.moc"
