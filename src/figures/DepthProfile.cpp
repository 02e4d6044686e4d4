// Strains and deflection against depth at mean inputs, one response computation per season.

#include <algorithm>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "project/ShownUnits.h"
#include "project/Units.h"
#include "reliability/CycleGeometry.h"
#include "reliability/MonteCarloSampler.h"

namespace ardelon {
namespace {

constexpr int kPointsPerFiniteLayer = 9;  // top, bottom and seven between
constexpr int kSubgradePoints = 10;
constexpr double kSubgradeDepthShownInches = 36.0;
constexpr double kModulusFloorPsi = 1000.0;  // as a cycle's draw
constexpr double kThicknessFloorInches = 1.0;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The configuration with the largest share (the first of equals) and its mean axle load.
std::pair<int, double> representativeAxle(const CStenorDoc& work) {
    int configuration = Single;
    for (int c = 1; c < kConfigurationCount; ++c) {
        if (work.axleTypeFraction[at(c)] > work.axleTypeFraction[at(configuration)])
            configuration = c;
    }
    double percent = 0.0, weighted = 0.0;
    for (int k = 0; k < kBinCount; ++k) {
        const double p = work.loadSpectra[at(configuration)][at(k)];
        percent += p;
        weighted += p * (1000.0 + 2000.0 * k);
    }
    return {configuration, percent > 0.0 ? weighted / percent : 0.0};
}

bool seasonDrawn(const CStenorDoc& work, int season) {
    if (season < kSeasonCount - 1)
        return work.seasonWeeks[at(season)] > 0;
    return work.seasonEnabled[at(season)] == 1 && work.seasonWeeks[at(season)] > 0;
}

// The solver layer (1 to 5) holding `depth`, from the layer tops of all four thicknesses; a
// depth on an interface belongs to the layer below unless `upper` asks for the one above.
int layerAtDepth(const std::array<double, kThicknessCount>& h, double depth, bool upper) {
    double bottom = 0.0;
    for (int i = 0; i < kThicknessCount; ++i) {
        bottom += h[at(i)];
        if (depth < bottom || (upper && depth == bottom))
            return i + 1;
    }
    return kLayerCount;
}

}  // namespace

std::array<double, kThicknessCount> meanThicknessInches(const CStenorDoc& work) {
    std::array<double, kThicknessCount> h{};
    for (int i = 0; i < kThicknessCount; ++i) {
        h[at(i)] =
            heldInEnglish(work) ? work.thickness[at(i)] : work.thickness[at(i)] * units::kCmToInch;
        MonteCarloSampler::raiseTo(h[at(i)], kThicknessFloorInches);
    }
    return h;
}

std::vector<DepthProfile> depthProfiles(const CStenorDoc& work,
                                        const ResponseModelFactory& models) {
    std::vector<DepthProfile> profiles;
    const auto [configuration, axleLoad] = representativeAxle(work);
    if (!(axleLoad > 0.0) || !models)
        return profiles;
    const int layers = work.layerCountIndex + 2;
    const std::array<double, kThicknessCount> h = meanThicknessInches(work);

    // The grid: every layer above the subgrade from its top to its bottom (an interface appears
    // once in each layer it bounds), then the top of the subgrade downward.
    std::vector<EvaluationPoint> grid;
    std::vector<double> interfaces;
    double top = 0.0;
    for (int layer = 1; layer < layers; ++layer) {
        const double bottom = top + h[at(layer - 1)];
        for (int j = 0; j < kPointsPerFiniteLayer; ++j) {
            const double depth = top + (bottom - top) * j / (kPointsPerFiniteLayer - 1);
            grid.push_back({0.0, 0.0, depth, layerAtDepth(h, depth, j > 0)});
        }
        interfaces.push_back(bottom);
        top = bottom;
    }
    for (int j = 0; j < kSubgradePoints; ++j) {
        const double depth = top + kSubgradeDepthShownInches * j / (kSubgradePoints - 1);
        grid.push_back({0.0, 0.0, depth, layerAtDepth(h, depth, false)});
    }

    // The profile draws the direct strains and the deflection only.
    for (EvaluationPoint& point : grid) {
        point.responses =
            responseBit(EpsX) | responseBit(EpsY) | responseBit(EpsZ) | responseBit(DispZ);
    }

    const int tires = kTiresPerConfiguration[at(configuration)];
    std::array<double, 6> pressure{}, radius{};
    const int wheels = MonteCarloSampler::contactCircles(axleLoad / tires, tires, pressure, radius);
    const auto layout = wheelLayout(configuration);
    std::vector<CircularLoad> loads;
    for (int i = 0; i < wheels; ++i)
        loads.push_back({pressure[at(i)], radius[at(i)], layout[at(i)][0], layout[at(i)][1]});

    std::vector<FigureRowName> names;
    std::vector<double> criterionDepths;
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    std::vector<std::vector<double>> criterionLimits;
    for (int k = 0; k < slots.count; ++k) {
        names.push_back(figureRowName(work, slots.slot[at(k)]));
        criterionDepths.push_back(slotDepth(slots.slot[at(k)], h));
        const CriterionSlot& c = work.criteria[at(slots.slot[at(k)])];
        std::vector<double> limits;
        if (c.responseType == HorizontalStrainDistribution)
            limits.assign(c.distribution.begin(), c.distribution.end());
        else if (c.responseType >= HorizontalStrain && c.responseType <= PrincipalStrain)
            limits.push_back(c.threshold);
        criterionLimits.push_back(std::move(limits));
    }

    const auto model = models();
    for (int season = 0; season < kSeasonCount; ++season) {
        if (!seasonDrawn(work, season))
            continue;
        LayerSystem system;
        for (int i = 0; i < kLayerCount; ++i) {
            // Layers below the last one take its modulus, as in every cycle.
            const int from = std::min(i, layers - 1);
            system.modulus[at(i)] = work.seasonalModulus[at(from)][at(season)];
            MonteCarloSampler::raiseTo(system.modulus[at(i)], kModulusFloorPsi);
        }
        system.thickness = h;
        system.poisson = work.poisson;
        for (int i = 0; i < 3; ++i)
            system.bond[at(i)] = work.slipValue[at(i)];
        ResponseTable table;
        model->computeResponses(system, loads, grid, table);
        if (!model->lastFailure().empty())
            return {};

        DepthProfile p;
        p.season = season;
        p.configuration = configuration;
        p.axleLoadPounds = axleLoad;
        p.interfaceDepthsInches = interfaces;
        p.criterionNames = names;
        p.criterionDepthsInches = criterionDepths;
        p.criterionLimits = criterionLimits;
        for (int i = 0; i < static_cast<int>(grid.size()); ++i) {
            p.points.push_back({grid[at(i)].depth, grid[at(i)].layer, table.at(EpsX, i) * 1e6,
                                table.at(EpsY, i) * 1e6, table.at(EpsZ, i) * 1e6,
                                table.at(DispZ, i) * -1000.0});
        }
        profiles.push_back(std::move(p));
    }
    return profiles;
}

}  // namespace ardelon
