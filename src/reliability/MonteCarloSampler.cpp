#include "reliability/MonteCarloSampler.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "project/Units.h"

namespace ardelon {

std::uint32_t MonteCarloSampler::seedFromClock() {
    seed_ = static_cast<std::uint32_t>(std::time(nullptr));
    return seed_;
}

int MonteCarloSampler::nextRaw() {
    seed_ = seed_ * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((seed_ >> 16) & 0x7FFFu);
}

double MonteCarloSampler::uniformDeviate() {
    double u = 0.0;
    while (u == 0.0)
        u = nextRaw() * kRawToUniform;
    return u;
}

int MonteCarloSampler::pickSeason(double u, const std::array<int, kSeasonCount>& weeks) {
    // Summed in 64 bits: weeks from a damaged file cannot overflow, and every sum an int can
    // hold converts to the same double as before.
    const std::int64_t c1 = weeks[0];
    const std::int64_t c2 = c1 + weeks[1];
    const std::int64_t c3 = c2 + weeks[2];
    const std::int64_t c4 = c3 + weeks[3];
    if (u < static_cast<double>(c1) * kWeekToYear)
        return 0;
    if (u < static_cast<double>(c2) * kWeekToYear)
        return 1;
    if (u < static_cast<double>(c3) * kWeekToYear)
        return 2;
    if (u < static_cast<double>(c4) * kWeekToYear)
        return 3;
    return 4;
}

NormalPair MonteCarloSampler::normalPair(double u1, double u2) {
    const double r = std::sqrt(-2.0 * std::log(u1));
    const double theta = u2 * kTwoPi;
    return {r * std::sin(theta), r * std::cos(theta)};
}

namespace {

double sampleByMeanAndCov(double mean, double z, int distribution, double cov) {
    const double s = cov * 0.01 * mean;
    if (distribution == Normal)
        return mean + z * s;
    // Log-normal with mean `mean` and the given coefficient of variation. A zero mean has no
    // log-normal and gives 0; a zero spread gives the mean itself.
    if (mean == 0.0)
        return 0.0;
    const double t = s / mean;
    const double sigma = std::sqrt(std::log(1.0 + t * t));
    if (sigma == 0.0)
        return mean;
    const double mu = std::log(mean) - sigma * sigma * 0.5;
    return std::exp(mu + sigma * z);
}

}  // namespace

double MonteCarloSampler::sampleModulus(const std::array<double, kSeasonCount>& means, int season,
                                        double z, int distribution, double cov) {
    return sampleByMeanAndCov(means[static_cast<std::size_t>(season)], z, distribution, cov);
}

double MonteCarloSampler::sampleThickness(double mean, double z, int distribution, double cov,
                                          int valuesInEnglish) {
    double x = sampleByMeanAndCov(mean, z, distribution, cov);
    if (valuesInEnglish == 0)
        x *= units::kCmToInch;
    return x;
}

void MonteCarloSampler::raiseTo(double& value, double floor) {
    if (!(value >= floor))
        value = floor;  // also catches NaN
}

int MonteCarloSampler::pickAxleConfiguration(double u, double single, double tandem, double tridem,
                                             double /*steer*/) {
    if (u < single)
        return Single;
    if (u < single + tandem)
        return Tandem;
    if (u < single + tandem + tridem)
        return Tridem;
    return Steer;
}

double MonteCarloSampler::sampleWheelLoad(double u, int tires, const BinArray& cdf, double load) {
    for (int k = 0; k < kBinCount; ++k) {
        if (u < cdf[static_cast<std::size_t>(k)])
            return (1000.0 + 2000.0 * k) / tires;
    }
    return load;
}

int MonteCarloSampler::contactCircles(double loadPerTire, int tires, std::span<double> pressure,
                                      std::span<double> radius) {
    const int wheels = tires / 2;
    const double r = std::sqrt(loadPerTire * kContactAreaFactor);
    for (int i = 0; i < wheels; ++i) {
        pressure[static_cast<std::size_t>(i)] = kContactPressurePsi;
        radius[static_cast<std::size_t>(i)] = r;
    }
    return wheels;
}

double heaviestBinLoadPerTire(const BinArray& cdf, int tires) {
    for (int k = kBinCount - 1; k >= 0; --k) {
        const double below = k == 0 ? 0.0 : cdf[static_cast<std::size_t>(k - 1)];
        if (cdf[static_cast<std::size_t>(k)] > below)
            return (1000.0 + 2000.0 * k) / tires;
    }
    return 0.0;
}

}  // namespace ardelon
