#include "output/COutputDesignDlg.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "criteria/ResponseType.h"
#include "output/CCostAnalysisDlg.h"
#include "output/CDisclaimerDlg.h"
#include "output/CMonteCarloCyclesDlg.h"
#include "output/CPleaseNoteDlg.h"
#include "output/OutputModuleCopy.h"
#include "output/RunNotes.h"
#include "project/NumberField.h"
#include "reliability/RunPreparation.h"
#include "reports/FormattedReport.h"
#include "support/FakeHost.h"
#include "support/FakeResponseModels.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

using testing::FakeHost;
using testing::id;
using Control = COutputDesignDlg::Control;

// A project the analysis accepts: all Single axles in one bin, a surface deflection criterion.
CStenorDoc runnableProject() {
    CStenorDoc doc;
    for (int k = 10; k < kBinCount; ++k)
        doc.loadCdf[Single][static_cast<std::size_t>(k)] = 1.0;
    prepareViewOutput(doc);
    doc.criteria[0] = {.active = 1, .responseType = VerticalDeflection, .threshold = 20};
    doc.criteria[2] = {.active = 1,
                       .responseType = HorizontalStrain,
                       .threshold = -70,
                       .k1 = 1e-3,
                       .k2 = 3,
                       .useTransferFunction = 1};
    return doc;
}

std::filesystem::path rawPath(const std::string& name) {
    static const auto dir = testing::scratchDir("output-dlg-" + std::to_string(::getpid()));
    return dir / name;
}

COutputDesignDlg makeDialog(const CStenorDoc& doc) {
    return COutputDesignDlg(doc, testing::factoryOf<testing::SmoothResponseModel>());
}

// The module opened on a project, as the Output command does.
struct Opened {
    explicit Opened(const CStenorDoc& doc) : dlg(makeDialog(doc)) { dlg.onInitDialog(host); }
    // Perform Analysis, writing the raw data to `file` in the scratch folder.
    void analyse(const std::string& file) {
        host.files.push_back(rawPath(file).string());
        dlg.performAnalysis(host);
    }
    COutputDesignDlg dlg;
    FakeHost host;
};

// A runnable project opened with the confirmation already turned off.
Opened openedUnwarned(CStenorDoc doc = runnableProject()) {
    doc.output.doNotWarn = 1;
    return Opened(doc);
}

std::string thicknessEditsEnabled(const FakeHost& host) {
    return host.enabledOf(
        {Control::Thickness1, Control::Thickness2, Control::Thickness3, Control::Thickness4});
}

TEST(OutputDesignInit, DefaultsLabelsAndEnabledEdits) {
    CStenorDoc doc;
    doc.materialIndex = {0, 6, 9, 6, 0};  // AC, Gran Base, Other, Gran Base, GB
    doc.layerCountIndex = 3;
    COutputDesignDlg dlg = makeDialog(doc);
    dlg.cycles = 12;
    FakeHost host;
    dlg.onInitDialog(host);
    EXPECT_EQ(dlg.cycles, 5000);
    EXPECT_FALSE(host.isEnabled(id(Control::ExportExcel)));
    EXPECT_EQ(dlg.thicknessUnit + " " + dlg.layerCountText, "in. 5");
    EXPECT_EQ(dlg.materialNames,
              (std::array<std::string, 5>{"AC", "Gran Base", "Other", "GB", "GB"}));
    EXPECT_EQ(thicknessEditsEnabled(host), "1111");
    EXPECT_TRUE(dlg.transferFunctionList.columns.empty());  // no columns before the first run
}

TEST(OutputDesignInit, TwoLayersMetricRoundingAndUnknownMaterial) {
    CStenorDoc doc;
    doc.valuesInEnglish = 0;
    doc.thickness = {10.0, 2537.46, 25.4, 7.777};
    doc.materialIndex = {5, 7, 7, 7, 1};  // 5 lies outside layer 1's list
    const Opened o(doc);
    EXPECT_EQ(o.dlg.thicknessUnit + " " + o.dlg.layerCountText, "cm 2");
    // 10 cm = 3.937 in. -> 3.94 in. -> 10.0076 cm -> 10.01 cm; 7.777 cm = 3.0618 in. -> 3.06
    // in. -> 7.7724 cm -> 7.77 cm.
    EXPECT_EQ(o.dlg.work.thickness, (std::array<double, 4>{10.01, 2537.46, 25.4, 7.77}));
    EXPECT_EQ(std::pair(o.dlg.materialNames[0], o.dlg.materialNames[1]),
              std::pair(std::string(), std::string("Soil")));
    EXPECT_EQ(thicknessEditsEnabled(o.host), "1000");
}

TEST(OutputDesignThickness, RangeMessagesAndTwoDecimalRounding) {
    struct Case {
        int english;
        double typed;
        double shown;
        const char* message;  // empty: no message
    };
    const Case cases[] = {
        {1, 1.0, 1.0, ""},
        {1, 999.0, 999.0, ""},
        {1, 10.125, 10.13, ""},
        {1, 10.124, 10.12, ""},
        {1, 0.994, 0.99, "Please enter a height between 1.0 in. and 999.0 in."},
        {1, 999.001, 999.0, "Please enter a height between 1.0 in. and 999.0 in."},
        {0, 2.54, 2.54, ""},
        {0, 2537.46, 2537.46, ""},
        {0, 2537.47, 2537.47, "Please enter a height between 2.54 cm and 2530 cm"},
        {0, 2.539, 2.54, "Please enter a height between 2.54 cm and 2530 cm"},
    };
    for (const Case& c : cases) {
        CStenorDoc doc;
        doc.valuesInEnglish = c.english;
        COutputDesignDlg dlg = makeDialog(doc);
        FakeHost host;
        dlg.work.thickness[2] = c.typed;
        dlg.onThicknessKillFocus(host, 3);
        EXPECT_EQ(dlg.work.thickness[2], c.shown) << c.typed;
        EXPECT_EQ(host.messages, testing::refusalOrNone(c.message, "Height Out of Range"))
            << c.typed;
        if (*c.message) {
            EXPECT_EQ(host.lastFocus(), id(Control::Thickness3));
        }
    }
}

TEST(OutputDesignCycles, OkStoresCancelKeepsAndBelowOneIsRefused) {
    Opened o(CStenorDoc{});
    auto& [dlg, host] = o;
    auto answer = [&](int n, bool ok) {
        host.modalScript.push_back([n, ok](ModalDialog& d) {
            auto& cyclesDlg = dynamic_cast<CMonteCarloCyclesDlg&>(d);
            EXPECT_EQ(cyclesDlg.caption(), "Monte Carlo Cycles");
            cyclesDlg.cycles = n;
            return ok;
        });
        dlg.onSetMonteCarloCycles(host);
    };
    answer(250, true);
    EXPECT_EQ(dlg.cycles, 250);
    answer(999, false);
    EXPECT_EQ(dlg.cycles, 250);
    EXPECT_TRUE(host.messages.empty());
    answer(0, true);
    EXPECT_EQ(dlg.cycles, 250);
    EXPECT_EQ(host.messages, std::vector{testing::exclamation(
                                 "Please enter a number of Monte Carlo cycles of at least 1.",
                                 "Monte Carlo Cycles")});
}

// Export writes the workbook of the last run, with the run's record and every cycle for its charts.
TEST(OutputDesignRun, ConfirmChooseRunFillTheListsAndExport) {
    Opened o(runnableProject());
    auto& [dlg, host] = o;
    dlg.cycles = 300;
    dlg.fixedSeed = 42;
    dlg.projectFileName = "/designs/route 9.ard";
    RunInfo exported;
    std::size_t recordsExported = 0;
    dlg.exportReport = [&](const CStenorDoc& work, const AnalysisResults& results,
                           const std::string& path, const RunInfo& run) {
        exported = run;
        recordsExported = results.cycleRecords.size();
        return exportFormattedReport(work, results, path, run);
    };
    EXPECT_FALSE(dlg.onExportExcel(host).has_value());  // no run yet: nothing to export
    EXPECT_TRUE(host.fileFilters.empty());
    host.modalScript.push_back([](ModalDialog& d) {
        auto& note = dynamic_cast<CPleaseNoteDlg&>(d);
        EXPECT_FALSE(note.doNotWarn);
        note.doNotWarn = true;
        return true;
    });
    const auto path = rawPath("dialog.ad");
    std::filesystem::remove(path);
    host.files.push_back(path.string());
    dlg.performAnalysis(host);

    EXPECT_EQ(host.modalCaptions, (std::vector<std::string>{"Please Note..."}));
    EXPECT_EQ(host.fileFilters,
              (std::vector<std::string>{"Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||"}));
    EXPECT_EQ(dlg.work.output.doNotWarn, 1);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(dlg.lastSeed, 42u);
    EXPECT_EQ(dlg.results.cycles, 300);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.front(), (std::pair<int, int>{0, 300}));
    EXPECT_EQ(host.progress.back(), (std::pair<int, int>{300, 300}));
    EXPECT_TRUE(dlg.exportEnabled);
    EXPECT_TRUE(host.isEnabled(id(Control::ExportExcel)));
    // The lists' own columns, then the settled verdict.
    ASSERT_EQ(dlg.transferFunctionList.columns.size(), 10u);
    EXPECT_EQ(dlg.transferFunctionList.columns[5], (ListColumn{"Percent Below Critical", 175}));
    EXPECT_EQ(dlg.transferFunctionList.columns[9],
              (ListColumn{"Years to D=1.0 Interval (95 %)", 200}));
    ASSERT_EQ(dlg.percentileList.columns.size(), 9u);
    EXPECT_EQ(dlg.percentileList.columns[7], (ListColumn{"Pass/Fail?", 125}));
    EXPECT_EQ(dlg.percentileList.columns[8], (ListColumn{"Settled Verdict [95 % Interval]", 200}));
    ASSERT_EQ(dlg.transferFunctionList.rows.size(), 1u);
    EXPECT_EQ(dlg.transferFunctionList.rows[0][1], "Bottom");
    ASSERT_EQ(dlg.percentileList.rows.size(), 1u);
    EXPECT_EQ(dlg.percentileList.rows[0][2], "Vertical Deflection");
    EXPECT_EQ(dlg.work.criteria[2].damagePerMillion, dlg.results.damagePerMillion[2]);

    // The second run does not ask again.
    host.files.push_back(path.string());
    dlg.performAnalysis(host);
    EXPECT_EQ(host.modalCaptions.size(), 1u);

    host.files.push_back(std::nullopt);  // cancelled chooser
    EXPECT_FALSE(dlg.onExportExcel(host).has_value());
    const auto book = rawPath("report.xlsx");
    std::filesystem::remove(book);
    host.files.push_back(book.string());
    const auto written = dlg.onExportExcel(host);
    ASSERT_TRUE(written.has_value()) << host.lastMessage().text;
    EXPECT_EQ(*written, book.string());
    EXPECT_GT(std::filesystem::file_size(book), 0u);
    EXPECT_EQ(host.fileFilters.back(), "Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||");
    EXPECT_EQ(recordsExported, 300u);
    EXPECT_EQ(exported.seed, 42u);
    EXPECT_EQ(exported.projectFileName, "/designs/route 9.ard");
    EXPECT_GE(exported.threads, 1);
    host.files.push_back((rawPath("no-such-folder") / "r.xlsx").string());
    EXPECT_FALSE(dlg.onExportExcel(host).has_value());
    EXPECT_EQ(host.lastMessage().caption, "Export Formatted Data to EXCEL");
    EXPECT_NE(host.lastMessage().text.find("no-such-folder"), std::string::npos);

    // Editing a thickness disables the export.
    dlg.onThicknessSetFocus(host, 1);
    EXPECT_FALSE(dlg.exportEnabled);
    EXPECT_FALSE(host.isEnabled(id(Control::ExportExcel)));
}

// Every way a run does not start or ends without results: a message where one is due, and the
// module, its lists and its export as they were (a cancelled confirmation stores no check box).
TEST(OutputDesignRun, NoRunLeavesTheModuleAsItWas) {
    const std::string bad = (rawPath("no-such-folder") / "x.ad").string();
    struct Case {
        const char* name;
        bool tandemOnly;                   // Tandem axles have no load distribution: refused
        std::optional<bool> confirmation;  // the Please Note answer; none: not reached
        std::optional<std::string> file;   // the raw-data chooser's answer; none: cancelled
        std::string caption, text;         // the message; empty text: none
    };
    const std::string noSpectra =
        "The Tandem axles carry 100. % of the axle groups but their cumulative load distribution "
        "is empty. Please open the Load Spectra module and accept it to compute the load "
        "distributions.";
    const Case cases[] = {
        {"refused before the confirmation", true, {}, {}, "Load Spectra Missing", noSpectra},
        {"confirmation cancelled", false, false, {}, "", ""},
        {"file chooser cancelled", false, true, {}, "", ""},
        {"raw-data file unwritable", false, true, bad, "Raw Data File",
         "Cannot write the raw data file \"" + bad + "\": No such file or directory."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStenorDoc doc = runnableProject();
        if (c.tandemOnly)
            doc.axleTypeFraction = {0, 1, 0, 0};
        Opened o(doc);
        auto& [dlg, host] = o;
        const CStenorDoc before = dlg.work;
        if (c.confirmation) {
            host.modalScript.push_back([answer = *c.confirmation](ModalDialog& d) {
                dynamic_cast<CPleaseNoteDlg&>(d).doNotWarn = !answer;
                return answer;
            });
        }
        host.files.push_back(c.file);
        dlg.performAnalysis(host);
        EXPECT_EQ(host.modalCaptions.size(), c.confirmation ? 1u : 0u);
        EXPECT_EQ(host.fileFilters.size(), c.confirmation == true ? 1u : 0u);
        EXPECT_EQ(host.progress.empty(), !c.file);  // a run started only with a file
        EXPECT_EQ(host.messages, testing::refusalOrNone(c.text, c.caption));
        EXPECT_EQ(dlg.work, before);
        EXPECT_EQ(dlg.results, AnalysisResults{});
        EXPECT_FALSE(dlg.exportEnabled);
        EXPECT_TRUE(dlg.percentileList.columns.empty());
    }
}

// Find Thicknesses, Use This Design, the run not confirmed: the results of the design analysed
// are marked stale and are neither exported nor charted until the design shown is analysed.
TEST(OutputDesignRun, ResultsOfAnotherDesignAreStaleUntilItIsAnalysed) {
    Opened o = openedUnwarned();
    auto& [dlg, host] = o;
    dlg.cycles = 12;
    EXPECT_FALSE(dlg.resultsStale());  // no results yet: nothing to be stale
    o.analyse("stale.ad");
    ASSERT_TRUE(dlg.exportEnabled);
    const auto analysed = dlg.work.thickness;
    auto chosen = analysed;
    chosen[0] = 4.5;
    chosen[1] = 8.5;
    dlg.useDesign(host, chosen);
    dlg.work.output.doNotWarn = 0;
    host.modalScript.push_back([](ModalDialog&) { return false; });  // "Please Note..." cancelled
    dlg.performAnalysis(host);
    EXPECT_EQ(dlg.work.thickness, chosen);
    EXPECT_TRUE(dlg.resultsStale());
    EXPECT_FALSE(dlg.exportEnabled);
    EXPECT_FALSE(host.isEnabled(id(Control::ExportExcel)));
    EXPECT_EQ(dlg.staleResultsText(),
              "Results not of the design shown (they are of layer thicknesses " +
                  formatFieldNumber(analysed[0]) + " in.): Perform Analysis for the design shown.");
    const std::size_t choosers = host.fileFilters.size();
    EXPECT_FALSE(dlg.onExportExcel(host).has_value());
    EXPECT_EQ(host.fileFilters.size(), choosers);  // not even asked for a name

    // The analysed thicknesses typed back: the results are of the design shown again.
    dlg.work.thickness = analysed;
    dlg.onThicknessKillFocus(host, 1);
    EXPECT_TRUE(dlg.exportEnabled);
    EXPECT_EQ(dlg.staleResultsText(), "");
    // The chosen design analysed: its results, current.
    dlg.useDesign(host, chosen);
    dlg.work.output.doNotWarn = 1;
    o.analyse("stale.ad");
    EXPECT_EQ(dlg.analysedThickness, chosen);
    EXPECT_TRUE(dlg.exportEnabled && !dlg.resultsStale());
}

// A metric project's lists show the deflection limit in mm; the strain rows stay in microstrain.
TEST(OutputDesignRun, MetricListsShowLimitsInSiUnits) {
    CStenorDoc doc = runnableProject();
    doc.unitSystem = Metric;
    Opened o = openedUnwarned(doc);
    auto& dlg = o.dlg;
    dlg.cycles = 12;
    o.analyse("metric.ad");
    ASSERT_EQ(dlg.percentileList.rows.size(), 1u);
    EXPECT_EQ(dlg.percentileList.rows[0][3] + " " + dlg.percentileList.rows[0][4], "mm 0.508");
    EXPECT_EQ(dlg.transferFunctionList.rows[0][3] + " " + dlg.transferFunctionList.rows[0][4],
              "-70. microstrain");
    EXPECT_EQ(dlg.resultRows.percentile[0].cells[3], "milli-in");  // the workbook's own
}

TEST(OutputDesignRun, DisclaimerOpensModally) {
    Opened o(CStenorDoc{});
    auto& [dlg, host] = o;
    std::string shown;
    host.modalScript.push_back([&](ModalDialog& d) {
        shown = dynamic_cast<CDisclaimerDlg&>(d).text;
        return true;
    });
    dlg.onDisclaimer(host);
    EXPECT_EQ(host.modalCaptions, (std::vector<std::string>{"Disclaimer"}));
    EXPECT_EQ(shown.substr(0, 48), "Ardelon is currently intended as a mechanistic\r\n");
}

// ---- Seed, progress and run notes ----

TEST(RunNotes, ElapsedAndProgressTexts) {
    const std::pair<long long, const char*> times[] = {
        {0, "0:00"}, {7, "0:07"}, {754, "12:34"}, {3723, "1:02:03"}, {-5, "0:00"}};
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(elapsedText(seconds), text);
    EXPECT_EQ(runProgressText(1200, 5000, 67), "1200 of 5000 cycles done, 1:07 elapsed");
    EXPECT_EQ(completedRunText(5000, 4294967295u, 42),
              "Results of 5000 cycles with seed 4294967295 (run time 0:42)");
}

TEST(RunNotes, SeedFieldTakesBlankOrAWholeNumberThatFits) {
    const std::tuple<const char*, bool, std::optional<std::uint32_t>> fields[] = {
        {"", true, std::nullopt},  {"   ", true, std::nullopt},
        {" 42 ", true, 42u},       {"4294967295", true, 4294967295u},
        {"4294967296", false, 7u}, {"-1", false, 7u},
        {"12a", false, 7u},        {"1.5", false, 7u},
    };
    for (const auto& [text, accepted, seed] : fields) {
        CMonteCarloCyclesDlg dlg;
        dlg.seed = 7;
        dlg.seedText = text;
        FakeHost host;
        EXPECT_EQ(dlg.onOk(host), accepted) << text;
        EXPECT_EQ(dlg.seed, seed) << text;
        if (!accepted) {
            EXPECT_EQ(host.messages, std::vector{testing::exclamation(
                                         "Please enter a whole number from 0 to 4294967295 as the "
                                         "seed, or leave it blank to seed from the clock.",
                                         "Seed Out of Range")});
            EXPECT_EQ(host.lastFocus(), static_cast<int>(CMonteCarloCyclesDlg::Control::Seed));
        }
    }
}

// A run of the module with the seed set in the cycles form; `cancel` stops it before any cycle.
void run(COutputDesignDlg& dlg, FakeHost& host, bool cancel) {
    host.files.push_back(rawPath("run-notes.ad").string());
    auto options = dlg.prepareAnalysis(host);
    ASSERT_TRUE(options);
    EXPECT_TRUE(dlg.resultsOutdated);
    EXPECT_EQ(dlg.runNote, "");
    dlg.cancelRequested = cancel;
    CStenorDoc runWork = dlg.work;
    AnalysisRunOutcome outcome = runAnalysis(runWork, dlg.models(), *options);
    dlg.finishAnalysis(host, std::move(outcome), *options, std::move(runWork));
    EXPECT_FALSE(dlg.resultsOutdated);
}

TEST(RunNotes, SeedComesWithTheResultsAndACancelledRunKeepsThem) {
    Opened o = openedUnwarned();
    auto& [dlg, host] = o;
    dlg.cycles = 40;

    run(dlg, host, true);
    EXPECT_EQ(dlg.runNote, "Run cancelled. There are no results yet.");
    EXPECT_FALSE(dlg.lastSeed);

    host.modalScript.push_back([](ModalDialog& d) {
        auto& cycles = dynamic_cast<CMonteCarloCyclesDlg&>(d);
        EXPECT_EQ(cycles.seedText, "");  // blank while the clock seeds the runs
        cycles.seedText = "1234";
        FakeHost form;
        return cycles.onOk(form);
    });
    dlg.onSetMonteCarloCycles(host);
    EXPECT_EQ(dlg.fixedSeed, 1234u);
    run(dlg, host, false);
    EXPECT_EQ(dlg.lastSeed, 1234u);
    EXPECT_EQ(dlg.runNote.rfind("Results of 40 cycles with seed 1234 (run time 0:0", 0), 0u)
        << dlg.runNote;
    const AnalysisResults kept = dlg.results;

    run(dlg, host, true);
    EXPECT_EQ(dlg.runNote, "Run cancelled. The previous results were kept.");
    EXPECT_EQ(dlg.results, kept);
    EXPECT_EQ(dlg.lastSeed, 1234u);
    EXPECT_TRUE(host.messages.empty());
}

// "Run until every row is settled": the run stops at the first settled block, at most the most
// cycles; the note gives the cycles it ran; a most of 0 is refused in the form.
TEST(OutputDesignRun, UntilSettledRunsUntilEveryRowIsSettled) {
    Opened o = openedUnwarned();
    auto& [dlg, host] = o;
    dlg.fixedSeed = 5;
    host.modalScript.push_back([](ModalDialog& d) {
        auto& cycles = dynamic_cast<CMonteCarloCyclesDlg&>(d);
        EXPECT_FALSE(cycles.untilSettled);
        EXPECT_EQ(cycles.maxCycles, 100000);
        cycles.untilSettled = true;
        cycles.maxCycles = 0;
        FakeHost form;
        EXPECT_FALSE(cycles.onOk(form));
        EXPECT_EQ(form.lastMessage(),
                  testing::exclamation("Please enter a most number of cycles from 1 to 1000000.",
                                       "Monte Carlo Cycles"));
        cycles.maxCycles = 5000;
        return cycles.onOk(form);
    });
    dlg.onSetMonteCarloCycles(host);
    EXPECT_TRUE(dlg.untilSettled);
    o.analyse("settled.ad");
    const int ran = dlg.results.cycles;
    EXPECT_GT(ran, 0);
    EXPECT_LE(ran, 5000);
    EXPECT_EQ(dlg.resultRows.settled(), ran < 5000);
    EXPECT_EQ(dlg.runNote.rfind("Results of " + std::to_string(ran) + " cycles with seed 5", 0), 0u)
        << dlg.runNote;
    ASSERT_EQ(dlg.percentileList.rows.size(), 1u);
    EXPECT_EQ(dlg.percentileList.rows[0][8], verdictCell(dlg.resultRows.percentile[0]));
}

TEST(RunNotes, ActiveCriteriaWithoutATypeAreNamedBeforeARun) {
    CStenorDoc doc = runnableProject();
    doc.criteria[static_cast<std::size_t>(slotIndex(2, Bottom))].active = 1;
    doc.criteria[static_cast<std::size_t>(slotIndex(1, Middle))] = {1, -1, 0};
    Opened o = openedUnwarned(doc);
    auto& [dlg, host] = o;
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        host.messages.clear();
        host.answers = {answer};
        host.files.push_back(std::nullopt);
        EXPECT_FALSE(dlg.prepareAnalysis(host));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text,
                  "These active criteria have no response type and are left out of the analysis: "
                  "layer 1 Middle, layer 2 Bottom. Run the analysis without them?");
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::OkCancel);
        // Ok goes on to the raw-data file; Cancel stops before it.
        EXPECT_EQ(host.fileFilters.size(), answer == MessageAnswer::Ok ? 1u : 0u);
    }
}

// ---- Cost analysis ----

TEST(CostAnalysis, OpeningZeroesTheLayersWithoutThicknessAndCalculates) {
    CCostAnalysisDlg dlg;
    dlg.thickness = {4, 6, 8, 10};
    dlg.layerCountIndex = 0;
    dlg.laneWidth = 12;
    dlg.density = {145, 140, 135, 130};
    dlg.costPerTon = {50, 20, 20, 20};
    FakeHost host;
    dlg.onInitDialog(host);
    EXPECT_EQ(dlg.costPerTon, (std::array<double, 4>{50, 0, 0, 0}));
    EXPECT_EQ(dlg.density, (std::array<double, 4>{145, 140, 135, 130}));
    using Cost = CCostAnalysisDlg::Control;
    EXPECT_EQ(host.enabledOf({Cost::Density2, Cost::CostPerTon4, Cost::CostPerTon1}), "001");
    // 4 in. at 145 pcf over a 12 ft lane-mile is 1531.2 tons, at $50 a ton.
    EXPECT_EQ(dlg.layerCost[0], 76560.0);
    EXPECT_EQ(dlg.totalCost, dlg.layerCost[0]);
    EXPECT_EQ(std::tie(dlg.laneWidthUnit, dlg.lengthUnit, dlg.tonUnit, dlg.densityUnit),
              std::tuple("ft", "Lane-mile", "English Ton", "pcf"));

    CCostAnalysisDlg metric;
    metric.valuesInEnglish = 0;
    metric.layerCountIndex = 3;
    metric.thickness = {5, 10, 0, 0};
    metric.laneWidth = 3.65;
    metric.density = {2400, 2300, 0, 0};
    metric.costPerTon = {50, 30, 0, 0};
    metric.onInitDialog(host);
    // Metric thicknesses are centimetres: 5 cm × 3.65 m × 1 km × 2400 kg/m3 = 438 t at $50.
    EXPECT_EQ(std::tie(metric.layerCost[0], metric.layerCost[1], metric.totalCost),
              std::tuple(21900.0, 25185.0, 47085.0));
    EXPECT_EQ(std::tie(metric.lengthUnit, metric.densityUnit), std::tuple("Lane-km", "kg/m3"));
}

TEST(CostAnalysis, OkCopiesBackCancelLeavesTheModuleUnchanged) {
    CStenorDoc doc;
    doc.density = {145, 0, 0, 0};
    doc.costPerTon = {40, 10, 10, 10};
    Opened o(doc);
    auto& [dlg, host] = o;
    const CStenorDoc before = dlg.work;
    host.modalScript.push_back([&](ModalDialog& d) {
        auto& cost = dynamic_cast<CCostAnalysisDlg&>(d);
        cost.onInitDialog(host);
        cost.calculateCosts(host);
        return false;
    });
    dlg.onCostAnalysis(host);
    EXPECT_EQ(dlg.work, before);

    host.modalScript.push_back([&](ModalDialog& d) {
        auto& cost = dynamic_cast<CCostAnalysisDlg&>(d);
        cost.onInitDialog(host);
        return true;
    });
    dlg.onCostAnalysis(host);
    EXPECT_EQ(dlg.work.costPerTon, (std::array<double, 4>{40, 0, 0, 0}));
    EXPECT_GT(dlg.work.layerCost[0], 0.0);
    EXPECT_EQ(dlg.work.totalCost, dlg.work.layerCost[0]);
}

TEST(ReportList, AddListRowInsertsAtThePositionAndSkipsMissingTexts) {
    ReportListView list;
    list.insertColumn("A", 50);
    list.insertColumn("B", 75);
    list.insertColumn("C", 100);
    EXPECT_EQ(addListRow(list, 0, 3, {"x", std::nullopt, "z"}), 0);
    EXPECT_EQ(addListRow(list, 0, 2, {"first", "second", "ignored"}), 0);
    EXPECT_EQ(addListRow(list, 5, 3, {"beyond"}), -1);  // past the last row: nothing inserted
    EXPECT_EQ(addListRow(list, 2, std::vector<std::string>{"p", "q", "r"}), 2);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0], (std::vector<std::string>{"first", "second", ""}));
    EXPECT_EQ(list.rows[1], (std::vector<std::string>{"x", "", "z"}));
    EXPECT_EQ(list.rows[2], (std::vector<std::string>{"p", "q", "r"}));
    list.clear();
    EXPECT_TRUE(list.columns.empty());
    EXPECT_TRUE(list.rows.empty());
}

TEST(OutputDesignHints, ThicknessesInTheModulesUnitsCyclesAndCosts) {
    CStenorDoc metricDoc;
    metricDoc.valuesInEnglish = 0;
    const COutputDesignDlg english = makeDialog(CStenorDoc{});
    const COutputDesignDlg metric = makeDialog(metricDoc);
    CCostAnalysisDlg cost;
    cost.valuesInEnglish = 0;
    FakeHost host;
    cost.onInitDialog(host);
    using Cost = CCostAnalysisDlg::Control;
    const std::pair<std::string, const char*> cases[] = {
        {english.hint(Control::Thickness2).text, "Layer 2 thickness, in.: 1 to 999"},
        {metric.hint(Control::Thickness1).text, "Layer 1 thickness, cm: 2.54 to 2537.46"},
        {english.hint(Control::PerformAnalysis).text, ""},
        {CMonteCarloCyclesDlg::hint(CMonteCarloCyclesDlg::Control::Cycles).text,
         "Monte Carlo cycles: 1 to 2147483647"},
        {cost.hint(Cost::CostPerTon3).text, "Layer 3 cost, $ per Metric Ton: any number"},
        {cost.hint(Cost::Density1).text, "Layer 1 density, kg/m3: any number"},
    };
    for (const auto& [hint, text] : cases)
        EXPECT_EQ(hint, text);
}

}  // namespace
}  // namespace ardelon
