// Comparing designs from the same draws: the paired interval, its coverage, and a comparison
// that gives each design exactly the results of its own run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "TrialTestSupport.h"
#include "criteria/ResponseType.h"
#include "support/FakeResponseModels.h"
#include "trials/DesignComparison.h"
#include "trials/TrialTable.h"

namespace ardelon {
namespace {

using testing::runSeasonProject;
using testing::seasonProject;

TEST(PairedDifference, IntervalAndVerdictFromTheDiscordantCycles) {
    const struct {
        int firstOnly, secondOnly, cycles;
        double difference, low, high;
        PairedVerdict verdict;
    } cases[] = {
        {30, 2, 1000, 2.8, 1.6841459833960626, 3.9046763718933586, PairedVerdict::FirstBetter},
        {2, 30, 1000, -2.8, -3.9046763718933586, -1.6841459833960626, PairedVerdict::SecondBetter},
        {5, 3, 1000, 0.2, -0.3870846082232907, 0.7862862050296779, PairedVerdict::NotSettled},
        // No cycle differs: the designs judged alike in every cycle, the interval still honest.
        {0, 0, 100, 0.0, -1.9215333181765235, 1.9215333181765235, PairedVerdict::Same},
        // Every cycle differs one way: the interval stops at 100 percentage points.
        {10, 0, 10, 100.0, 56.661601798026062, 100.0, PairedVerdict::FirstBetter},
    };
    for (const auto& c : cases) {
        const PairedInterval p = pairedDifference(c.firstOnly, c.secondOnly, c.cycles, 0.95);
        EXPECT_DOUBLE_EQ(p.difference, c.difference) << c.firstOnly << "/" << c.secondOnly;
        EXPECT_NEAR(p.low, c.low, 1e-9);
        EXPECT_NEAR(p.high, c.high, 1e-9);
        EXPECT_EQ(p.verdict, c.verdict);
    }
    EXPECT_NEAR(twoSidedNormalQuantile(0.95), 1.959963984540054, 1e-12);
    EXPECT_NEAR(twoSidedNormalQuantile(0.99), 2.5758293035489004, 1e-12);
    EXPECT_NEAR(twoSidedNormalQuantile(0.5), 0.6744897501960817, 1e-12);
    EXPECT_EQ(pairedVerdictText(PairedVerdict::SecondBetter, "A", "B"), "B better");
    EXPECT_EQ(pairedVerdictText(PairedVerdict::NotSettled, "A", "B"), "not settled");
}

DesignRunner seasonRunner(const std::vector<CStenorDoc>& projects) {
    return [&projects](std::size_t i, const AnalysisRunOptions& o) {
        return runProjectAnalysis(projects[i], testing::factoryOf<testing::SeasonResponseModel>(),
                                  o);
    };
}

// The surface deflection is 10 (s + 1) milli-in in season s, read from the layer-1 modulus: a
// limit of 15 keeps Summer below (26 of 52 weeks). The second design is as stiff in Fall as in
// Summer, so Fall stays below as well (34 of 52). Over many seeds the paired interval of the
// difference must contain the true −15.38 points at its stated rate.
TEST(DesignComparison, PairedIntervalsCoverTheTrueDifferenceAtTheStatedRate) {
    std::vector<CStenorDoc> projects{seasonProject(15), seasonProject(15)};
    projects[1].seasonalModulus[0][Fall] = 100000;
    const double truth = 100.0 * (26.0 - 34.0) / 52.0;
    for (const double confidence : {0.90, 0.95}) {
        int covered = 0;
        constexpr int kSeeds = 200;
        for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
            AnalysisRunOptions o{.cycles = 400, .seed = seed, .threads = 1};
            o.verdicts.confidence = confidence;
            const Comparison c = compareDesigns(2, seasonRunner(projects), o, false);
            ASSERT_EQ(c.failed, -1);
            const auto& rows = c.differences.at(0);
            const auto found = std::find_if(rows.begin(), rows.end(),
                                            [](const RowDifference& d) { return d.slot == 0; });
            ASSERT_NE(found, rows.end());
            const RowDifference& deflection = *found;
            covered += deflection.paired.low <= truth && truth <= deflection.paired.high;
        }
        // Binomial sampling of the count alone: about ±3 standard deviations.
        const double expected = confidence * kSeeds;
        const double spread = 3.0 * std::sqrt(kSeeds * confidence * (1.0 - confidence));
        EXPECT_NEAR(covered, expected, spread) << confidence;
    }
}

std::vector<std::vector<std::string>> cellsOf(const ResultLists& lists) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : lists.transferFunction)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    for (const auto& r : lists.percentile) {
        rows.emplace_back(r.cells.begin(), r.cells.end());
        rows.back().push_back(settledText(r.settled));
    }
    return rows;
}

TEST(DesignComparison, EveryDesignGetsTheResultsOfItsOwnRun) {
    const std::vector<CStenorDoc> projects{seasonProject(15), seasonProject(25), seasonProject(35)};
    AnalysisRunOptions o{.cycles = 700, .seed = 42, .threads = 2};
    const Comparison c = compareDesigns(3, seasonRunner(projects), o, false);
    ASSERT_EQ(c.failed, -1);
    EXPECT_EQ(c.cycles, 700);
    ASSERT_EQ(c.differences.size(), 2u);
    for (std::size_t i = 0; i < projects.size(); ++i) {
        const ProjectRun alone = runSeasonProject(projects[i], 700, 42);
        EXPECT_EQ(cellsOf(c.designs[i].run.outcome.lists), cellsOf(alone.outcome.lists)) << i;
        EXPECT_EQ(c.designs[i].run.outcome.results, alone.outcome.results) << i;
    }
    // The deflection stays below 25 in Fall as well: the second design is better there. The
    // strain rows judge the same structure under the same draws: alike in every cycle.
    for (const RowDifference& d : c.differences[0]) {
        EXPECT_EQ(d.paired.verdict, d.slot == 0 ? PairedVerdict::SecondBetter : PairedVerdict::Same)
            << d.slot << " " << d.level;
        EXPECT_DOUBLE_EQ(d.paired.difference, d.first - d.second);
    }
}

// Until settled, every design ends with the same N, and its results are a fixed run's of N.
TEST(DesignComparison, UntilSettledEndsEveryDesignAtTheSameCycles) {
    std::vector<CStenorDoc> projects{seasonProject(15), seasonProject(35)};
    projects[0].criteria[0].targetPercentile = 40;  // true 50 %: settles quickly
    projects[1].criteria[0].targetPercentile = 85;  // true 88.5 %: needs many more cycles
    AnalysisRunOptions o{.cycles = 20000, .seed = 3, .threads = 2};
    const Comparison c = compareDesigns(2, seasonRunner(projects), o, true);
    ASSERT_EQ(c.failed, -1);
    EXPECT_GT(c.cycles, 256);
    EXPECT_LT(c.cycles, 20000);
    for (std::size_t i = 0; i < projects.size(); ++i) {
        EXPECT_EQ(c.designs[i].run.outcome.results.cycles, c.cycles);
        EXPECT_EQ(c.designs[i].exceedances.cycles(), c.cycles);
        const ProjectRun fixed = runSeasonProject(projects[i], c.cycles, 3);
        EXPECT_EQ(cellsOf(c.designs[i].run.outcome.lists), cellsOf(fixed.outcome.lists)) << i;
    }
}

// A trial of one deflection row with the given verdict, priced at `cost`.
Trial pricedTrial(const std::string& name, double cost, Verdict verdict) {
    Trial t;
    t.name = name;
    t.inputs.criteria[0].responseType = VerticalDeflection;
    t.priced = true;
    t.costPerLane = cost;
    t.asphaltThickness = 10.5;
    t.run = {7, 2000, "2026-12-07T03:00:00Z", "4.4"};
    PercentileRow row;
    row.slot = 0;
    row.cells[6] = "96.1";
    row.settled = {95.25, 96.75, verdict};
    t.lists.percentile.push_back(row);
    return t;
}

TEST(TrialTable, OneColumnPerTrialWithTheCheapestPassingMarked) {
    const std::vector<Trial> trials{pricedTrial("A", 1000, Verdict::Pass),
                                    pricedTrial("B", 900, Verdict::Fail),
                                    pricedTrial("C", 1234567.891, Verdict::Pass)};
    const TrialTable table = sideBySide(trials);
    EXPECT_EQ(table.cheapestPassing, 0);
    const std::vector<std::vector<std::string>> expected{
        {"Cost ($/lane-mile)", "1,000.00", "900.00", "1,234,567.89"},
        {"Total asphalt thickness (in.)", "10.5", "10.5", "10.5"},
        {"Settled verdicts", "1 Pass, 0 Fail, 0 Undecided", "0 Pass, 1 Fail, 0 Undecided",
         "1 Pass, 0 Fail, 0 Undecided"},
        {"Cheapest passing", "yes", "", ""},
        {"Cycles (seed)", "2000 (7)", "2000 (7)", "2000 (7)"},
        {"Layer 1 Top, Vertical Deflection: Actual Percentile", "96.1 Pass [95.25, 96.75]",
         "96.1 Fail [95.25, 96.75]", "96.1 Pass [95.25, 96.75]"},
    };
    EXPECT_EQ(table.headings, (std::vector<std::string>{"Result", "A", "B", "C"}));
    EXPECT_EQ(table.rows, expected);

    // Nothing passes: nothing is marked.
    EXPECT_EQ(cheapestPassingTrial({pricedTrial("B", 900, Verdict::Undecided)}), -1);

    RowDifference d;
    d.list = 1;
    d.first = 96.1;
    d.second = 93.4;
    d.paired = pairedDifference(40, 13, 1000, 0.95);
    const TrialTable differences = differenceTable(trials[0], trials[2], {d}, 0.95);
    EXPECT_EQ(differences.headings, (std::vector<std::string>{"Result", "A", "C", "Difference",
                                                              "95 % Interval", "Better"}));
    EXPECT_EQ(differences.rows, (std::vector<std::vector<std::string>>{
                                    {"Layer 1 Top, Vertical Deflection: Actual Percentile", "96.10",
                                     "93.40", "+2.70", "[+1.27, +4.12]", "A better"}}));
}

}  // namespace
}  // namespace ardelon
