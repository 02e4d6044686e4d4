#include "reliability/CycleDrawer.h"

#include <cmath>

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

CycleDrawer::CycleDrawer(const CStenorDoc& work, std::uint32_t seed)
    : work_(work), sampler_(seed) {}

CycleSample CycleDrawer::next() {
    const CStenorDoc& w = work_;
    CycleSample s;
    s.season = MonteCarloSampler::pickSeason(sampler_.uniformDeviate(), w.seasonWeeks);

    auto modulus = [&](int layer, double z) {
        return MonteCarloSampler::sampleModulus(w.seasonalModulus[at(layer)], s.season, z,
                                                w.modulusDistribution[at(layer)],
                                                w.modulusCov[at(layer)]);
    };
    auto pair = [&] {
        const double u1 = sampler_.uniformDeviate();
        const double u2 = sampler_.uniformDeviate();
        return MonteCarloSampler::normalPair(u1, u2);
    };
    NormalPair z = pair();
    s.modulus[0] = modulus(0, z.z1);
    s.modulus[1] = modulus(1, z.z2);
    z = pair();
    s.modulus[2] = modulus(2, z.z1);
    s.modulus[3] = modulus(3, z.z2);
    z = pair();
    s.modulus[4] = modulus(4, z.z1);
    switch (w.layerCountIndex) {
        case 0:
            s.modulus[2] = s.modulus[3] = s.modulus[4] = s.modulus[1];
            break;
        case 1:
            s.modulus[3] = s.modulus[4] = s.modulus[2];
            break;
        case 2:
            s.modulus[4] = s.modulus[3];
            break;
        default:
            break;
    }

    auto thickness = [&](int layer, double zv) {
        return MonteCarloSampler::sampleThickness(w.thickness[at(layer)], zv,
                                                  w.thicknessDistribution[at(layer)],
                                                  w.thicknessCov[at(layer)], w.valuesInEnglish);
    };
    z = pair();
    s.thickness[0] = thickness(0, z.z1);
    s.thickness[1] = thickness(1, z.z2);
    z = pair();
    s.thickness[2] = thickness(2, z.z1);
    s.thickness[3] = thickness(3, z.z2);
    for (double& h : s.thickness)
        MonteCarloSampler::raiseTo(h, kThicknessFloorInches);
    for (double& e : s.modulus)
        MonteCarloSampler::raiseTo(e, kModulusFloorPsi);

    const auto& f = w.axleTypeFraction;
    s.configuration =
        MonteCarloSampler::pickAxleConfiguration(sampler_.uniformDeviate(), f[0], f[1], f[2], f[3]);
    const int tires = kTiresPerConfiguration[at(s.configuration)];
    const BinArray& cdf = w.loadCdf[at(s.configuration)];
    const double u = sampler_.uniformDeviate();
    if (!loadDrawn_) {
        // Before any load was drawn there is no previous load to keep; the heaviest loaded bin
        // stands in (a zero load would give the solver a zero contact radius).
        load_ = heaviestBinLoadPerTire(cdf, tires);
        loadDrawn_ = true;
    }
    load_ = MonteCarloSampler::sampleWheelLoad(u, tires, cdf, load_);
    s.loadPerTire = load_;
    return s;
}

int loadBinOf(double loadPerTire, int tires) {
    // Bin k stands for an axle-group weight of 1000 + 2000 k lb.
    const long bin = std::lround((loadPerTire * tires - 1000.0) / 2000.0);
    return static_cast<int>(bin < 0 ? 0 : bin >= kBinCount ? kBinCount - 1 : bin);
}

}  // namespace ardelon
