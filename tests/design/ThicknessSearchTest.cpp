#include "design/ThicknessSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "criteria/ResponseType.h"
#include "design/ResponsePeak.h"
#include "design/SearchVerification.h"
#include "reliability/SolverResponseModel.h"
#include "support/DepthResponseModel.h"
#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"

namespace ardelon {
namespace {

using testing::depthModel;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

ThicknessSearchOptions optionsFor(std::vector<VaryRange> vary, int cycles,
                                  std::optional<double> life = {}) {
    ThicknessSearchOptions o;
    o.vary = std::move(vary);
    o.designLifeYears = life;
    o.cycles = cycles;
    o.seed = 11;
    o.threads = 2;
    return o;
}

// The winner's thicknesses (empty: none passes).
std::vector<double> winnerOf(const ThicknessSearchResult& r, const std::vector<VaryRange>& vary) {
    std::vector<double> t;
    if (r.status == ThicknessSearchStatus::Found) {
        for (const VaryRange& v : vary)
            t.push_back(r.best->candidate.thickness[at(v.layer - 1)]);
    }
    return t;
}

// Failures analysed before a thicker failure analysed later, once a pass is known: each such pair
// is wasted work, since the thicker one's failure (each varied layer as thick or thicker, the
// thinner ones at or above their peak) would have settled the first without an analysis.
int failuresBelowLaterFailures(const ThicknessSearchResult& r, const std::vector<VaryRange>& vary) {
    const auto firstPass = std::find_if(r.evaluated.begin(), r.evaluated.end(),
                                        [](const EvaluatedCandidate& e) { return e.pass; });
    int count = 0;
    for (auto i = firstPass; i != r.evaluated.end(); ++i) {
        for (auto j = i + 1; j != r.evaluated.end() && !i->pass; ++j) {
            bool below = !j->pass && i->candidate.index != j->candidate.index;
            for (std::size_t d = 0; d < vary.size() && below; ++d) {
                const int a = i->candidate.index[d], b = j->candidate.index[d];
                below = a == b || (a < b && i->candidate.thickness[at(vary[d].layer - 1)] >=
                                                r.monotoneFromThickness[d]);
            }
            count += below ? 1 : 0;
        }
    }
    return count;
}

CStenorDoc fiveLayerProject() {
    CStenorDoc doc = testing::perpetualInterstateExample();
    doc.layerCountIndex = 3;
    doc.thickness = {6, 4, 8, 10};
    doc.materialIndex[4] = doc.materialIndex[3];
    return doc;
}

struct GridCase {
    const char* name;
    CStenorDoc (*project)();
    std::vector<VaryRange> vary;
    std::optional<double> life;
};

class SearchEqualsExhaustive : public ::testing::TestWithParam<GridCase> {};

TEST_P(SearchEqualsExhaustive, SameWinnerFewerCyclesAnyThreadsAnyStop) {
    const GridCase& c = GetParam();
    const CStenorDoc project = c.project();
    const ThicknessSearchOptions o = optionsFor(c.vary, 400, c.life);
    ThicknessSearchOptions full = o;
    full.exhaustive = true;
    const ThicknessSearchResult reference = searchThicknesses(project, full, depthModel());
    const ThicknessSearchResult search = searchThicknesses(project, o, depthModel());
    ASSERT_EQ(reference.status, ThicknessSearchStatus::Found);
    EXPECT_EQ(winnerOf(search, c.vary), winnerOf(reference, c.vary));
    EXPECT_EQ(search.bestOutcome.results, reference.bestOutcome.results);
    // The grid is not trivial: the cheapest candidate fails, so the winner is a real boundary.
    EXPECT_FALSE(reference.evaluated.front().pass);
    EXPECT_LT(search.cyclesRun, reference.cyclesRun);
    EXPECT_EQ(failuresBelowLaterFailures(search, c.vary), 0);

    ThicknessSearchOptions oneThreadNoStop = o;
    oneThreadNoStop.threads = 1;
    oneThreadNoStop.earlyStop = false;
    const ThicknessSearchResult slow = searchThicknesses(project, oneThreadNoStop, depthModel());
    EXPECT_EQ(winnerOf(slow, c.vary), winnerOf(reference, c.vary));
    ASSERT_EQ(slow.evaluated.size(), search.evaluated.size());
    for (std::size_t i = 0; i < slow.evaluated.size(); ++i) {
        EXPECT_EQ(slow.evaluated[i].pass, search.evaluated[i].pass) << i;
        EXPECT_LE(search.evaluated[i].cyclesRun, slow.evaluated[i].cyclesRun) << i;
    }
    ThicknessSearchOptions oneThread = o;
    oneThread.threads = 1;
    const ThicknessSearchResult again = searchThicknesses(project, oneThread, depthModel());
    ASSERT_EQ(again.evaluated.size(), search.evaluated.size());
    for (std::size_t i = 0; i < again.evaluated.size(); ++i)
        EXPECT_EQ(again.evaluated[i].cyclesRun, search.evaluated[i].cyclesRun) << i;

    // Until settled, the same: each candidate called by its own run of at most 2N cycles.
    ThicknessSearchOptions settling = o;
    settling.untilSettled = true;
    ThicknessSearchOptions settlingFull = settling;
    settlingFull.exhaustive = true;
    const ThicknessSearchResult settledReference =
        searchThicknesses(project, settlingFull, depthModel());
    const ThicknessSearchResult settled = searchThicknesses(project, settling, depthModel());
    EXPECT_EQ(winnerOf(settled, c.vary), winnerOf(settledReference, c.vary));
    EXPECT_LT(settled.cyclesRun, settledReference.cyclesRun);
    int longest = 0;
    for (const EvaluatedCandidate& e : settledReference.evaluated)
        longest = std::max(longest, e.cyclesRun);
    EXPECT_EQ(longest, 2 * o.cycles);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, SearchEqualsExhaustive,
    ::testing::Values(
        GridCase{
            "Interstate", testing::perpetualInterstateExample, {{1, 4, 12, 1}, {2, 2, 6, 1}}, {}},
        GridCase{"InterstateLife",
                 testing::perpetualInterstateExample,
                 {{1, 4, 12, 1}, {2, 2, 6, 1}},
                 40.0},
        GridCase{"TwoLayer", testing::esalRouteExample, {{1, 3, 16, 0.5}}, {}},
        GridCase{"ThreeLayer",
                 testing::perpetualInterstateExample,
                 {{1, 7, 12, 0.5}, {2, 2, 6, 0.5}, {3, 6, 18, 4}},
                 {}},
        GridCase{"FiveLayer", fiveLayerProject, {{1, 3, 9, 1.5}, {2, 2, 6, 2}, {3, 4, 12, 4}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Grid order of preference with every cost per ton zero: least total thickness, then the thinner
// upper layer.
TEST(ThicknessSearchOrder, TiesGoToTheThinnerTotalThenTheThinnerUpperLayer) {
    CStenorDoc doc = testing::perpetualInterstateExample();
    doc.costPerTon = {};
    const std::vector<VaryRange> vary{{1, 1, 3, 1}, {2, 1, 3, 1}};
    std::vector<DesignCandidate> all = gridCandidates(doc, vary);
    std::stable_sort(all.begin(), all.end(), preferredCandidate);
    std::vector<std::pair<double, double>> order;
    for (const DesignCandidate& c : all)
        order.emplace_back(c.thickness[0], c.thickness[1]);
    EXPECT_EQ(order, (std::vector<std::pair<double, double>>{
                         {1, 1}, {1, 2}, {2, 1}, {1, 3}, {2, 2}, {3, 1}, {2, 3}, {3, 2}, {3, 3}}));
}

// The cost-analysis total of the layers with a thickness (per lane-mile: in. × 12 ft × 5280 ft ×
// pcf / 2000 lb × $ per ton), or the varied thicknesses' sum when their costs per ton are zero.
TEST(ThicknessSearchOrder, CostComesFromTheCostRecords) {
    const CStenorDoc priced = testing::perpetualInterstateExample();
    CStenorDoc baseOnly = priced;
    baseOnly.costPerTon = {0, 0, 30, 0};
    CStenorDoc metric = priced;
    metric.valuesInEnglish = 0;
    metric.laneWidth = 3.5;
    metric.density = {2300, 2300, 2200, 0};
    metric.costPerTon = {100, 90, 30, 0};
    const std::vector<VaryRange> vary{{1, 4, 16, 0.5}, {2, 2, 8, 0.5}};
    struct Case {
        const CStenorDoc* doc;
        std::array<double, 4> thickness;
        double cost;
    } cases[] = {
        // 290928 + 195228 + 128304: 8 in. at $95, 6 in. at $85 (145 pcf), 12 in. at $30 (135).
        {&priced, {8, 6, 12, 999}, 614460.00},
        {&priced, {4.5, 2, 12, 999}, 128304.0 + 4.5 * 36366.0 + 2 * 32538.0},
        {&baseOnly, {8, 6, 12, 999}, 14},
        // cm × 10⁻⁵ km × 3.5 m × 10⁻³ km × kg/m³ × 10⁹ / 1000 × $ per metric ton, per lane-km.
        {&metric, {20, 15, 30, 999}, 161000 + 108675 + 69300},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(candidateCost(*c.doc, vary, c.thickness), c.cost, 0.005) << c.cost;
}

TEST(ThicknessSearchRefusal, NamesTheLayerOrNumberAtFault) {
    CStenorDoc metric = testing::perpetualInterstateExample();
    metric.valuesInEnglish = 0;
    const std::string tooMany =
        "The grid has more than 100000 candidates; use fewer layers, "
        "shorter ranges or larger steps.";
    struct Case {
        std::string message;
        std::vector<VaryRange> vary;
        double life = 20;
        int cycles = 10;
        bool isMetric = false;
    } cases[] = {
        {"Choose at least one layer to vary.", {}},
        {"At most 3 layers can vary at once.",
         {{1, 4, 5, 1}, {2, 4, 5, 1}, {3, 4, 5, 1}, {1, 4, 5, 1}}},
        {"Layer 4 cannot vary: the project has 4 layers and only layers 1 to 3 have a thickness.",
         {{4, 4, 5, 1}}},
        {"Layer 2 is varied more than once.", {{2, 4, 5, 1}, {2, 4, 6, 1}}},
        {"Layer 1: the minimum 8 in. is larger than the maximum 4 in.", {{1, 8, 4, 0.5}}},
        {"Layer 1: the step 0 in. must be larger than 0.", {{1, 4, 8, 0}}},
        {"Layer 1: the step -1 in. must be larger than 0.", {{1, 4, 8, -1}}},
        {"Layer 3: the range 0.5 to 4 in. lies outside 1 to 999 in.", {{3, 0.5, 4, 0.5}}},
        {"Layer 1: the range 2 to 1000 in. lies outside 1 to 999 in.", {{1, 2, 1000, 1}}},
        {"Layer 1: the range 2 to 2600 cm lies outside 2.54 to 2537.46 cm.",
         {{1, 2, 2600, 1}},
         20,
         10,
         true},
        {tooMany, {{1, 1, 999, 0.005}}},
        {tooMany, {{1, 1, 100, 1}, {2, 1, 100, 1}, {3, 1, 11, 1}}},
        {"The design life must be a positive number of years.", {{1, 4, 5, 1}}, 0},
        {"Please enter a number of Monte Carlo cycles of at least 1.", {{1, 4, 5, 1}}, 20, 0},
    };
    for (const Case& c : cases) {
        const ThicknessSearchOptions o = optionsFor(c.vary, c.cycles, c.life);
        const ThicknessSearchResult r = searchThicknesses(
            c.isMetric ? metric : testing::perpetualInterstateExample(), o, depthModel());
        EXPECT_EQ(r.status, ThicknessSearchStatus::Refused) << c.message;
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.evaluated.empty());
    }
}

TEST(ThicknessSearchRun, CancelEndsTheSearchWithoutAnAnswer) {
    for (const bool before : {true, false}) {
        std::atomic<bool> cancel{before};
        ThicknessSearchOptions o = optionsFor({{1, 4, 12, 1}, {2, 2, 6, 1}}, 100);
        o.cancel = &cancel;
        std::vector<int> seen;
        o.progress = [&](const ThicknessSearchProgress& p) {
            seen.push_back(p.candidatesEvaluated);
            EXPECT_EQ(p.candidateCount, 45);
            cancel = true;
        };
        const ThicknessSearchResult r =
            searchThicknesses(testing::perpetualInterstateExample(), o, depthModel());
        EXPECT_EQ(r.status, ThicknessSearchStatus::Cancelled);
        EXPECT_FALSE(r.best.has_value());
        EXPECT_EQ(seen, before ? std::vector<int>{} : std::vector<int>{1});
    }
}

// Re-analysis with seed + 1 and 4N: the winner is robust only when every row is settled Pass. At
// 60 cycles no row with a target of 75 % or more can settle; the rows are named, and thicker
// candidates are tried for one that settles them (none of the four tried at 60 cycles does).
// With Temperature Correction on, each candidate's layer-1 modulus follows its thickness.
TEST(ThicknessSearchRun, VerificationNamesUnsettledRowsAndTheNextThickerCandidate) {
    const CStenorDoc project = testing::perpetualInterstateExample();
    const ThicknessSearchOptions o = optionsFor({{1, 4, 12, 1}, {2, 2, 6, 1}}, 15);
    const ThicknessSearchResult r = searchThicknesses(project, o, depthModel());
    ASSERT_EQ(r.status, ThicknessSearchStatus::Found);
    const SearchVerification v = verifyWinner(project, o, r, depthModel());
    ASSERT_TRUE(v.completed);
    EXPECT_EQ(v.seed, 12u);
    EXPECT_EQ(v.cycles, 60);
    EXPECT_EQ(v.marginal,
              (std::vector<std::string>{
                  "Layer 1 Top Vertical Deflection at 85 %",
                  "Layer 2 Bottom Tensile Strain at 95 %", "Layer 2 Bottom Tensile Strain at 85 %",
                  "Layer 2 Bottom Tensile Strain at 75 %", "Layer 4 Top Vertical Strain at 95 %"}));
    EXPECT_EQ(v.rows.size(), r.percentileRowNames.size());  // no life: percentile rows only
    for (const VerifiedRow& row : v.rows)
        EXPECT_DOUBLE_EQ(row.margin, row.settled.low - row.target);
    EXPECT_FALSE(v.robust);
    // The winner 5 + 6 in.; the next thicker candidate has one more inch of the polymer-modified
    // surface (145 pcf at $95).
    ASSERT_TRUE(v.nextThicker.has_value());
    EXPECT_EQ(std::tuple(r.best->candidate.thickness[0], r.best->candidate.thickness[1],
                         r.best->candidate.cost),
              std::tuple(5.0, 6.0, 505362.0));
    EXPECT_EQ(
        std::tuple(v.nextThicker->thickness[0], v.nextThicker->thickness[1], v.nextThicker->cost),
        std::tuple(6.0, 6.0, 505362.0 + 36366.0));
    EXPECT_EQ(v.candidatesTried, kMaxCandidatesTried);
    EXPECT_FALSE(v.nextSettled.has_value());

    // With a design life the transfer-function rows are judged too.
    const ThicknessSearchOptions withLife = optionsFor({{1, 4, 12, 1}, {2, 2, 6, 1}}, 15, 1.0);
    const ThicknessSearchResult lived = searchThicknesses(project, withLife, depthModel());
    ASSERT_EQ(lived.status, ThicknessSearchStatus::Found);
    const SearchVerification lifeChecked = verifyWinner(project, withLife, lived, depthModel());
    ASSERT_EQ(lifeChecked.rows.size(), lived.percentileRowNames.size() + 1);
    EXPECT_TRUE(lifeChecked.rows.back().life);
    EXPECT_EQ(lifeChecked.rows.back().target, 1.0);
}

// Without a percentile row and without a design life nothing can fail: the search refuses.
// Run until settled, the answer does not depend on the number of threads, and a candidate far
// from its targets is called long before the cap.
TEST(ThicknessSearchRun, NothingToFailIsRefusedAndUntilSettledIsThreadIndependent) {
    CStenorDoc project = testing::perpetualInterstateExample();
    CStenorDoc fatigueOnly = project;
    for (int slot : {0, 5, 9})
        fatigueOnly.criteria[at(slot)].active = 0;
    const ThicknessSearchResult refused =
        searchThicknesses(fatigueOnly, optionsFor({{1, 4, 12, 1}}, 15), depthModel());
    EXPECT_EQ(refused.status, ThicknessSearchStatus::Refused);
    EXPECT_EQ(refused.message.rfind("No active criterion can fail", 0), 0u) << refused.message;
    EXPECT_EQ(
        searchThicknesses(fatigueOnly, optionsFor({{1, 4, 12, 1}}, 15, 1.0), depthModel()).status,
        ThicknessSearchStatus::Found);

    std::vector<std::vector<double>> winners;
    std::vector<std::int64_t> cycles;
    for (int threads : {1, 2}) {
        ThicknessSearchOptions o = optionsFor({{1, 4, 12, 1}, {2, 2, 6, 1}}, 15);
        o.untilSettled = true;
        o.maxCycles = 2000;
        o.threads = threads;
        const ThicknessSearchResult r = searchThicknesses(project, o, depthModel());
        ASSERT_EQ(r.status, ThicknessSearchStatus::Found);
        winners.push_back(winnerOf(r, o.vary));
        cycles.push_back(r.cyclesRun);
        // The failing candidates next to the winner settle Fail in a few blocks, long before
        // the cap.
        const auto quick = std::count_if(
            r.evaluated.begin(), r.evaluated.end(),
            [&](const auto& e) { return e.settled && !e.pass && e.cyclesRun <= o.maxCycles / 4; });
        EXPECT_GT(quick, 0);
        EXPECT_EQ(failuresBelowLaterFailures(r, o.vary), 0);
    }
    EXPECT_EQ(winners[0], winners[1]);
    EXPECT_EQ(cycles[0], cycles[1]);
}

// 500 / 30 / 7.5 ksi with a 12 in. base under a 19-kip dual-tire single axle, no variability: the
// strain at the bottom of the AC is -369 µε at 1 in., peaks at -437 µε at 1.5 in., then falls
// (-386 at 2.5, -316 at 3.5, -285 at 4, -82 at 12 in.). A thin layer that passes must not be
// pruned for the failure of a thicker one below the peak; a thin one that fails must not stop
// the search for a thicker one that passes.
TEST(ThicknessSearchPeak, ThinAsphaltBelowThePeakIsAlwaysAnalysed) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.thickness = {4, 12, 999, 999};
    for (int s = 0; s < kSeasonCount; ++s) {
        doc.seasonalModulus[0][at(s)] = 500000;
        doc.seasonalModulus[1][at(s)] = 30000;
        doc.seasonalModulus[2][at(s)] = 7500;
    }
    doc.modulusCov = {0, 0, 0, 0, 0};
    doc.thicknessCov = {0, 0, 0, 0};
    doc.configurationPercent = {100, 0, 0, 0};
    for (int k = 0; k < kBinCount; ++k)
        doc.loadCdf[0][at(k)] = k >= 9 ? 1.0 : 0.0;  // 19 kips
    doc.criteria[2].active = 1;
    doc.criteria[2].responseType = HorizontalStrain;
    doc.criteria[2].targetPercentile = 50;
    doc.criteria[2].threshold = -400;
    doc.temperatureCorrection = 0;  // the moduli above are entered by hand
    const std::vector<VaryRange> vary{{1, 1, 8, 0.5}};
    CStenorDoc work = candidateWork(doc, doc.thickness, vary);
    EXPECT_EQ(locateResponsePeaks(work, vary, layeredElasticResponses()).monotoneFrom,
              std::vector<int>{1});  // 1.5 in.

    struct Case {
        double threshold;
        double winner;
    } cases[] = {{-400, 1}, {-300, 4}};
    for (const Case& c : cases) {
        doc.criteria[2].threshold = c.threshold;
        ThicknessSearchOptions o = optionsFor(vary, 8);
        const ThicknessSearchResult search = searchThicknesses(doc, o, layeredElasticResponses());
        o.exhaustive = true;
        const ThicknessSearchResult reference =
            searchThicknesses(doc, o, layeredElasticResponses());
        EXPECT_EQ(winnerOf(reference, vary), std::vector<double>{c.winner});
        EXPECT_EQ(winnerOf(search, vary), winnerOf(reference, vary));
    }
}

}  // namespace
}  // namespace ardelon
