// The seed of a run (typed in the Monte Carlo Cycles form or drawn from the clock), the progress
// text and what the module says when a run completes or is cancelled.

#include <gtest/gtest.h>

#include <filesystem>

#include "FakeResponseModels.h"
#include "criteria/ResponseType.h"
#include "reliability/COutputDesignDlg.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/RunNotes.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using testing::FakeHost;

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
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.lastMessage().text, CMonteCarloCyclesDlg::kSeedText);
            EXPECT_EQ(host.lastMessage().caption, "Seed Out of Range");
            EXPECT_EQ(host.lastFocus(), static_cast<int>(CMonteCarloCyclesDlg::Control::Seed));
        }
    }
}

CStenorDoc runnableProject() {
    CStenorDoc doc;
    for (int k = 10; k < kBinCount; ++k)
        doc.loadCdf[Single][static_cast<std::size_t>(k)] = 1.0;
    prepareViewOutput(doc);
    doc.output.doNotWarn = 1;
    doc.criteria[0] = {1, VerticalDeflection, 20};
    return doc;
}

// A run of the module with the seed set in the cycles form; `cancel` stops it before any cycle.
void run(COutputDesignDlg& dlg, FakeHost& host, bool cancel) {
    host.files.push_back(
        (std::filesystem::temp_directory_path() / "ardelon-run-notes.ad").string());
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
    COutputDesignDlg dlg(runnableProject(), testing::factoryOf<testing::SmoothResponseModel>());
    FakeHost host;
    dlg.onInitDialog(host);
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

TEST(RunNotes, ActiveCriteriaWithoutATypeAreNamedBeforeARun) {
    CStenorDoc doc = runnableProject();
    doc.criteria[static_cast<std::size_t>(slotIndex(2, Bottom))].active = 1;
    doc.criteria[static_cast<std::size_t>(slotIndex(1, Middle))] = {1, -1, 0};
    COutputDesignDlg dlg(doc, testing::factoryOf<testing::SmoothResponseModel>());
    FakeHost host;
    dlg.onInitDialog(host);
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

}  // namespace
}  // namespace ardelon
