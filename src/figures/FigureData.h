#pragma once
// The numbers behind the result charts of a run, free of any drawing library, so that the
// desktop, the workbook and the command-line tool draw exactly the same figures:
//   response distributions against their limits, damage over time, responses against depth at
//   mean inputs, the loads that govern each criterion, and the load spectra.

#include <array>
#include <string>
#include <vector>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"
#include "reliability/AnalysisResults.h"
#include "reliability/ResponseModel.h"
#include "traffic/LoadingConditions.h"

namespace ardelon {

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const ChartPoint&) const = default;
};

// A limit drawn on a response distribution: the threshold of a criterion, or one of the five
// allowable strains of a strain distribution, with the percentile it must beat and the one the
// run reached.
struct LimitMark {
    double value = 0.0;
    double targetPercentile = 0.0;
    double actualPercentile = 0.0;
    bool pass = false;
};

// Layer, location and criterion of an evaluated slot as the charts name it:
// "Layer 1 Bottom, Horizontal Strain".
struct FigureRowName {
    int slot = 0;
    int layer = 1;
    std::string location;   // "Top", "Middle", "Bottom"
    std::string criterion;  // "Horizontal Strain", ..., "Tensile Strain"
    std::string title;
    std::string units;  // "psi", "microstrain", "milli-in"; metric projects "kPa" and "mm"
};

// Percent of loads at or below each value of a criterion's critical response, in the
// criterion's own comparison sense: where the limit is exceeded by larger values (positive
// limits, deflection) y is the percent of cycles whose critical value is <= x; where it is
// exceeded by smaller values (negative limits) y is the percent whose critical value is >= x.
// The curve therefore reads the listed percentile at each limit.
struct ResponseDistribution {
    FigureRowName name;
    bool largerExceeds = true;
    std::vector<ChartPoint> curve;  // x ascending
    std::vector<LimitMark> limits;  // one threshold, or the five allowable strains (95th to 55th)
};

// Damage accumulated over the years under growing traffic, for one transfer-function row.
struct DamageOverTime {
    FigureRowName name;
    double firstYearDamage = 0.0;  // A
    double growthPercent = 0.0;
    double yearsToDamage01 = 0.0;  // +infinity: never
    double yearsToDamage10 = 0.0;
    std::vector<ChartPoint> curve;  // (years, damage), years ascending; empty without damage
};

// Responses against depth at mean inputs for one season, under one representative axle group.
struct DepthProfilePoint {
    double depthInches = 0.0;
    int layer = 1;
    double epsX = 0.0, epsY = 0.0, epsZ = 0.0;  // microstrain
    double deflectionMils = 0.0;                // milli-in, downward positive
};
struct DepthProfile {
    int season = 0;
    int configuration = Single;
    double axleLoadPounds = 0.0;
    std::vector<DepthProfilePoint> points;      // depth ascending, interfaces in both layers
    std::vector<double> interfaceDepthsInches;  // bottoms of the layers above the subgrade
    std::vector<FigureRowName> criterionNames;  // the evaluated locations...
    std::vector<double> criterionDepthsInches;  // ...and their depths at mean thicknesses
    // ...and their strain limits, microstrain: a strain threshold, the five allowable strains of
    // a distribution, none for a stress or deflection criterion
    std::vector<std::vector<double>> criterionLimits;
};

// Share, in percent, of a criterion's exceedances (and damage) by configuration and load bin.
// A strain distribution has one of these per level, each counted against its own limit.
struct LoadShares {
    FigureRowName name;
    int level = -1;         // 0 to 4 (95th to 55th) for a strain-distribution level, else -1
    double limit = 0.0;     // the threshold or the level's allowable strain, in the row's units
    std::string levelName;  // "95th percentile, 70 microstrain"; empty for other rows
    int exceedances = 0;
    bool hasDamage = false;  // a transfer-function row with damage
    // Which limit the exceedances are counted over: "over the threshold -70 microstrain", or
    // for a strain-distribution level "over the 75th-percentile limit -74.2 microstrain"; in kPa
    // or mm for a metric project's stress or deflection.
    std::string limitNote;
    std::array<std::array<double, kBinCount>, kConfigurationCount> exceedancePercent{};
    std::array<std::array<double, kBinCount>, kConfigurationCount> damagePercent{};
};

// The load spectra of the project: percent of axle groups by bin, per configuration.
struct LoadSpectraFigure {
    std::array<std::string, kBinCount> binLabels;
    std::array<bool, kConfigurationCount> configurationUsed{};
    std::array<std::array<double, kBinCount>, kConfigurationCount> percent{};
};

// Every figure of a run. The distribution, damage and load-share figures need the run's cycle
// records (AnalysisRunOptions::keepCycleRecords).
struct RunFigures {
    std::vector<ResponseDistribution> distributions;
    std::vector<DamageOverTime> damage;
    std::vector<DepthProfile> depthProfiles;
    std::vector<LoadShares> loadShares;
    LoadSpectraFigure spectra;
};

// The chart name of slot 0 to 12.
FigureRowName figureRowName(const CStenorDoc& work, int slot);

// Percent of `cycles` cycles whose critical value is on the safe side of `x` (inclusive), from
// critical values sorted ascending; the count is turned into percent the way the result lists
// do for the row kind (strain-distribution levels: (N - count) x 100 / N; other rows:
// 100 - count x 100 / N), so that the value at a limit equals the listed percentile exactly.
double percentAtOrBelow(const std::vector<double>& sortedValues, double x, bool largerExceeds,
                        int cycles, bool distributionLevel);

// The curve keeps at most this many steps of the empirical distribution (plus the limits).
inline constexpr int kMaxDistributionPoints = 200;

std::vector<ResponseDistribution> responseDistributions(const CStenorDoc& work,
                                                        const AnalysisResults& results);
std::vector<DamageOverTime> damageOverTime(const CStenorDoc& work, const AnalysisResults& results);
// Damage after `years` years: A × ((1 + r)^t − 1) / r, or A × t without growth.
double damageAfterYears(double firstYearDamage, double growthPercent, double years);

// One response computation per enabled season, at the seasonal moduli and the mean thicknesses,
// under the configuration with the largest share carrying its mean axle load, on a depth grid
// through every layer at the centre of the first wheel. Empty when the model fails.
std::vector<DepthProfile> depthProfiles(const CStenorDoc& work, const ResponseModelFactory& models);
// The mean thicknesses in inches, floored at 1 inch as a cycle's draw is.
std::array<double, kThicknessCount> meanThicknessInches(const CStenorDoc& work);

std::vector<LoadShares> loadShares(const CStenorDoc& work, const AnalysisResults& results);
LoadSpectraFigure loadSpectraFigure(const CStenorDoc& work);
// The spectra of the Load Spectra module's working copy, the shown configuration as edited.
LoadSpectraFigure loadSpectraFigure(const LoadingWorkingCopy& traffic);

// Depth in the units the project shows: inches, or centimetres in metric projects.
double displayDepth(double inches, int unitSystem);
const char* depthUnit(int unitSystem);  // "in." or "cm"
// Axle load in kips, or kN in metric projects; deflection in milli-in, or mm.
double displayAxleLoad(double pounds, int unitSystem);
const char* axleLoadUnit(int unitSystem);  // "kips" or "kN"
double displayDeflection(double mils, int unitSystem);
const char* deflectionUnit(int unitSystem);  // "milli-in" or "mm"

// The files writeFigureCsv writes into its folder.
inline constexpr std::array<const char*, 6> kFigureFileNames = {
    "response-distributions.csv", "response-limits.csv", "damage-over-time.csv",
    "depth-profiles.csv",         "governing-loads.csv", "load-spectra.csv"};

// Writes every figure's data as CSV files (kFigureFileNames) into the existing folder `folder`,
// all or none of them. Numbers carry all their digits.
FileResult writeFigureCsv(const RunFigures& figures, int unitSystem, const std::string& folder);

RunFigures runFigures(const CStenorDoc& work, const AnalysisResults& results,
                      const ResponseModelFactory& models);

}  // namespace ardelon
