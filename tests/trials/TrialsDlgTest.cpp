// The trials of the Output and Design module through their dialog rules: Keep as Trial after a run
// with its default and refused names, the side-by-side table with the cheapest passing trial,
// Rename and Delete, Load Trial over unsaved changes, and Compare with paired differences.

#include "trials/CTrialsDlg.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "reliability/RunPreparation.h"
#include "structure/CStructureDlg.h"
#include "support/FakeHost.h"
#include "support/FakeResponseModels.h"
#include "support/TestFiles.h"
#include "trials/TrialFile.h"
#include "trials/TrialTestSupport.h"

namespace ardelon {
namespace {

using testing::FakeHost;
using Control = CTrialsDlg::Control;

// The season project with only its deflection limit and transfer function: a limit of 100
// milli-in passes in every season, 25 only in two of the four, 15 in one.
CStenorDoc moduleProject(double deflectionLimit, double layer1Inches) {
    CStenorDoc doc = testing::seasonProject(deflectionLimit);
    doc.criteria[5].active = 0;
    doc.thickness[0] = layer1Inches;
    doc.output.doNotWarn = 1;
    prepareViewOutput(doc);
    return doc;
}

std::string rawPath() {
    static const auto dir = testing::scratchDir("trials-dlg-" + std::to_string(::getpid()));
    return (dir / "raw.ad").string();
}

// The module over a project, its Trials rules, and a run of the design shown.
struct Module {
    explicit Module(const CStenorDoc& project)
        : dlg(project, testing::factoryOf<testing::SeasonResponseModel>()) {
        dlg.onInitDialog(host);
        dlg.cycles = 400;
        dlg.fixedSeed = 5;
        dlg.threads = 1;
    }
    void analyse() {
        host.files.push_back(rawPath());
        dlg.performAnalysis(host);
    }
    // The design shown with `limit` and `inches`, analysed and kept as `name` (the name form's
    // OK pressed with it); the name the form offered.
    std::string keep(double limit, double inches, const std::string& name) {
        dlg.work.criteria[0].threshold = limit;
        dlg.work.thickness[0] = inches;
        analyse();
        std::string offered;
        host.modalScript.push_back([&](ModalDialog& d) {
            auto& ask = dynamic_cast<CTrialNameDlg&>(d);
            offered = ask.name;
            if (!name.empty())
                ask.name = name;
            return ask.onOK(host);
        });
        trials.onKeepAsTrial(host);
        return offered;
    }
    // The names of the trials shown, "A, B".
    std::string names() const {
        std::string kept;
        for (const Trial& t : trials.trials)
            kept += (kept.empty() ? "" : ", ") + t.name;
        return kept;
    }
    // The trials stored in the working copy.
    std::vector<Trial> stored() const {
        std::vector<Trial> kept;
        EXPECT_TRUE(projectTrials(dlg.work, kept).ok());
        return kept;
    }
    const TrialRow& row(std::string_view label) const {
        for (const TrialRow& r : trials.rows) {
            if (r.label == label)
                return r;
        }
        ADD_FAILURE() << "no row " << label;
        static const TrialRow none;
        return none;
    }

    FakeHost host;
    COutputDesignDlg dlg;
    CTrialsDlg trials{dlg};
};

TEST(TrialsDlg, KeepAsTrialOffersTheThicknessesAndRefusesBadNames) {
    Module m(moduleProject(100, 8));
    EXPECT_FALSE(m.trials.canKeep());  // no run yet
    EXPECT_FALSE(m.trials.onKeepAsTrial(m.host));
    EXPECT_TRUE(m.host.modalCaptions.empty());

    struct Case {
        double inches;
        std::string typed;  // empty: the name offered
        std::string offered;
        std::string kept;
        std::string refusal;  // the message, empty: none
    };
    const std::string three = "8 in., 8 in. (2), Two lifts";
    const Case cases[] = {
        {8, "", "8 in.", "8 in.", ""},
        {8, "", "8 in. (2)", "8 in., 8 in. (2)", ""},
        {7.5, "  Two lifts ", "7.5 in.", three, ""},
        {7.5, "8 in.", "7.5 in.", three,
         "A trial named \"8 in.\" is already kept. Please choose another name."},
        {7.5, "   ", "7.5 in.", three, "Please enter a name for the trial."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed + "/" + c.offered);
        m.host.clear();
        EXPECT_EQ(m.keep(100, c.inches, c.typed), c.offered);
        EXPECT_EQ(m.host.modalCaptions.back(), "Keep as Trial");
        EXPECT_EQ(m.names(), c.kept);
        if (c.refusal.empty()) {
            EXPECT_TRUE(m.host.messages.empty()) << m.host.lastMessage().text;
        } else {
            EXPECT_EQ(m.host.lastMessage(), testing::exclamation(c.refusal, "Keep as Trial"));
            EXPECT_EQ(m.host.lastFocus(), static_cast<int>(CTrialNameDlg::Control::Name));
        }
    }
    // The trials live in the working copy, with the snapshot and the run they were kept from.
    const std::vector<Trial> stored = m.stored();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(std::tuple(stored[2].inputs.thickness[0], stored[2].run.seed, stored[2].run.cycles),
              std::tuple(7.5, 5u, 400));
    EXPECT_TRUE(stored[2].inputs.trials.empty());

    // A stale design is not kept: its results are of other thicknesses.
    m.dlg.useDesign(m.host, {9, 999, 999, 999});
    EXPECT_FALSE(m.trials.canKeep());
}

// The side-by-side table of the command line and the workbook, one column per trial in the
// project's units, with each cell's verdict for its colour; the cheapest of the trials that pass
// with settled verdicts is marked.
TEST(TrialsDlg, TableSetsTrialsSideBySideAndMarksTheCheapestPassing) {
    struct Case {
        bool metric;
        std::array<double, 3> thickness;  // A, B, C in the project's display units
        std::vector<std::string> costs, asphalt;
    };
    // 8 in. x 12 ft x 5280 ft x 145 pcf = 3062.4 tons at $50; 6 in.: 2296.8 tons.
    const Case cases[] = {
        {false, {8, 6, 10}, {"153,120.00", "114,840.00", "191,400.00"}, {"8", "6", "10"}},
        {true, {20.32, 15.24, 25.4}, {}, {"20.32", "15.24", "25.4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.metric ? "metric" : "English");
        CStenorDoc project = moduleProject(100, 8);
        if (c.metric) {
            project.unitSystem = Metric;
            applyUnitSystem(project);
        }
        Module m(project);
        m.keep(100, c.thickness[0], "A");
        m.keep(5, c.thickness[1], "B");  // cheaper, but no season stays below 5 milli-in
        m.keep(100, c.thickness[2], "C");
        m.trials.onInitDialog(m.host);
        const auto texts = [&](const std::string& label) {
            std::vector<std::string> cells;
            for (const TrialCell& cell : m.row(label).cells)
                cells.push_back(cell.text);
            return cells;
        };
        const auto costs = texts(c.metric ? "Cost ($/lane-km)" : "Cost ($/lane-mile)");
        EXPECT_EQ(costs.size(), 3u);
        if (!c.costs.empty()) {
            EXPECT_EQ(costs, c.costs);
        }
        EXPECT_EQ(
            texts(c.metric ? "Total asphalt thickness (cm)" : "Total asphalt thickness (in.)"),
            c.asphalt);
        const TrialRow& deflection = m.row("Layer 1 Top, Vertical Deflection: Actual Percentile");
        EXPECT_EQ(deflection.cells[0], (TrialCell{"100. Pass [78.561, 100.]", Verdict::Pass}));
        EXPECT_EQ(deflection.cells[1], (TrialCell{"0. Fail [0., 21.439]", Verdict::Fail}));
        EXPECT_EQ(m.row("Layer 1 Bottom, Horizontal Strain: Percent Below Critical").cells[0],
                  (TrialCell{"87.75", std::nullopt}));
        EXPECT_EQ(m.trials.cheapestPassing, 0);  // A: B fails, C costs more
    }
}

TEST(TrialsDlg, RenameAndDeleteAskAndKeepTheRest) {
    Module m(moduleProject(100, 8));
    m.keep(100, 8, "A");
    m.keep(100, 7, "B");
    m.keep(100, 6, "C");
    m.trials.onInitDialog(m.host);
    const auto buttons = {Control::LoadTrial, Control::RenameTrial, Control::DeleteTrial,
                          Control::Compare};
    EXPECT_EQ(m.host.enabledOf(buttons), "0000");
    m.trials.onSelectionChanged(m.host, {1});
    EXPECT_EQ(m.host.enabledOf(buttons), "1110");

    // Rename: another trial's name is refused, its own name changes nothing, a new one is kept.
    const struct {
        std::string to, refusal, names;
    } renames[] = {
        {"C", "A trial named \"C\" is already kept. Please choose another name.", "A, B, C"},
        {"B", "", "A, B, C"},
        {"Thicker base", "", "A, Thicker base, C"},
    };
    for (const auto& r : renames) {
        m.host.clear();
        m.host.modalScript.push_back([&](ModalDialog& d) {
            auto& ask = dynamic_cast<CTrialNameDlg&>(d);
            EXPECT_EQ(ask.caption(), "Rename Trial");
            ask.name = r.to;
            return ask.onOK(m.host);
        });
        m.trials.onRenameTrial(m.host);
        EXPECT_EQ(m.host.messages.empty() ? "" : m.host.lastMessage().text, r.refusal) << r.to;
        EXPECT_EQ(m.names(), r.names) << r.to;
    }

    // Delete asks first; No keeps every trial.
    m.trials.onSelectionChanged(m.host, {2, 0});
    EXPECT_EQ(m.host.enabledOf(buttons), "0011");
    m.host.clear();
    m.host.answers = {MessageAnswer::No, MessageAnswer::Yes};
    m.trials.onDeleteTrials(m.host);
    EXPECT_EQ(m.names(), "A, Thicker base, C");
    m.trials.onDeleteTrials(m.host);
    EXPECT_EQ(
        m.host.messages.back(),
        (testing::RecordedMessage{"Delete the selected trials (\"A\", \"C\")?", "Delete Trials",
                                  MessageIcon::Question, MessageButtons::YesNo}));
    EXPECT_EQ(m.names(), "Thicker base");
    ASSERT_EQ(m.stored().size(), 1u);
    EXPECT_EQ(m.stored()[0].name, "Thicker base");
    EXPECT_TRUE(m.trials.selection.empty());

    // A damaged trials text is never overwritten: keeping is refused with the reason.
    m.dlg.work.trials = "[{\"name\": 1}]";
    const std::string damaged = m.dlg.work.trials;
    m.host.clear();
    m.keep(100, 8, "D");
    EXPECT_EQ(m.dlg.work.trials, damaged);
    ASSERT_EQ(m.host.messages.size(), 1u);
    EXPECT_EQ(m.host.lastMessage().text.rfind(CTrialsDlg::kDamagedText, 0), 0u);
}

// Load Trial puts every input of the trial into the module's design (the other modules' too),
// asking first when the design has changes that are not saved; the results of the design shown
// before are gone until the trial is analysed.
TEST(TrialsDlg, LoadTrialAsksOverUnsavedChangesAndTakesEveryInput) {
    struct Case {
        const char* name;
        bool projectModified, editedInModule;
        std::optional<MessageAnswer> answer;  // none: not asked; No: not loaded
    };
    const Case cases[] = {
        {"saved project, design as opened", false, false, {}},
        {"project modified, Yes", true, false, MessageAnswer::Yes},
        {"design edited in the module, No", false, true, MessageAnswer::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStenorDoc project = moduleProject(100, 8);
        Module m(project);
        m.keep(100, 6, "Thin");
        // The kept trial's inputs with a Structure-module field of their own.
        std::vector<Trial> kept = m.stored();
        ASSERT_EQ(kept.size(), 1u);
        kept[0].inputs.maxModulus[0] = 777777;
        setProjectTrials(m.dlg.work, kept);
        m.dlg.work.thickness[0] = 8;
        m.analyse();
        // What the module opened with is the reference for "edited" from here.
        m.dlg.onInitDialog(m.host);
        m.dlg.projectModified = c.projectModified;
        if (c.editedInModule)
            m.dlg.work.thickness[0] = 9;
        const CStenorDoc before = m.dlg.work;
        m.trials.onInitDialog(m.host);
        m.trials.onSelectionChanged(m.host, {0});
        m.host.clear();
        if (c.answer)
            m.host.answers = {*c.answer};
        const bool loaded = c.answer != MessageAnswer::No;
        EXPECT_EQ(m.trials.onLoadTrial(m.host), loaded);
        ASSERT_EQ(m.host.messages.size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(m.host.lastMessage().text,
                      "The design has changes that are not saved. Load trial \"Thin\" in their "
                      "place? Keep the design as a trial first to come back to it.");
        }
        if (!loaded) {
            EXPECT_EQ(m.dlg.work, before);
            continue;
        }
        EXPECT_EQ(m.dlg.work.thickness[0], 6);
        EXPECT_EQ(m.dlg.work.maxModulus[0], 777777);
        EXPECT_TRUE(m.dlg.inputsReplaced);  // leaving hands every input back
        EXPECT_EQ(m.dlg.work.trials, before.trials);
        EXPECT_FALSE(m.dlg.exportEnabled);
        EXPECT_FALSE(m.trials.canKeep());
        EXPECT_TRUE(m.dlg.percentileList.rows.empty());
        EXPECT_EQ(m.dlg.runNote,
                  "Trial \"Thin\" loaded. Perform Analysis to see its results here.");
    }
}

// Compare runs the selected trials from one seed for the same cycles: the first selected is the
// reference, and each row of the others shows its paired difference and which is better.
TEST(TrialsDlg, CompareAddsThePairedDifferencesOfTheSelectedTrials) {
    Module m(moduleProject(100, 8));
    m.keep(25, 8, "A");  // seasons 0 and 1 below 25 milli-in
    // Each season's layer-1 modulus one season on: only season 0 stays below.
    m.dlg.work.seasonalModulus[0] = {200000, 300000, 400000, 500000, 600000};
    m.keep(25, 8, "B");
    m.trials.onInitDialog(m.host);
    m.trials.onSelectionChanged(m.host, {1});
    EXPECT_FALSE(m.trials.prepareCompare(m.host).has_value());
    EXPECT_EQ(
        m.host.lastMessage(),
        testing::exclamation("Please select two or more trials to compare.", "Compare Trials"));
    m.trials.onSelectionChanged(m.host, {0, 1});
    m.dlg.cycles = 300;
    m.dlg.fixedSeed = 11;
    std::optional<AnalysisRunOptions> options = m.trials.prepareCompare(m.host);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(std::pair(options->seed, options->cycles), std::pair(11u, 300));
    std::vector<std::pair<int, int>> progress;
    options->progress = [&](int done, int total) { progress.emplace_back(done, total); };
    Comparison result = m.trials.runCompare(*options);
    ASSERT_EQ(result.failed, -1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), (std::pair<int, int>{600, 600}));  // both designs on one bar
    m.trials.finishCompare(m.host, std::move(result), *options);
    EXPECT_EQ(m.trials.comparedNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(m.trials.comparisonNote.rfind("Compared from the same draws: seed 11, 300 cycles", 0),
              0u);
    const TrialRow& difference =
        m.row("Layer 1 Top, Vertical Deflection: Actual Percentile: difference from \"A\"");
    EXPECT_EQ(difference.cells[0].text, "reference");
    // The cycles of season 1 (13 % of the year) stay below the limit in A only, all one way.
    EXPECT_EQ(difference.cells[1].text, "+13.00 [+9.08, +16.75]  A better");

    // Deleting a compared trial takes the differences away.
    m.trials.onSelectionChanged(m.host, {1});
    m.trials.onDeleteTrials(m.host);
    EXPECT_FALSE(m.trials.comparison.has_value());
    for (const TrialRow& row : m.trials.rows)
        EXPECT_EQ(row.label.find("difference"), std::string::npos) << row.label;
}

}  // namespace
}  // namespace ardelon
