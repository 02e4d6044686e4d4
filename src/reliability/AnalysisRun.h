#pragma once
// The Monte Carlo reliability analysis of a design: N cycles, each drawing a season, the layer
// moduli and thicknesses, an axle configuration and a wheel load, computing the responses at five
// plan positions under every evaluated criterion location, and counting exceedances and fatigue or
// rutting damage per criterion. After the last cycle the counts become the two result lists.
//
// Parallel and reproducible: the samples of every cycle are drawn on the calling thread in cycle
// order, the response computations of a block of cycles run on all worker threads (one response
// model each), and the cycles are evaluated and written in cycle order. The lists, counts, damage
// sums and raw-data file are therefore bit-identical for any number of threads.

#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/MonteCarloSampler.h"
#include "reliability/RawDataFile.h"
#include "reliability/ResponseModel.h"

namespace ardelon {

// The ten locations whose five points fill the solver's 50 evaluation points.
inline constexpr int kMaxEvaluatedLocations = kMaxPoints / 5;
inline constexpr int kPointsPerLocation = 5;
inline constexpr double kThicknessFloorInches = 1.0;
inline constexpr double kModulusFloorPsi = 1000.0;
// Slot 12 (top of layer 5) is evaluated this far below the last interface.
inline constexpr double kLayer5TopOffsetInches = 0.01;

// The slots a run evaluates, in slot order: active (= 1), at a location with a depth (slots 0 to
// 12; the middle and bottom of the semi-infinite layer 5 have none) and with a response type 0 to
// 7. Each gets five points, one raw-data column and its rows in the lists.
struct EvaluatedSlots {
    std::array<int, kSlotCount> slot{};
    int count = 0;
};
bool isEvaluatedSlot(const CriterionSlot& criterion, int slot);
EvaluatedSlots evaluatedSlots(const CriterionSlots& criteria);

// The draws of one cycle.
struct CycleSample {
    int season = 0;
    std::array<double, kLayerCount> modulus{};        // psi, after copying and the floor
    std::array<double, kThicknessCount> thickness{};  // in., after the floor
    int configuration = Single;
    double loadPerTire = 0.0;  // lb
};

// Draws cycle after cycle in the run's fixed order: season; E1, E2 from one normal pair; E3, E4
// from the next; E5 from the first deviate of a third; the moduli below the last layer copied from
// it; H1, H2 and H3, H4 from two more pairs; the floors; the configuration; the wheel load.
class CycleDrawer {
  public:
    // `work` must outlive the drawer; its thickness COVs below the last layer must already be 0.
    CycleDrawer(const CStenorDoc& work, std::uint32_t seed);
    CycleSample next();

  private:
    const CStenorDoc& work_;
    MonteCarloSampler sampler_;
    double load_ = 0.0;
    bool loadDrawn_ = false;
};

// The wheels of a configuration (x, y in inches) and the five plan positions of a location.
std::span<const std::array<double, 2>> wheelLayout(int configuration);
inline constexpr std::array<std::array<double, 2>, kPointsPerLocation> kEvaluationPlanPositions{
    {{0, 0}, {6.75, 0}, {0, 27}, {6.75, 27}, {6.75, 54}}};

// Depth (in.) and layer number of slot 0 to 12 for the cycle's thicknesses.
double slotDepth(int slot, const std::array<double, kThicknessCount>& thickness);
int slotLayerNumber(int slot);

// Everything one solver call of a cycle needs.
struct CycleGeometry {
    LayerSystem system;
    std::array<CircularLoad, 6> loads{};
    int loadCount = 0;
    std::array<EvaluationPoint, kMaxPoints> points{};
    int pointCount = 0;
};
CycleGeometry cycleGeometry(const CycleSample& sample, const CStenorDoc& work,
                            const EvaluatedSlots& slots);

// Evaluates one cycle's responses against the evaluated slots: the critical values in
// results.cycleValues[0 .. slots.count), exceedance counts, damage through k1 and k2 (divided by
// N), and the strain-distribution level counts.
void evaluateCycle(const CriterionSlots& criteria, const EvaluatedSlots& slots,
                   const ResponseTable& table, int cycles, AnalysisResults& results);

// ---- Result lists -------------------------------------------------------------------------

inline constexpr std::array<std::string_view, 9> kTransferFunctionColumns{"Layer",
                                                                          "Location",
                                                                          "Criteria",
                                                                          "Threshold",
                                                                          "Units",
                                                                          "Percent Below Critical",
                                                                          "Damage/Million Axle",
                                                                          "Years to D=0.1",
                                                                          "Years to D=1.0"};
inline constexpr std::array<int, 9> kTransferFunctionColumnWidths{50,  75,  100, 100, 50,
                                                                  175, 175, 125, 125};
inline constexpr std::array<std::string_view, 8> kPercentileColumns{
    "Layer",        "Location",          "Criteria",          "Units",
    "Target Value", "Target Percentile", "Actual Percentile", "Pass/Fail?"};
inline constexpr std::array<int, 8> kPercentileColumnWidths{50, 75, 100, 50, 175, 175, 125, 125};
inline constexpr std::string_view kTransferFunctionListTitle =
    "Perpetual Pavement Design Results: Conventional Design with Transfer Functions";
inline constexpr std::string_view kPercentileListTitle =
    "Perpetual Pavement Design Results: Percentile Responses";

// One row of "Conventional Design with Transfer Functions".
struct TransferFunctionRow {
    int slot = 0;
    double threshold = 0.0;
    int exceedCount = 0;
    double percentBelowCritical = 0.0;
    bool damageShown = true;  // false when the ESAL factor is negative
    double damagePerMillion = 0.0;
    double yearsToDamage01 = 0.0;  // +infinity: never
    double yearsToDamage10 = 0.0;
    std::array<std::string, 9> cells;
};

// One row of "Percentile Responses": a criterion without transfer function, or one of the five
// levels (95th to 55th) of a strain distribution.
struct PercentileRow {
    int slot = 0;
    int level = -1;  // 0 to 4 for strain-distribution rows
    double targetValue = 0.0;
    double targetPercentile = 0.0;
    int exceedCount = 0;
    double actualPercentile = 0.0;
    bool pass = false;
    std::array<std::string, 8> cells;
};

struct ResultLists {
    std::vector<TransferFunctionRow> transferFunction;
    std::vector<PercentileRow> percentile;

    bool empty() const { return transferFunction.empty() && percentile.empty(); }
};

// Builds both lists from the counts of a run of `results.cycles` cycles over `work`'s criteria.
ResultLists buildResultLists(const CStenorDoc& work, const AnalysisResults& results);

// ---- The run --------------------------------------------------------------------------------

// Why a run cannot start, with the caption of the message that says so.
struct AnalysisRefusal {
    std::string caption;
    std::string text;
};

inline constexpr std::string_view kTooManyLocationsCaption = "Too Many Criteria";
inline constexpr std::string_view kEmptyLoadDistributionCaption = "Load Spectra Missing";
inline constexpr std::string_view kCyclesCaption = "Monte Carlo Cycles";
inline constexpr std::string_view kCyclesTooFewText =
    "Please enter a number of Monte Carlo cycles of at least 1.";
inline constexpr std::string_view kRawDataCaption = "Raw Data File";

// The checks made before any cycle: at most ten evaluated locations, a load distribution for every
// configuration the draw can pick, at least one cycle.
std::optional<AnalysisRefusal> checkAnalysisInputs(const CStenorDoc& work, int cycles);

struct AnalysisRunOptions {
    int cycles = 5000;
    std::uint32_t seed = 1;
    int threads = 0;            // 0: one per core
    std::string rawDataPath;    // empty: no raw-data file
    std::time_t startTime = 0;  // the date line of the raw-data file
    // Called on the calling thread after every block of evaluated cycles: (cycles done, N).
    std::function<void(int, int)> progress;
    const std::atomic<bool>* cancel = nullptr;  // set from anywhere to stop the run
};

enum class AnalysisStatus { Completed, Refused, Cancelled };

struct AnalysisRunOutcome {
    AnalysisStatus status = AnalysisStatus::Refused;
    AnalysisRefusal refusal;  // Refused: why (also a raw-data file that cannot be written)
    AnalysisResults results;
    ResultLists lists;
};

// Runs the analysis on the working copy `work` (the Output and Design module's): on completion it
// stores the damage per million of each slot, the zeroed thickness COVs below the last layer and
// the last cycle's points and responses in `work`, and writes the raw-data file. A refused or
// cancelled run changes nothing and leaves no raw-data file.
AnalysisRunOutcome runAnalysis(CStenorDoc& work, const ResponseModelFactory& models,
                               const AnalysisRunOptions& options);

// Sets the thickness COVs of the layers below the last one to 0 (they have no thickness).
void zeroThicknessCovBelowLastLayer(CStenorDoc& work);

}  // namespace ardelon
