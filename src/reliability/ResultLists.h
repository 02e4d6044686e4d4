#pragma once
// The two result lists of a run: "Conventional Design with Transfer Functions" and "Percentile
// Responses", with their texts as the lists and the workbook show them.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/ResultFormat.h"
#include "reliability/SettledVerdict.h"

namespace ardelon {

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

// The project's traffic as it accrues damage.
inline TrafficGrowth trafficGrowth(const CStenorDoc& work) {
    return {static_cast<double>(work.axleGroupsPerDay), work.truckGrowthPercent};
}

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
    // The interval of the years to D = 1.0 and, with a design life, the verdict against it.
    SettledInterval settledYears;
    bool lifeChecked = false;  // a design life was given
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
    SettledInterval settled;  // the actual percentile's interval and verdict
};

// How the rows' settled verdicts are judged.
struct VerdictRules {
    double confidence = kDefaultConfidence;
    std::optional<double> designLifeYears;  // transfer-function rows get a verdict against it
};

// The column the lists add after their own, and its width.
inline constexpr std::string_view kPercentileVerdictColumn = "Settled Verdict [Interval]";
inline constexpr std::string_view kTransferFunctionVerdictColumn = "Years to D=1.0 Interval";
inline constexpr int kVerdictColumnWidth = 200;
// Its heading with the confidence: "Settled Verdict [95 % Interval]".
std::string verdictColumnHeading(std::string_view column, double confidence);

struct ResultLists {
    std::vector<TransferFunctionRow> transferFunction;
    std::vector<PercentileRow> percentile;
    VerdictRules rules;

    bool empty() const { return transferFunction.empty() && percentile.empty(); }
    // True when every row that has a target (percentile rows; transfer-function rows with a
    // design life) has a settled verdict.
    bool settled() const;
};

// The added column's text of a row: "Pass [95.312, 96.104]"; for a transfer-function row without
// a design life only the interval, "[41.2, 44.9]".
std::string verdictCell(const PercentileRow& row);
std::string verdictCell(const TransferFunctionRow& row);

// Builds both lists from the counts of a run of `results.cycles` cycles over `work`'s criteria.
ResultLists buildResultLists(const CStenorDoc& work, const AnalysisResults& results,
                             const VerdictRules& rules = {});

}  // namespace ardelon
