#pragma once
// The random draws of the Monte Carlo reliability analysis: season, layer moduli and thicknesses,
// axle configuration and wheel load.
//
// The generator is a 32-bit linear congruential generator (seed × 214013 + 2531011, the 15 bits
// above bit 16 returned), implemented here so that a run is reproducible from its seed on every
// platform. Normal deviates come from the Box-Muller transform; log-normal values are drawn by
// mean and coefficient of variation. The order in which the analysis calls these primitives is
// part of its behaviour: the same seed gives the same run.

#include <array>
#include <cstdint>
#include <span>

#include "project/CStenorDoc.h"

namespace ardelon {

struct NormalPair {
    double z1 = 0.0;
    double z2 = 0.0;
};

class MonteCarloSampler {
  public:
    // 1/32767 and 1/52 as the doubles nearest them, and the Box-Muller angle factor (which
    // differs from 2π in the tenth decimal; kept so that runs reproduce).
    static constexpr double kRawToUniform = 3.051850947599719e-05;
    static constexpr double kWeekToYear = 0.019230769230769232;
    static constexpr double kTwoPi = 6.283185308;
    // √(P × this) is the radius (in.) of a tire contact carrying P pounds at 100 psi: 1/(100 π).
    static constexpr double kContactAreaFactor = 0.0031830988614222804;
    static constexpr double kContactPressurePsi = 100.0;

    explicit MonteCarloSampler(std::uint32_t seed = 1) : seed_(seed) {}

    // Seeds the generator with the calendar time in whole seconds; returns the seed used.
    std::uint32_t seedFromClock();
    void setSeed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t seed() const { return seed_; }

    // 0 to 32767.
    int nextRaw();
    // k / 32767 for k = 1 to 32767: a raw 0 is drawn again, so 0 < u <= 1.
    double uniformDeviate();

    // Season index 0 to 4 from the weeks of the first four seasons; the fifth takes the rest
    // of the year. A u on a boundary belongs to the next season.
    static int pickSeason(double u, const std::array<int, kSeasonCount>& weeks);
    static NormalPair normalPair(double u1, double u2);
    // Normal or log-normal (any distribution code other than Normal) value with mean
    // means[season] and coefficient of variation cov percent.
    static double sampleModulus(const std::array<double, kSeasonCount>& means, int season, double z,
                                int distribution, double cov);
    // As sampleModulus with one mean; a metric thickness (cm, valuesInEnglish = 0) comes back in
    // inches.
    static double sampleThickness(double mean, double z, int distribution, double cov,
                                  int valuesInEnglish);
    // Raises value to floor when it is below it or not a number.
    static void raiseTo(double& value, double floor);
    // 0 Single, 1 Tandem, 2 Tridem, 3 Steer; Steer takes every u at or above the sum of the
    // other three shares, so its own share is not read.
    static int pickAxleConfiguration(double u, double single, double tandem, double tridem,
                                     double steer);
    // Load per tire (lb) of the first bin whose cumulative fraction exceeds u; `load` when no bin
    // does (a distribution ending a little below 1).
    static double sampleWheelLoad(double u, int tires, const BinArray& cdf, double load);
    // Fills tires / 2 wheels at 100 psi with the contact radius of `loadPerTire`; returns the
    // number of wheels. The spans must hold at least tires / 2 entries.
    static int contactCircles(double loadPerTire, int tires, std::span<double> pressure,
                              std::span<double> radius);

  private:
    std::uint32_t seed_;
};

// The load per tire of the heaviest bin with axles in a configuration's cumulative distribution,
// or 0 when the distribution is empty.
double heaviestBinLoadPerTire(const BinArray& cdf, int tires);

}  // namespace ardelon
