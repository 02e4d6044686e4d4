#include "reliability/MonteCarloSampler.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

namespace ardelon {
namespace {

// Quantities that pass through one or two libm calls.
constexpr double kLibmTolerance = 1e-12;

// The default state is seed 1, whose sequence and first deviate are the reference ones.
TEST(MonteCarloGenerator, DefaultIsSeedOneWithTheReferenceSequenceAndStateWraps) {
    MonteCarloSampler sampler;
    EXPECT_EQ(sampler.seed(), 1u);
    EXPECT_EQ(MonteCarloSampler(1).uniformDeviate(), 41 * 3.051850947599719e-05);
    std::vector<int> raw(5);
    for (int& r : raw)
        r = sampler.nextRaw();
    EXPECT_EQ(raw, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    sampler.setSeed(0xFFFFFFFFu);
    const int wrapped = sampler.nextRaw();
    // (2^32 − 1) × 214013 + 2531011 modulo 2^32 = 2531011 − 214013 = 2316998.
    EXPECT_EQ(sampler.seed(), 2316998u);
    EXPECT_EQ(wrapped, 2316998 >> 16);
}

TEST(MonteCarloGenerator, UniformDeviateRedrawsARawZero) {
    // 20057 is the first seed whose next raw number is 0.
    MonteCarloSampler sampler(20057), follower(20057);
    ASSERT_EQ(follower.nextRaw(), 0);
    const int second = follower.nextRaw();
    ASSERT_NE(second, 0);
    EXPECT_EQ(sampler.uniformDeviate(), second * MonteCarloSampler::kRawToUniform);
    EXPECT_EQ(sampler.seed(), follower.seed());
}

// Week counts are summed without overflow: 1 + 2147483647 weeks lets the second season cover the
// rest of any year.
TEST(MonteCarloSeason, BoundariesBelongToTheNextSeason) {
    const std::array<int, 5> weeks{26, 8, 12, 6, 0}, summer{52, 0, 0, 0, 0}, last{0, 0, 0, 0, 52};
    constexpr double kWeek = MonteCarloSampler::kWeekToYear;
    // The first four seasons fill the year: u = 1 still falls into the fifth season.
    for (auto [u, w, season] : {std::tuple{0.1, weeks, 0},
                                {26 * kWeek, weeks, 1},
                                {34 * kWeek, weeks, 2},
                                {0.9, weeks, 3},
                                {1.0, weeks, 4},
                                {1.0, summer, 4},
                                {0.5, last, 4},
                                {0.5, {1, INT_MAX, 0, 0, 0}, 1},
                                {0.5, {0, 0, INT_MAX, INT_MAX, INT_MAX}, 2},
                                {0.99, {INT_MIN, INT_MIN, 0, 0, 0}, 4}})
        EXPECT_EQ(MonteCarloSampler::pickSeason(u, w), season) << u << " " << w[1];
}

TEST(MonteCarloNormal, BoxMullerWithTheProgramsAngleFactor) {
    const NormalPair unit = MonteCarloSampler::normalPair(1.0, 0.3);
    EXPECT_EQ(std::pair(unit.z1, unit.z2), std::pair(0.0, 0.0));
    const NormalPair p = MonteCarloSampler::normalPair(0.5, 0.25);
    const double r = std::sqrt(-2.0 * std::log(0.5));
    EXPECT_NEAR(p.z1, r * std::sin(0.25 * 6.283185308), kLibmTolerance);
    EXPECT_NEAR(p.z2, r * std::cos(0.25 * 6.283185308), kLibmTolerance);
}

TEST(MonteCarloModulus, NormalAndLogNormalByMeanAndCov) {
    const std::array<double, 5> means{12000, 15000, 24000, 15000, 13200};
    EXPECT_EQ(MonteCarloSampler::sampleModulus(means, 2, 1.5, Normal, 10), 24000 + 1.5 * 2400);
    // Log-normal: sigma = sqrt(ln(1.25)), mu = ln(15000) - sigma²/2.
    const double sigma = std::sqrt(std::log(1.25));
    EXPECT_NEAR(MonteCarloSampler::sampleModulus(means, 1, -0.7, LogNormal, 50),
                std::exp(std::log(15000.0) - sigma * sigma * 0.5 - 0.7 * sigma), 1e-8);
    // COV 0 returns the mean exactly for both distributions.
    EXPECT_EQ(MonteCarloSampler::sampleModulus(means, 4, 2.0, LogNormal, 0), 13200);
    EXPECT_EQ(MonteCarloSampler::sampleModulus(means, 4, 2.0, Normal, 0), 13200);
    // A log-normal of mean 0 gives 0 (which the floor then raises).
    EXPECT_EQ(MonteCarloSampler::sampleModulus({0, 0, 0, 0, 0}, 0, 1.0, LogNormal, 30), 0.0);
}

TEST(MonteCarloThickness, MetricCentimetresComeBackInInches) {
    EXPECT_NEAR(MonteCarloSampler::sampleThickness(25.4, 1.3, Normal, 0, 0), 10.0, 1e-12);
    EXPECT_EQ(MonteCarloSampler::sampleThickness(10.0, 1.0, Normal, 5, 1), 10.5);
    // Normal sampling of a positive mean can go negative; the run's floor takes care of it.
    EXPECT_EQ(MonteCarloSampler::sampleThickness(2.0, -3.0, Normal, 50, 1), -1.0);
}

TEST(MonteCarloFloor, RaisesOnlyValuesBelowAndNaN) {
    for (auto [value, raised] :
         {std::pair{999.99, 1000.0}, {1000.0, 1000.0}, {1000.5, 1000.5}, {std::nan(""), 1000.0}}) {
        MonteCarloSampler::raiseTo(value, 1000.0);
        EXPECT_EQ(value, raised);
    }
}

TEST(MonteCarloConfiguration, StrictBoundariesAndSteerTakesTheRest) {
    for (auto [u, configuration] :
         {std::pair{0.49, Single}, {0.5, Tandem}, {0.85, Tridem}, {1.0, Steer}})
        EXPECT_EQ(MonteCarloSampler::pickAxleConfiguration(u, 0.5, 0.3, 0.2, 0.0), configuration);
    EXPECT_EQ(MonteCarloSampler::pickAxleConfiguration(1.0, 1.0, 0, 0, 0), Steer);
}

// The first bin whose cumulative share lies above the deviate; the heaviest non-empty bin.
TEST(MonteCarloWheelLoad, FirstBinAboveTheDeviateAndHeaviestNonEmptyBin) {
    BinArray cdf{};
    cdf[0] = 0.1;
    cdf[1] = 0.1;
    cdf[2] = 0.4;
    for (int k = 3; k < kBinCount; ++k)
        cdf[static_cast<std::size_t>(k)] = 1.0;
    EXPECT_EQ(MonteCarloSampler::sampleWheelLoad(0.05, 4, cdf, -1), 1000.0 / 4);
    EXPECT_EQ(MonteCarloSampler::sampleWheelLoad(0.1, 4, cdf, -1), 5000.0 / 4);  // strict
    for (double u : {0.4, 0.7, 0.999, 1.0 - 1e-12}) {
        EXPECT_EQ(MonteCarloSampler::sampleWheelLoad(u, 8, cdf, -1), 7000.0 / 8) << u;
    }
    // u = 1 never lies below a cumulative 1: the previous load stays.
    EXPECT_EQ(MonteCarloSampler::sampleWheelLoad(1.0, 4, cdf, 1234.5), 1234.5);
    EXPECT_EQ(MonteCarloSampler::sampleWheelLoad(0.3, 4, BinArray{}, 777.0), 777.0);

    for (int k = 0; k < kBinCount; ++k)
        cdf[static_cast<std::size_t>(k)] = k < 5 ? 0.0 : k < 20 ? 0.5 : 0.9999;
    EXPECT_EQ(heaviestBinLoadPerTire(cdf, 4), (1000.0 + 2000.0 * 20) / 4);
    EXPECT_EQ(heaviestBinLoadPerTire(BinArray{}, 4), 0.0);
    BinArray last{};
    last[55] = 1.0;
    EXPECT_EQ(heaviestBinLoadPerTire(last, 2), 111000.0 / 2);
}

TEST(MonteCarloContact, WheelsAndRadiusAtOneHundredPsi) {
    std::array<double, 6> pressure{}, radius{};
    EXPECT_EQ(MonteCarloSampler::contactCircles(9000, 12, pressure, radius), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pressure[static_cast<std::size_t>(i)], 100.0);
        // The program's factor is a hair below 1/(100 π): 5.35237234811 in., not ...2348458.
        EXPECT_EQ(radius[static_cast<std::size_t>(i)], std::sqrt(9000 * 0.0031830988614222804));
    }
    std::array<double, 6> p2{}, r2{};
    EXPECT_EQ(MonteCarloSampler::contactCircles(9000, 2, p2, r2), 1);
    EXPECT_EQ(r2[1], 0.0);  // only one wheel written
}

}  // namespace
}  // namespace ardelon
