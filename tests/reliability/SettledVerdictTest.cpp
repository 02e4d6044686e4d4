#include "reliability/SettledVerdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisRun.h"
#include "support/FakeResponseModels.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

using testing::factoryOf;
using testing::readBytes;
using testing::scratchDir;
using testing::SeasonResponseModel;

struct PercentileCase {
    int below;
    int cycles;
    double target;
    Verdict verdict;
};

TEST(SettledVerdict, PercentileRowsSettleOnlyWhenTheIntervalLeavesTheTarget) {
    const PercentileCase cases[] = {
        {4990, 5000, 95, Verdict::Pass},      {4500, 5000, 95, Verdict::Fail},
        {4750, 5000, 95, Verdict::Undecided}, {4780, 5000, 95, Verdict::Undecided},
        {5000, 5000, 100, Verdict::Fail},     {0, 5000, -1, Verdict::Pass},
        {0, 10, 50, Verdict::Undecided},      {10, 10, 50, Verdict::Undecided},
        {300, 300, 50, Verdict::Pass},        {0, 300, 50, Verdict::Fail},
        {0, 0, 50, Verdict::Undecided},
    };
    for (const PercentileCase& c : cases) {
        const SettledInterval s = percentileVerdict(c.below, c.cycles, c.target, 0.95);
        EXPECT_EQ(s.verdict, c.verdict) << c.below << " of " << c.cycles << " against " << c.target;
        const double observed = c.cycles > 0 ? 100.0 * c.below / c.cycles : 50.0;
        EXPECT_LE(s.low, observed);
        EXPECT_GE(s.high, observed);
        if (c.verdict == Verdict::Pass && c.target >= 0) {
            EXPECT_GT(s.low, c.target);
        }
        if (c.verdict == Verdict::Fail && c.target < 100) {
            EXPECT_LT(s.high, c.target);
        }
    }
    // A higher confidence widens the interval; more cycles narrow it.
    const SettledInterval at95 = percentileVerdict(4750, 5000, 95, 0.95);
    const SettledInterval at99 = percentileVerdict(4750, 5000, 95, 0.99);
    const SettledInterval more = percentileVerdict(47500, 50000, 95, 0.95);
    EXPECT_LT(at99.low, at95.low);
    EXPECT_GT(at99.high, at95.high);
    EXPECT_LT(more.high - more.low, at95.high - at95.low);
    EXPECT_EQ(settledText({95.25, 96.5, Verdict::Pass}), "Pass [95.25, 96.5]");
    EXPECT_EQ(confidenceText(0.995), "99.5 %");
}

// The interval of the mean damage holds at every look at once: a heavy-tailed (log-normal) damage
// per cycle, looked at every 100 cycles up to 20000, leaves its true mean no more often than the
// confidence allows.
TEST(SettledVerdict, DamageIntervalCoversTheMeanAtEveryLook) {
    constexpr int kRuns = 300, kCycles = 20000, kLook = 100;
    const double sigma = 1.0, trueMean = std::exp(sigma * sigma / 2);
    std::mt19937_64 random(12345);
    std::lognormal_distribution<double> damage(0.0, sigma);
    int missed = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<double> x(kCycles);
        for (double& v : x)
            v = damage(random);
        for (int n = kLook; n <= kCycles; n += kLook) {
            DamageSums sums{0.0, 0.0, n};
            for (int c = 0; c < n; ++c) {
                sums.perMillion += x[static_cast<std::size_t>(c)] / n;
                sums.shareSquareSum += std::pow(x[static_cast<std::size_t>(c)] / n, 2);
            }
            const SettledInterval i = damageInterval(sums, 0.9);
            if (trueMean < i.low || trueMean > i.high) {
                ++missed;
                break;
            }
        }
    }
    EXPECT_LE(missed, kRuns / 10);
    // Years fall as damage grows: the interval of the years maps the damage interval's ends.
    const DamageSums sums{2.0, 0.05, 100};  // a standard deviation of about 1 per cycle
    const SettledInterval d = damageInterval(sums, 0.95);
    const SettledInterval y = yearsVerdict(sums, {1000, 0}, kDamage10, 0.95, 1.0);
    EXPECT_DOUBLE_EQ(y.low, 1.0 / (1000 * d.high * 0.000365));
    EXPECT_DOUBLE_EQ(y.high, 1.0 / (1000 * d.low * 0.000365));
    EXPECT_GT(d.high, d.low);
    // 1.03 to 2.06 years (1.37 at the mean damage).
    EXPECT_EQ(y.verdict, Verdict::Pass);
    EXPECT_EQ(yearsVerdict(sums, {1000, 0}, kDamage10, 0.95, 3.0).verdict, Verdict::Fail);
    EXPECT_EQ(yearsVerdict(sums, {1000, 0}, kDamage10, 0.95, 1.5).verdict, Verdict::Undecided);
    EXPECT_EQ(yearsVerdict(sums, {1000, 0}, kDamage10, 0.95, std::nullopt).verdict,
              Verdict::Undecided);
    // Every cycle alike: no spread, the interval is the point.
    const DamageSums alike{2.0, 2.0 * 2.0 / 100.0, 100};
    EXPECT_NEAR(damageInterval(alike, 0.95).high - damageInterval(alike, 0.95).low, 0.0, 1e-6);
}

// The season project (see SeasonResponseModel) with only its surface deflection criterion: 10 ×
// (season + 1) milli-in exceeds 15 in every season but Summer (26 of 52 weeks), so its true
// percentile is exactly 50.
CStenorDoc coinFlipProject() {
    CStenorDoc doc = testing::seasonProject(15);
    doc.axleTypeFraction = {1, 0, 0, 0};
    doc.criteria[2] = doc.criteria[5] = {};
    return doc;
}

TEST(RunUntilSettled, ARowOnItsOwnPercentileSettlesNoMoreOftenThanTheConfidenceAllows) {
    constexpr int kSeeds = 200;
    constexpr double kConfidence = 0.9;
    int settled = 0;
    for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
        CStenorDoc work = coinFlipProject();
        const AnalysisRunOptions o{.cycles = 3000,
                                   .seed = seed,
                                   .threads = 1,
                                   .blockCycles = 50,
                                   .settledWhen = [](const ResultLists& l) { return l.settled(); },
                                   .verdicts = {.confidence = kConfidence, .designLifeYears = {}}};
        const AnalysisRunOutcome out = runAnalysis(work, factoryOf<SeasonResponseModel>(), o);
        ASSERT_EQ(out.status, AnalysisStatus::Completed);
        ASSERT_EQ(out.lists.percentile.size(), 1u);
        if (out.lists.percentile[0].settled.verdict != Verdict::Undecided)
            ++settled;
        else
            EXPECT_EQ(out.results.cycles, 3000);  // an unsettled run goes to its most cycles
    }
    EXPECT_LE(settled, static_cast<int>((1.0 - kConfidence) * kSeeds));
}

// Rows that settle within a few blocks: the deflection (exceeded in Spring only) and the five
// levels of a strain distribution at the bottom of layer 2, with a fatigue transfer function at
// the bottom of layer 1 checked against a design life.
CStenorDoc settlingProject() {
    CStenorDoc doc = coinFlipProject();
    auto& c = doc.criteria;
    c[0].threshold = 30;
    c[2] = {.active = 1,
            .responseType = HorizontalStrain,
            .threshold = -30,
            .k1 = 1e-3,
            .k2 = 2,
            .useTransferFunction = 1};
    c[5] = {.active = 1,
            .responseType = HorizontalStrainDistribution,
            .distribution = {-5, -15, -25, -35, -45}};
    return doc;
}

TEST(RunUntilSettled, EndsAtASettledBlockWithExactlyTheFixedRunOfThatManyCycles) {
    const std::filesystem::path dir = scratchDir("until-settled");
    CStenorDoc settledWork = settlingProject();
    AnalysisRunOptions o{.cycles = 5000,
                         .seed = 11,
                         .threads = 2,
                         .rawDataPath = (dir / "settled.ad").string(),
                         .startTime = 1796448000,
                         .keepCycleRecords = true,
                         .blockCycles = 64,
                         .settledWhen = [](const ResultLists& l) { return l.settled(); },
                         .verdicts = {.confidence = 0.95, .designLifeYears = 0.01}};
    const AnalysisRunOutcome settled =
        runAnalysis(settledWork, factoryOf<SeasonResponseModel>(), o);
    ASSERT_EQ(settled.status, AnalysisStatus::Completed);
    EXPECT_TRUE(settled.lists.settled());
    const int n = settled.results.cycles;
    EXPECT_LT(n, 5000);
    EXPECT_EQ(n % 64, 0);
    EXPECT_GT(settled.results.damagePerMillion[2], 0.0);

    CStenorDoc fixedWork = settlingProject();
    o.cycles = n;
    o.threads = 1;
    o.blockCycles = 256;
    o.rawDataPath = (dir / "fixed.ad").string();
    o.settledWhen = nullptr;
    const AnalysisRunOutcome fixed = runAnalysis(fixedWork, factoryOf<SeasonResponseModel>(), o);
    ASSERT_EQ(fixed.status, AnalysisStatus::Completed);
    EXPECT_EQ(settled.results, fixed.results);  // counts, damage to the last bit, every cycle
    EXPECT_EQ(settledWork, fixedWork);
    ASSERT_EQ(settled.lists.percentile.size(), fixed.lists.percentile.size());
    for (std::size_t r = 0; r < fixed.lists.percentile.size(); ++r) {
        EXPECT_EQ(settled.lists.percentile[r].cells, fixed.lists.percentile[r].cells);
        EXPECT_EQ(verdictCell(settled.lists.percentile[r]), verdictCell(fixed.lists.percentile[r]));
    }
    ASSERT_EQ(fixed.lists.transferFunction.size(), 1u);
    EXPECT_EQ(settled.lists.transferFunction[0].cells, fixed.lists.transferFunction[0].cells);
    EXPECT_EQ(verdictCell(settled.lists.transferFunction[0]),
              verdictCell(fixed.lists.transferFunction[0]));
    EXPECT_EQ(readBytes(dir / "settled.ad"), readBytes(dir / "fixed.ad"));
}

}  // namespace
}  // namespace ardelon
