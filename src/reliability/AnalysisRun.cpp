#include "reliability/AnalysisRun.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisInputRanges.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

constexpr double kMicrostrain = 1000000.0;
constexpr double kMilliInchDeflection = -1000.0;  // DispZ is reported negated
// Cycles per block: the responses of a block are computed in parallel, then evaluated in order.
constexpr int kBlockCycles = 256;

constexpr std::array<std::array<double, 2>, 2> kSingleWheels{{{0, 0}, {13.5, 0}}};
constexpr std::array<std::array<double, 2>, 4> kTandemWheels{
    {{0, 0}, {13.5, 0}, {13.5, 54}, {0, 54}}};
constexpr std::array<std::array<double, 2>, 6> kTridemWheels{
    {{0, 0}, {13.5, 0}, {13.5, 54}, {0, 54}, {0, 108}, {13.5, 108}}};
constexpr std::array<std::array<double, 2>, 1> kSteerWheels{{{0, 0}}};

constexpr std::array<const char*, 3> kLocationNames{"Top", "Middle", "Bottom"};
constexpr std::array<const char*, kDistributionLevels> kLevelPercentileTexts{"95", "85", "75", "65",
                                                                             "55"};
constexpr std::array<double, kDistributionLevels> kLevelPercentiles{95.0, 85.0, 75.0, 65.0, 55.0};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The rows a response type reads and the scale that turns them into the criterion's units.
struct TypeRows {
    int first = -1;
    int second = -1;  // -1 when the type reads one row
    double scale = 1.0;
};

TypeRows rowsOf(int type, double threshold) {
    switch (type) {
        case HorizontalStress:
            return {SigmaX, SigmaY, 1.0};
        case VerticalStress:
            return {SigmaZ, -1, 1.0};
        case PrincipalStress:
            return {threshold >= 0 ? Sigma1 : Sigma3, -1, 1.0};
        case HorizontalStrain:
            return {EpsX, EpsY, kMicrostrain};
        case VerticalStrain:
            return {EpsZ, -1, kMicrostrain};
        case PrincipalStrain:
            return {threshold >= 0 ? Eps1 : Eps3, -1, kMicrostrain};
        case VerticalDeflection:
            return {DispZ, -1, kMilliInchDeflection};
        case HorizontalStrainDistribution:
            return {EpsX, EpsY, kMicrostrain};
        default:
            return {};
    }
}

bool exceeds(double v, double limit) {
    return limit >= 0 ? v > limit : v < limit;
}

std::string layerText(int slot) {
    return std::to_string(slotLayer(slot));
}

double percentBelow(int exceedances, int cycles) {
    return 100.0 - exceedances * 100.0 / cycles;
}

}  // namespace

bool isEvaluatedSlot(const CriterionSlot& criterion, int slot) {
    return criterion.active == 1 && slot >= 0 && slot <= 12 && criterion.responseType >= 0 &&
           criterion.responseType < kResponseTypeCount;
}

EvaluatedSlots evaluatedSlots(const CriterionSlots& criteria) {
    EvaluatedSlots slots;
    for (int i = 0; i < kSlotCount; ++i) {
        if (isEvaluatedSlot(criteria[at(i)], i))
            slots.slot[at(slots.count++)] = i;
    }
    return slots;
}

void zeroThicknessCovBelowLastLayer(CStenorDoc& work) {
    const int layers = std::clamp(work.layerCountIndex, 0, 3) + 2;
    // Layers `layers` and below have no thickness of their own (the last one is semi-infinite).
    for (int layer = layers; layer <= kThicknessCount; ++layer)
        work.thicknessCov[at(layer - 1)] = 0.0;
}

// ---- Draws ----------------------------------------------------------------------------------

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

// ---- Geometry -------------------------------------------------------------------------------

std::span<const std::array<double, 2>> wheelLayout(int configuration) {
    switch (configuration) {
        case Tandem:
            return kTandemWheels;
        case Tridem:
            return kTridemWheels;
        case Steer:
            return kSteerWheels;
        default:
            return kSingleWheels;
    }
}

double slotDepth(int slot, const std::array<double, kThicknessCount>& h) {
    if (slot >= 12)
        return h[0] + h[1] + h[2] + h[3] + kLayer5TopOffsetInches;
    const int layer = slot / 3;  // 0-based
    double top = 0.0;
    for (int i = 0; i < layer; ++i)
        top += h[at(i)];
    switch (slot % 3) {
        case Top:
            return top;
        case Middle:
            return top + h[at(layer)] * 0.5;
        default:
            return top + h[at(layer)];
    }
}

int slotLayerNumber(int slot) {
    return std::min(slot / 3 + 1, kLayerCount);
}

CycleGeometry cycleGeometry(const CycleSample& s, const CStenorDoc& work,
                            const EvaluatedSlots& slots) {
    CycleGeometry g;
    g.system.modulus = s.modulus;
    g.system.thickness = s.thickness;
    g.system.poisson = work.poisson;
    for (int i = 0; i < 3; ++i)
        g.system.bond[at(i)] = work.slipValue[at(i)];

    const int tires = kTiresPerConfiguration[at(s.configuration)];
    std::array<double, 6> pressure{}, radius{};
    g.loadCount = MonteCarloSampler::contactCircles(s.loadPerTire, tires, pressure, radius);
    const auto wheels = wheelLayout(s.configuration);
    for (int i = 0; i < g.loadCount; ++i) {
        g.loads[at(i)] = {pressure[at(i)], radius[at(i)], wheels[at(i)][0], wheels[at(i)][1]};
    }

    for (int k = 0; k < slots.count; ++k) {
        const int slot = slots.slot[at(k)];
        const double depth = slotDepth(slot, s.thickness);
        for (const auto& xy : kEvaluationPlanPositions) {
            g.points[at(g.pointCount++)] = {xy[0], xy[1], depth, slotLayerNumber(slot)};
        }
    }
    return g;
}

// ---- Evaluation -----------------------------------------------------------------------------

void evaluateCycle(const CriterionSlots& criteria, const EvaluatedSlots& slots,
                   const ResponseTable& table, int cycles, AnalysisResults& results) {
    for (int k = 0; k < slots.count; ++k) {
        const int i = slots.slot[at(k)];
        const CriterionSlot& c = criteria[at(i)];
        const int p = k * kPointsPerLocation;
        const int type = c.responseType;

        if (type == HorizontalStrainDistribution) {
            const auto& limits = c.distribution;
            const TypeRows rows = rowsOf(type, limits[0]);
            const bool largest = limits[0] >= 0;
            double critical = largest ? -INFINITY : INFINITY;
            std::array<bool, kDistributionLevels> levelExceeded{};
            for (int j = 0; j < kPointsPerLocation; ++j) {
                for (int row : {rows.first, rows.second}) {
                    const double v = table.at(row, p + j) * rows.scale;
                    critical = largest ? std::max(critical, v) : std::min(critical, v);
                    for (int n = 0; n < kDistributionLevels; ++n) {
                        if (exceeds(v, limits[at(n)]))
                            levelExceeded[at(n)] = true;
                    }
                }
            }
            results.cycleValues[at(k)] = critical;
            for (int n = 0; n < kDistributionLevels; ++n) {
                if (levelExceeded[at(n)])
                    ++results.limitExceedCount[at(n)][at(i)];
            }
            continue;
        }

        const double T = c.threshold;
        const TypeRows rows = rowsOf(type, T);
        // Deflection is judged by its largest value whatever the sign of the threshold.
        const bool deflection = type == VerticalDeflection;
        const bool largest = deflection || T >= 0;
        double critical = largest ? -INFINITY : INFINITY;
        int firstExceeding = -1;
        for (int j = 0; j < kPointsPerLocation; ++j) {
            bool pointExceeds = false;
            for (int row : {rows.first, rows.second}) {
                if (row < 0)
                    continue;
                const double v = table.at(row, p + j) * rows.scale;
                critical = largest ? std::max(critical, v) : std::min(critical, v);
                if (deflection ? v > T : exceeds(v, T))
                    pointExceeds = true;
            }
            if (pointExceeds && firstExceeding < 0)
                firstExceeding = j;
        }
        results.cycleValues[at(k)] = critical;
        if (firstExceeding < 0)
            continue;
        ++results.exceedCount[at(i)];
        if (type == HorizontalStrain || type == VerticalStrain) {
            const int point = p + firstExceeding;
            double strain = 0.0;
            if (type == VerticalStrain) {
                strain = table.at(EpsZ, point);
            } else {
                const double ex = table.at(EpsX, point), ey = table.at(EpsY, point);
                strain = T < 0 ? std::min(ex, ey) : std::max(ex, ey);
            }
            const double allowedLoads = c.k1 * std::pow(1.0 / std::fabs(strain), c.k2);
            results.damagePerMillion[at(i)] += (1.0 / allowedLoads) * 1000000.0 / cycles;
        }
    }
}

// ---- Lists ----------------------------------------------------------------------------------

ResultLists buildResultLists(const CStenorDoc& work, const AnalysisResults& results) {
    ResultLists lists;
    const int n = results.cycles;
    for (int i = 0; i <= 12; ++i) {
        const CriterionSlot& c = work.criteria[at(i)];
        if (!isEvaluatedSlot(c, i) || c.responseType >= HorizontalStrainDistribution)
            continue;
        if (c.useTransferFunction == 0)
            continue;
        const ResponseName name = responseName(c.responseType);
        TransferFunctionRow row;
        row.slot = i;
        row.threshold = c.threshold;
        row.exceedCount = results.exceedCount[at(i)];
        row.percentBelowCritical = percentBelow(row.exceedCount, n);
        row.damageShown = work.esalFactor >= 0;
        row.damagePerMillion = results.damagePerMillion[at(i)];
        row.yearsToDamage01 = yearsUntilDamage(work.axleGroupsPerDay, row.damagePerMillion,
                                               work.truckGrowthPercent, 0.1);
        row.yearsToDamage10 = yearsUntilDamage(work.axleGroupsPerDay, row.damagePerMillion,
                                               work.truckGrowthPercent, 1.0);
        row.cells = {layerText(i),
                     kLocationNames[at(slotPosition(i))],
                     std::string(name.name),
                     formatSignificant(c.threshold),
                     std::string(name.units),
                     formatSignificant(row.percentBelowCritical),
                     row.damageShown ? formatSignificant(row.damagePerMillion) : std::string(),
                     formatYears(row.yearsToDamage01),
                     formatYears(row.yearsToDamage10)};
        lists.transferFunction.push_back(std::move(row));
    }

    for (int i = 0; i <= 12; ++i) {
        const CriterionSlot& c = work.criteria[at(i)];
        if (!isEvaluatedSlot(c, i))
            continue;
        if (c.responseType == HorizontalStrainDistribution) {
            for (int level = 0; level < kDistributionLevels; ++level) {
                PercentileRow row;
                row.slot = i;
                row.level = level;
                row.targetValue = c.distribution[at(level)];
                row.targetPercentile = kLevelPercentiles[at(level)];
                row.exceedCount = results.limitExceedCount[at(level)][at(i)];
                row.actualPercentile = (n - row.exceedCount) * 100.0 / n;
                row.pass = row.actualPercentile > row.targetPercentile;
                const bool first = level == 0;
                row.cells = {first ? layerText(i) : std::string(),
                             first ? kLocationNames[at(slotPosition(i))] : std::string(),
                             first ? std::string("Tensile Strain") : std::string(),
                             first ? std::string("microstrain") : std::string(),
                             formatSignificant(row.targetValue),
                             kLevelPercentileTexts[at(level)],
                             formatSignificant(row.actualPercentile),
                             row.pass ? "Pass" : "Fail"};
                lists.percentile.push_back(std::move(row));
            }
            continue;
        }
        if (c.useTransferFunction != 0)
            continue;
        const ResponseName name = responseName(c.responseType);
        PercentileRow row;
        row.slot = i;
        row.targetValue = c.threshold;
        row.targetPercentile = c.targetPercentile;
        row.exceedCount = results.exceedCount[at(i)];
        row.actualPercentile = percentBelow(row.exceedCount, n);
        row.pass = row.actualPercentile > row.targetPercentile;
        // The bottom of layer 1 reads "Bot" in this list.
        row.cells = {layerText(i),
                     i == 2 ? std::string("Bot") : std::string(kLocationNames[at(slotPosition(i))]),
                     std::string(name.name),
                     std::string(name.units),
                     formatSignificant(c.threshold),
                     formatSignificant(c.targetPercentile),
                     formatSignificant(row.actualPercentile),
                     row.pass ? "Pass" : "Fail"};
        lists.percentile.push_back(std::move(row));
    }
    return lists;
}

// ---- The run --------------------------------------------------------------------------------

std::optional<AnalysisRefusal> checkAnalysisInputs(const CStenorDoc& work, int cycles) {
    if (cycles < 1)
        return AnalysisRefusal{std::string(kCyclesCaption), std::string(kCyclesTooFewText)};
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    if (slots.count > kMaxEvaluatedLocations) {
        return AnalysisRefusal{
            std::string(kTooManyLocationsCaption),
            "The analysis evaluates at most 10 criterion locations at a time (five points each), "
            "but " +
                std::to_string(slots.count) +
                " are active. Please deactivate some criteria in the Structure module."};
    }
    const auto& f = work.axleTypeFraction;
    for (int c = 0; c < kConfigurationCount; ++c) {
        const bool empty = heaviestBinLoadPerTire(work.loadCdf[at(c)], 2) == 0.0;
        if (!empty)
            continue;
        const std::string name(kConfigurationNames[at(c)]);
        if (f[at(c)] > 0) {
            return AnalysisRefusal{
                std::string(kEmptyLoadDistributionCaption),
                "The " + name + " axles carry " + formatSignificant(f[at(c)] * 100.0) +
                    " % of the axle groups but their cumulative load distribution is empty. "
                    "Please open the Load Spectra module and accept it to compute the load "
                    "distributions."};
        }
        // Steer axles take every draw at or above the sum of the other three shares.
        if (c == Steer && f[0] + f[1] + f[2] < 1.0) {
            return AnalysisRefusal{
                std::string(kEmptyLoadDistributionCaption),
                "The axle configuration shares add up to less than 100 %, so the remainder is "
                "analysed as Steer axles, whose cumulative load distribution is empty. Please "
                "correct the shares in the Load Spectra module and accept it."};
        }
    }
    if (std::string problem = analysisInputRangeProblem(work); !problem.empty())
        return AnalysisRefusal{std::string(kInputOutOfRangeCaption), std::move(problem)};
    return std::nullopt;
}

AnalysisRunOutcome runAnalysis(CStenorDoc& work, const ResponseModelFactory& models,
                               const AnalysisRunOptions& options) {
    AnalysisRunOutcome outcome;
    if (auto refusal = checkAnalysisInputs(work, options.cycles)) {
        outcome.refusal = *refusal;
        return outcome;
    }
    const int cycles = options.cycles;
    CStenorDoc run = work;  // the working copy changes only when the run completes
    zeroThicknessCovBelowLastLayer(run);
    const EvaluatedSlots slots = evaluatedSlots(run.criteria);

    RawDataFile raw;
    if (!options.rawDataPath.empty()) {
        std::string error = raw.open(options.rawDataPath, slots.count, options.startTime);
        if (!error.empty()) {
            outcome.refusal = {std::string(kRawDataCaption), std::move(error)};
            return outcome;
        }
    }

    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, kBlockCycles);
    std::vector<std::unique_ptr<ResponseModel>> model;
    for (int t = 0; t < threads; ++t)
        model.push_back(models());

    AnalysisResults& results = outcome.results;
    results.cycles = cycles;
    CycleDrawer drawer(run, options.seed);
    std::vector<CycleSample> samples(at(std::min(cycles, kBlockCycles)));
    std::vector<CycleGeometry> geometry(samples.size());
    std::vector<ResponseTable> tables(samples.size());
    auto cancelled = [&] {
        return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
    };

    for (int blockStart = 0; blockStart < cycles; blockStart += kBlockCycles) {
        const int blockSize = std::min(kBlockCycles, cycles - blockStart);
        for (int b = 0; b < blockSize; ++b) {
            samples[at(b)] = drawer.next();
            geometry[at(b)] = cycleGeometry(samples[at(b)], run, slots);
        }
        std::atomic<int> nextCycle{0};
        auto computeBlock = [&](int t) {
            for (int b = nextCycle.fetch_add(1); b < blockSize; b = nextCycle.fetch_add(1)) {
                if (cancelled())
                    return;
                const CycleGeometry& g = geometry[at(b)];
                ResponseTable& table = tables[at(b)];
                table = ResponseTable{};
                model[at(t)]->computeResponses(g.system, std::span(g.loads.data(), at(g.loadCount)),
                                               std::span(g.points.data(), at(g.pointCount)), table);
            }
        };
        const int helpers = std::min(threads, blockSize) - 1;
        std::vector<std::thread> pool;
        pool.reserve(at(helpers));
        for (int t = 1; t <= helpers; ++t)
            pool.emplace_back(computeBlock, t);
        computeBlock(0);
        for (auto& thread : pool)
            thread.join();
        if (cancelled()) {
            raw.discard();
            outcome = AnalysisRunOutcome{};
            outcome.status = AnalysisStatus::Cancelled;
            return outcome;
        }

        for (int b = 0; b < blockSize; ++b) {
            const CycleSample& s = samples[at(b)];
            raw.writeCycleSamples(blockStart + b + 1, {s.season, s.modulus, s.thickness,
                                                       s.configuration, s.loadPerTire});
            std::fill_n(results.cycleValues.begin(), slots.count, 0.0);
            evaluateCycle(run.criteria, slots, tables[at(b)], cycles, results);
            raw.writeCycleValues(std::span(results.cycleValues.data(), at(slots.count)));
        }
        if (options.progress)
            options.progress(blockStart + blockSize, cycles);

        if (blockStart + blockSize == cycles) {
            // The last cycle's points and responses stay with the module.
            const CycleGeometry& g = geometry[at(blockSize - 1)];
            OutputModuleState& out = run.output;
            for (int i = 0; i < g.pointCount; ++i) {
                out.pointX[at(i)] = g.points[at(i)].x;
                out.pointY[at(i)] = g.points[at(i)].y;
                out.pointDepth[at(i)] = g.points[at(i)].depth;
                out.pointLayer[at(i)] = g.points[at(i)].layer;
            }
            out.responses = tables[at(blockSize - 1)];
            out.loadCount = results.loadCount = g.loadCount;
            out.pointCount = results.pointCount = g.pointCount;
        }
    }

    if (std::string error = raw.commit(); !error.empty()) {
        outcome = AnalysisRunOutcome{};
        outcome.refusal = {std::string(kRawDataCaption), std::move(error)};
        return outcome;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        run.criteria[at(i)].damagePerMillion = results.damagePerMillion[at(i)];
    }
    outcome.lists = buildResultLists(run, results);
    outcome.status = AnalysisStatus::Completed;
    work = std::move(run);
    return outcome;
}

}  // namespace ardelon
