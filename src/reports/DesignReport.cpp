#include "reports/DesignReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "project/ShownUnits.h"
#include "project/Units.h"
#include "reliability/CycleGeometry.h"
#include "reliability/ResultFormat.h"
#include "reliability/ResultLists.h"
#include "reports/FormattedReport.h"
#include "reports/ReportModel.h"
#include "reports/ReportVerdict.h"
#include "trials/TrialFile.h"
#include "trials/TrialTable.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

const char* const kLocations[3] = {"Top", "Middle", "Bottom"};

// Up to six significant digits, no trailing zeros: 8, 20.32, 0.35, 1.2e+06.
std::string plain(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::string fixed(double value, int decimals) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

int layerCount(const CStenorDoc& work) {
    return std::clamp(work.layerCountIndex, 0, 3) + 2;
}

bool seasonInUse(const CStenorDoc& work, int season) {
    return season == Summer || work.seasonEnabled[at(season)] == 1;
}

const char* distributionText(int distribution) {
    return distribution == Normal ? "Normal" : "Lognormal";
}

std::vector<ReportLayer> layers(const CStenorDoc& work) {
    std::vector<ReportLayer> out;
    const int n = layerCount(work);
    const std::string unit = heldInEnglish(work) ? " in." : " cm";
    const auto inches = meanThicknessInches(work);
    for (int layer = 1; layer <= n; ++layer) {
        ReportLayer l;
        l.layer = layer;
        l.material = reportMaterialName(layer, work.materialIndex[at(layer - 1)]);
        if (layer == n) {
            l.thickness = "semi-infinite";
        } else {
            l.thickness = plain(work.thickness[at(layer - 1)]) + unit;
            l.thicknessInches = inches[at(layer - 1)];
        }
        out.push_back(std::move(l));
    }
    return out;
}

ReportTable structureTable(const CStenorDoc& work) {
    ReportTable t{"Pavement structure",
                  {"Layer", "Material", heldInEnglish(work) ? "Thickness, in." : "Thickness, cm",
                   "Thickness COV, %", "Thickness distribution", "Poisson ratio", "Modulus COV, %",
                   "Modulus distribution"},
                  {}};
    const int n = layerCount(work);
    for (int layer = 1; layer <= n; ++layer) {
        const auto i = at(layer - 1);
        const bool bottom = layer == n;
        const bool hasThickness = layer <= kThicknessCount;
        t.rows.push_back({std::to_string(layer), reportMaterialName(layer, work.materialIndex[i]),
                          bottom ? "semi-infinite" : plain(work.thickness[i]),
                          hasThickness ? plain(work.thicknessCov[i]) : "NA",
                          hasThickness ? distributionText(work.thicknessDistribution[i]) : "NA",
                          plain(work.poisson[i]), plain(work.modulusCov[i]),
                          distributionText(work.modulusDistribution[i])});
    }
    return t;
}

ReportTable seasonsTable(const CStenorDoc& work) {
    const bool metric = !shownInEnglish(work);
    ReportTable t{
        metric ? "Seasons and layer moduli, MPa" : "Seasons and layer moduli, psi",
        {"Season", "Weeks", metric ? "Mean air temperature, C" : "Mean air temperature, F"},
        {}};
    const int n = layerCount(work);
    for (int layer = 1; layer <= n; ++layer)
        t.columns.push_back("Layer " + std::to_string(layer));
    for (int season = 0; season < kSeasonCount; ++season) {
        if (!seasonInUse(work, season))
            continue;
        const double f = work.meanAirTemperature[at(season)];
        std::vector<std::string> row{std::string(kSeasonNames[at(season)]),
                                     std::to_string(work.seasonWeeks[at(season)]),
                                     metric ? fixed(units::fahrenheitToCelsius(f), 1) : plain(f)};
        for (int layer = 1; layer <= n; ++layer) {
            // Whole psi, or MPa to a tenth: moduli read without exponents.
            const double psi = work.seasonalModulus[at(layer - 1)][at(season)];
            row.push_back(metric ? fixed(psi * units::kPsiToMpa, 1) : fixed(psi, 0));
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

ReportTable trafficTable(const CStenorDoc& work) {
    ReportTable t{"Traffic", {"Input", "Value"}, {}};
    t.rows = {{"Two-way AADT", std::to_string(work.aadt)},
              {"Trucks, %", plain(work.percentTrucks)},
              {"Trucks in the design lane, %", plain(work.percentTrucksDesignLane)},
              {"Directional distribution, %", plain(work.directionalDistribution)},
              {"Axle groups per day", std::to_string(work.axleGroupsPerDay)},
              {"Truck growth, % per year", plain(work.truckGrowthPercent)}};
    for (int c = 0; c < kConfigurationCount; ++c) {
        t.rows.push_back({std::string(kConfigurationNames[at(c)]) + " axle groups, %",
                          fixed(work.axleTypeFraction[at(c)] * 100.0, 2)});
    }
    return t;
}

// The spectra as percentages of each configuration's axle groups, the bins that carry any.
ReportTable spectraTable(const CStenorDoc& work) {
    const LoadSpectraFigure f = loadSpectraFigure(work);
    ReportTable t{"Load spectra, % of axle groups",
                  {std::string("Axle weight, ") + axleLoadUnit(work.unitSystem)},
                  {}};
    std::vector<int> used;
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (f.configurationUsed[at(c)]) {
            used.push_back(c);
            t.columns.push_back(std::string(kConfigurationNames[at(c)]));
        }
    }
    for (int k = 0; k < kBinCount; ++k) {
        std::vector<std::string> row{f.binLabels[at(k)]};
        bool any = false;
        for (int c : used) {
            any = any || f.percent[at(c)][at(k)] != 0.0;
            row.push_back(fixed(f.percent[at(c)][at(k)], 2));
        }
        if (any)
            t.rows.push_back(std::move(row));
    }
    return t;
}

ReportTable criteriaTable(const CStenorDoc& work) {
    ReportTable t{
        "Performance criteria", {"Layer", "Location", "Criterion", "Limit", "Units", "Check"}, {}};
    for (int i = 0; i <= kLastReportedSlot; ++i) {
        const CriterionSlot& c = work.criteria[at(i)];
        if (!isEvaluatedSlot(c, i))
            continue;
        const std::string layer = std::to_string(i / 3 + 1);
        const std::string location = kLocations[i % 3];
        if (c.responseType == HorizontalStrainDistribution) {
            for (int j = 0; j < kDistributionLevels; ++j) {
                t.rows.push_back(
                    {layer, location, "Tensile Strain", plain(c.distribution[at(j)]), "microstrain",
                     std::string(kDistributionLevelNames[static_cast<std::size_t>(j)]) +
                         " percentile (endurance limit)"});
            }
            continue;
        }
        const ResponseName name = reportResponseName(c.responseType, work.unitSystem);
        t.rows.push_back({layer, location, std::string(name.name),
                          plain(reportResponseValue(c.responseType, work.unitSystem, c.threshold)),
                          std::string(name.units),
                          c.useTransferFunction != 0
                              ? "transfer function"
                              : "above the " + plain(c.targetPercentile) + "th percentile"});
    }
    return t;
}

// The lists as the module prints them, with thresholds and target values in the report's units.
void listTables(const CStenorDoc& work, const ResultLists& lists, DesignReport& report) {
    report.transferFunctionList.title = std::string(kTransferFunctionListTitle);
    for (auto c : kTransferFunctionColumns)
        report.transferFunctionList.columns.emplace_back(c);
    for (const TransferFunctionRow& r : lists.transferFunction) {
        std::vector<std::string> cells(r.cells.begin(), r.cells.end());
        const int type = work.criteria[at(r.slot)].responseType;
        cells[3] = formatSignificant(reportResponseValue(type, work.unitSystem, r.threshold));
        cells[4] = std::string(reportResponseName(type, work.unitSystem).units);
        report.transferFunctionList.rows.push_back(std::move(cells));
    }
    report.percentileList.title = std::string(kPercentileListTitle);
    for (auto c : kPercentileColumns)
        report.percentileList.columns.emplace_back(c);
    for (const PercentileRow& r : lists.percentile) {
        std::vector<std::string> cells(r.cells.begin(), r.cells.end());
        if (r.level < 0) {
            const int type = work.criteria[at(r.slot)].responseType;
            cells[3] = std::string(reportResponseName(type, work.unitSystem).units);
            cells[4] = formatSignificant(reportTargetValue(work, r));
        }
        report.percentileList.rows.push_back(std::move(cells));
    }
}

}  // namespace

DesignReport buildDesignReport(const CStenorDoc& work, const AnalysisResults& results,
                               const RunInfo& run, const ReportDetails& details) {
    DesignReport report;
    report.details = details;
    report.projectName = run.projectFileName.empty()
                             ? std::string("(not saved)")
                             : std::filesystem::path(run.projectFileName).filename().string();
    report.date = reportDate(run.startTime);
    report.units = shownInEnglish(work) ? "English" : "Metric";
    report.layers = layers(work);
    const ResultLists lists = buildResultLists(work, results, run.verdicts);
    report.overallVerdict = overallVerdict(lists);
    report.overallStatement = overallVerdictStatement(lists);
    report.confidence = confidenceText(lists.rules.confidence);
    for (const PercentileRow& r : lists.percentile) {
        ReportVerdictRow v;
        v.slot = r.slot;
        v.level = r.level;
        const FigureRowName name = figureRowName(work, r.slot);
        v.name = name.title;
        if (r.level >= 0)
            v.name += " at the " +
                      std::string(kDistributionLevelNames[static_cast<std::size_t>(r.level)]) +
                      " percentile";
        v.target = plain(reportTargetValue(work, r)) + " " + name.units + " at " +
                   plain(r.targetPercentile) + " %";
        v.actual = r.cells[6];
        v.settled = r.settled.verdict;
        v.verdict = verdictText(r.settled.verdict);
        v.interval = percentIntervalText(r.settled);
        report.verdicts.push_back(std::move(v));
    }
    report.designLifeYears = run.verdicts.designLifeYears.value_or(0.0);
    for (const TransferFunctionRow& r : lists.transferFunction) {
        ReportLife life;
        life.name = figureRowName(work, r.slot).title;
        life.years01 = r.cells[7];
        life.years10 = r.cells[8];
        life.interval = yearsIntervalText(r.settledYears);
        if (r.lifeChecked)
            life.verdict = verdictText(r.settledYears.verdict);
        report.lives.push_back(std::move(life));
    }
    report.cost = costText(reportCost(work));
    report.runRecord = runRecord(work, results, run);
    report.inputs = {structureTable(work), seasonsTable(work), trafficTable(work),
                     spectraTable(work), criteriaTable(work)};
    listTables(work, lists, report);
    std::vector<Trial> trials;
    if (projectTrials(work, trials).ok() && !trials.empty()) {
        const TrialTable table = sideBySide(trials);
        report.trials = {"Trial Designs Kept with the Project", table.headings, table.rows};
    }
    return report;
}

}  // namespace ardelon
