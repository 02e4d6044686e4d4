#include "reports/FormattedReport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "project/Units.h"
#include "reliability/ResultFormat.h"
#include "reliability/ResultLists.h"
#include "reports/TrialsSheet.h"
#include "traffic/WeightClassLabels.h"
#include "trials/TrialFile.h"

namespace ardelon {
namespace {

using S = ReportStyle;

constexpr const char* kFooter = "&D @ &T    Page &P of &N Pages";
constexpr const char* kPlainHeader = "&Z&F";
constexpr const char* kTitledHeader = "Ardelon 4.3 - &Z&F";
constexpr const char* kSemiInfinite = "SemiInfinite";
constexpr const char* kNotApplicable = "NA";
constexpr const char* kInfinite = "Infinite";
// What the computed cells show: percentages and years to two decimals, damage to four
// significant figures.
constexpr const char* kPercentFormat = "0.00";
constexpr const char* kYearsFormat = "0.00";
constexpr const char* kDamageFormat = "0.000E+00";
constexpr std::array<const char*, 3> kLocationNames = {"Top", "Middle", "Bottom"};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

char column(int offset) {
    return static_cast<char>('A' + offset);
}

// The thickness column heads name the unit the module holds the thicknesses in.
std::string thicknessUnit(const CStenorDoc& work) {
    return heldInEnglish(work) ? "in." : "cm";
}

// Number of layers n = layerCountIndex + 2. A foreign project file may hold any index; the
// report then shows the nearest structure of 2 to 5 layers, as the Structure module does.
int layerCount(const CStenorDoc& work) {
    return std::clamp(work.layerCountIndex, 0, 3) + 2;
}

ReportSheet newSheet(const char* name, const char* header, bool landscape) {
    ReportSheet sheet;
    sheet.name = name;
    sheet.header = header;
    sheet.footer = kFooter;
    sheet.landscape = landscape;
    return sheet;
}

void putPercent(ReportSheet& sheet, char col, int row, std::optional<double> percent) {
    if (percent) {
        sheet.number(col, row, *percent, S::Right, kPercentFormat);
    } else {
        sheet.text(col, row, kNotApplicable, S::Right);
    }
}

void putVerdict(ReportSheet& sheet, char col, int row, std::optional<double> actual,
                double target) {
    if (!actual) {
        sheet.text(col, row, kNotApplicable, S::Right);
    } else {
        sheet.text(col, row, *actual > target ? "Pass" : "Fail", S::Right);  // a tie fails
    }
}

void addCover(ReportWorkbook& book, const std::string& reportPath, const CStenorDoc& work) {
    ReportSheet sheet = newSheet("Cover", kPlainHeader, false);
    sheet.text('A', 1, "Ardelon 4.3", S::CoverTitle);
    sheet.text('A', 3, "File Location and Name:", S::Heading);
    sheet.text('A', 4, reportPath, S::Heading);
    sheet.text('A', 6, "Pavement Cross Section", S::Heading);
    sheet.text('A', 7, "Thickness, " + thicknessUnit(work), S::Left);
    sheet.text('C', 7, "Material Type", S::Left);
    const int layers = layerCount(work);
    for (int layer = 1; layer <= layers; ++layer) {
        const int row = 7 + layer;
        if (layer == layers) {
            sheet.text('A', row, kSemiInfinite, S::Left);
        } else {
            sheet.number('A', row, work.thickness[static_cast<size_t>(layer - 1)], S::Left);
        }
        const std::string material =
            reportMaterialName(layer, work.materialIndex[static_cast<size_t>(layer - 1)]);
        if (!material.empty())
            sheet.text('C', row, material, S::Left);
    }
    sheet.fitToPageWidth = true;
    book.sheets.push_back(std::move(sheet));
}

// The slot's layer, location, criterion and units in columns A, B, C and E of a result row.
void putSlotIdentity(ReportSheet& sheet, int row, int slot, int responseType, int unitSystem) {
    const ResponseName name = reportResponseName(responseType, unitSystem);
    sheet.number('A', row, slotLayer(slot), S::Right);
    sheet.text('B', row, kLocationNames[static_cast<size_t>(slotPosition(slot))], S::Right);
    sheet.text('C', row, std::string(name.name), S::Right);
    sheet.text('E', row, std::string(name.units), S::Left);
}

// Years that never come (+infinity) read "Infinite".
void putYears(ReportSheet& sheet, char col, int row, double years) {
    if (std::isfinite(years) && years >= 0) {
        sheet.number(col, row, roundHalfUpTwoDecimals(years), S::Right, kYearsFormat);
    } else {
        sheet.text(col, row, kInfinite, S::Right);
    }
}

void addPerformanceSummary(ReportWorkbook& book, const CStenorDoc& work,
                           const AnalysisResults& results) {
    ReportSheet sheet = newSheet("Performance Summary", kTitledHeader, true);
    sheet.merge('A', 1, 'I', 1, S::Title);
    // The heading is wider than columns A to E in its font: its merge spans the table.
    sheet.merge('A', 3, 'I', 3, S::Heading);
    sheet.width('C', 'C', 17.14);
    sheet.width('D', 'D', 10.3);
    sheet.width('E', 'E', 10.3);
    sheet.width('F', 'F', 14.57);
    sheet.width('G', 'G', 19.29);
    sheet.width('H', 'H', 12.71);
    sheet.width('I', 'I', 12.71);
    sheet.text('A', 1, "Performance Summary", S::Title);
    sheet.text('A', 3,
               "Perpetual Pavement Design Results:  Conventional Design with Transfer Functions",
               S::Heading);

    // Column E holds the units, left-aligned; every other column of both tables is right-aligned.
    const auto putHeadings = [&sheet](int row, std::initializer_list<const char*> headings) {
        int offset = 0;
        for (const char* heading : headings) {
            const char col = column(offset++);
            sheet.text(col, row, heading, col == 'E' ? S::Left : S::Right);
        }
    };
    putHeadings(4, {"Layer", "Location", "Criteria", "Threshold", "Units", "% Below Critical",
                    "Damage/Million Axle", "Years to D=0.1", "Years to D=1.0"});

    // The rows and their values are the result lists'; a report of no cycles shows "NA" for
    // every percentage.
    const ResultLists lists = buildResultLists(work, results);
    const bool ran = results.cycles > 0;
    const auto percent = [ran](double value) { return ran ? std::optional(value) : std::nullopt; };
    int row = 5;
    for (const TransferFunctionRow& r : lists.transferFunction) {
        const int responseType = work.criteria[at(r.slot)].responseType;
        putSlotIdentity(sheet, row, r.slot, responseType, work.unitSystem);
        sheet.number('D', row, reportResponseValue(responseType, work.unitSystem, r.threshold),
                     S::Right);
        putPercent(sheet, 'F', row, percent(r.percentBelowCritical));
        sheet.number('G', row, r.damagePerMillion, S::Right, kDamageFormat);
        putYears(sheet, 'H', row, r.yearsToDamage01);
        putYears(sheet, 'I', row, r.yearsToDamage10);
        ++row;
    }
    const int conventionalRows = row - 5;

    const int titleRow = 7 + conventionalRows;
    sheet.text('A', titleRow, "Perpetual Pavement Design Results: Percentile Responses",
               S::Heading);
    putHeadings(titleRow + 1, {"Layer", "Location", "Criteria", "Target", "Units", "Target %tile",
                               "Actual %tile", "Pass/Fail?"});
    const int firstDataRow = titleRow + 2;
    row = firstDataRow;
    for (const PercentileRow& r : lists.percentile) {
        const int responseType = work.criteria[at(r.slot)].responseType;
        if (r.level < 0) {
            putSlotIdentity(sheet, row, r.slot, responseType, work.unitSystem);
            sheet.number('D', row,
                         reportResponseValue(responseType, work.unitSystem, r.targetValue),
                         S::Right);
        } else {
            // The strain distribution: one row per percentile level, identified on the first.
            if (r.level == 0) {
                sheet.number('A', row, slotLayer(r.slot), S::Right);
                sheet.text('B', row, kLocationNames[at(slotPosition(r.slot))], S::Right);
                sheet.text('C', row, "Tensile Strain", S::Right);
            }
            sheet.number('D', row, r.targetValue, S::Right);
            sheet.text('E', row, "microstrain", S::Left);
        }
        sheet.number('F', row, r.targetPercentile, S::Right, kPercentFormat);
        putPercent(sheet, 'G', row, percent(r.actualPercentile));
        putVerdict(sheet, 'H', row, percent(r.actualPercentile), r.targetPercentile);
        ++row;
    }
    if (row == firstDataRow) {
        for (int offset = 0; offset < 8; ++offset) {
            const char col = column(offset);
            sheet.text(col, firstDataRow, kNotApplicable, col == 'E' ? S::Left : S::Right);
        }
    }
    sheet.fitToPageWidth = true;
    book.sheets.push_back(std::move(sheet));
}

const char* distributionText(int distribution) {
    return distribution == Normal ? "Normal" : "Lognormal";
}

void addStructuralInputs(ReportWorkbook& book, const CStenorDoc& work) {
    ReportSheet sheet = newSheet("Structural Inputs", kTitledHeader, true);
    sheet.width('B', 'B', 11);
    sheet.merge('A', 1, 'J', 1, S::Title);
    sheet.merge('A', 3, 'G', 3, S::Heading);
    sheet.merge('A', 4, 'B', 4, S::Left);
    sheet.merge('A', 5, 'B', 5, S::Left);
    sheet.merge('A', 6, 'B', 6, S::Left);
    sheet.text('A', 1, "Structural Inputs", S::Title);

    sheet.text('A', 3, "Seasonal Data", S::Heading);
    sheet.text('A', 4, "Season", S::Left);
    sheet.text('A', 5, "Duration, weeks", S::Left);
    const bool metric = !shownInEnglish(work);
    // Metric projects read temperatures in degrees C and moduli in MPa.
    sheet.text('A', 6, metric ? "Temperature, C" : "Temperature, F", S::Left);
    const auto temperature = [metric](double fahrenheit) {
        return metric ? std::round(units::fahrenheitToCelsius(fahrenheit) * 100.0) / 100.0
                      : fahrenheit;
    };
    const auto modulus = [metric](double psi) {
        return metric ? std::round(psi * units::kPsiToMpa * 100.0) / 100.0 : psi;
    };
    // Summer (season 1) is always in use; the others only when enabled.
    const auto seasonInUse = [&work](int season) {
        return season == Summer || work.seasonEnabled[static_cast<size_t>(season)] == 1;
    };
    for (int season = 0; season < kSeasonCount; ++season) {
        const char col = column(2 + season);
        sheet.text(col, 4, "Season " + std::to_string(season + 1), S::Left);
        if (seasonInUse(season)) {
            sheet.number(col, 5, work.seasonWeeks[static_cast<size_t>(season)], S::Left);
            sheet.number(col, 6, temperature(work.meanAirTemperature[static_cast<size_t>(season)]),
                         S::Left);
        } else {
            sheet.text(col, 5, kNotApplicable, S::Left);
            sheet.text(col, 6, kNotApplicable, S::Left);
        }
    }

    sheet.merge('A', 9, 'G', 9, S::Heading);
    for (int row = 10; row <= 15; ++row) {
        sheet.merge('C', row, 'D', row, S::Left);
        sheet.merge('F', row, 'G', row, S::Left);
    }
    sheet.text('A', 9, "Layer Thicknesses", S::Heading);
    sheet.text('A', 10, "Layer", S::Left);
    sheet.text('B', 10, "Type", S::Left);
    sheet.text('C', 10, "Avg Thickness, " + thicknessUnit(work), S::Left);
    sheet.text('E', 10, "COV, %", S::Left);
    sheet.text('F', 10, "Distribution Type", S::Left);
    const int layers = layerCount(work);
    for (int layer = 1; layer <= layers; ++layer) {
        const int row = 10 + layer;
        const auto index = static_cast<size_t>(layer - 1);
        sheet.number('A', row, layer, S::Left);
        const std::string material = reportMaterialName(layer, work.materialIndex[index]);
        if (!material.empty())
            sheet.text('B', row, material, S::Left);
        if (layer == layers) {
            sheet.text('C', row, kSemiInfinite, S::Left);
        } else {
            sheet.number('C', row, work.thickness[index], S::Left);
        }
        if (layer <= kThicknessCount) {
            sheet.number('E', row, work.thicknessCov[index], S::Left);
            sheet.text('F', row, distributionText(work.thicknessDistribution[index]), S::Left);
        } else {
            sheet.text('E', row, kNotApplicable, S::Left);
            sheet.text('F', row, kNotApplicable, S::Left);
        }
    }

    sheet.merge('A', 17, 'G', 17, S::Heading);
    sheet.merge('C', 18, 'G', 18, S::Left);
    sheet.text('A', 17, "Poisson Ratios and Seasonal Layer Moduli", S::Heading);
    sheet.text('C', 18, metric ? "Average Modulus, MPa" : "Average Modulus, psi", S::Left);
    sheet.text('A', 19, "Layer", S::Left);
    sheet.text('B', 19, "Poisson", S::Left);
    for (int season = 0; season < kSeasonCount; ++season) {
        sheet.text(column(2 + season), 19, "Season " + std::to_string(season + 1), S::Left);
    }
    sheet.text('H', 19, "COV,%", S::Left);
    sheet.text('I', 19, "Distribution Type", S::Left);
    for (int layer = 1; layer <= layers; ++layer) {
        const int row = 19 + layer;
        const auto index = static_cast<size_t>(layer - 1);
        sheet.number('A', row, layer, S::Left);
        sheet.number('B', row, work.poisson[index], S::Left);
        for (int season = 0; season < kSeasonCount; ++season) {
            const char col = column(2 + season);
            if (seasonInUse(season)) {
                sheet.number(col, row,
                             modulus(work.seasonalModulus[index][static_cast<size_t>(season)]),
                             S::Left);
            } else {
                sheet.text(col, row, kNotApplicable, S::Left);
            }
        }
        sheet.number('H', row, work.modulusCov[index], S::Left);
        sheet.text('I', row, distributionText(work.modulusDistribution[index]), S::Left);
    }
    sheet.fitToPageWidth = true;
    book.sheets.push_back(std::move(sheet));
}

void addTraffic(ReportWorkbook& book, const CStenorDoc& work) {
    ReportSheet sheet = newSheet("Traffic", kPlainHeader, false);
    sheet.merge('A', 1, 'F', 1, S::Title);
    sheet.width('A', 'A', 16);
    sheet.width('B', 'E', 12);
    sheet.text('A', 1, "Traffic", S::Title);

    sheet.text('A', 3, "General Traffic Data", S::Heading);
    const std::array<const char*, 6> generalLabels = {
        "Two-Way AADT",    "% Trucks", "% Trucks Design Lane",
        "Axle Groups/Day", "% Growth", "% Directional Distribution"};
    const std::array<double, 6> generalValues = {
        static_cast<double>(work.aadt), work.percentTrucks,
        work.percentTrucksDesignLane,   static_cast<double>(work.axleGroupsPerDay),
        work.truckGrowthPercent,        work.directionalDistribution};
    for (size_t k = 0; k < generalLabels.size(); ++k) {
        const int row = 4 + static_cast<int>(k);
        sheet.text('A', row, generalLabels[k], S::Left);
        sheet.number('C', row, generalValues[k], S::Left);
    }

    sheet.text('A', 11, "Axle Type Distribution", S::Heading);
    const std::array<const char*, kConfigurationCount> shareLabels = {"% Single", "% Tandem",
                                                                      "% Tridem", "% Steer"};
    for (int c = 0; c < kConfigurationCount; ++c) {
        const int row = 12 + c;
        sheet.text('A', row, shareLabels[static_cast<size_t>(c)], S::Left);
        sheet.number('C', row, work.axleTypeFraction[static_cast<size_t>(c)] * 100, S::Left);
    }

    sheet.text('A', 17, "Load Spectra", S::Heading);
    const bool metric = !shownInEnglish(work);
    const auto putSpectraHeadings = [&sheet, metric](int row) {
        sheet.text('A', row, metric ? "Axle Weight, kN" : "Axle Weight, kips", S::Center);
        sheet.text('B', row, "Single, %", S::Center);
        sheet.text('C', row, "Tandem, %", S::Center);
        sheet.text('D', row, "Tridem, %", S::Center);
        sheet.text('E', row, "Steer, %", S::Center);
    };
    putSpectraHeadings(18);
    // Bins 0 to 26 fill the first printed page; the headings repeat above bins 27 to 55.
    constexpr int kFirstPageBins = 27;
    putSpectraHeadings(19 + kFirstPageBins);
    // Printed as those two pages: one page wide (the title's merge reaches column F, which would
    // otherwise spill onto a page of its own) and a break above the repeated headings.
    sheet.pageBreaksBeforeRows = {19 + kFirstPageBins};
    sheet.fitToPageWidth = true;
    // Percent of each configuration's axle groups, also where the ESAL route stored counts.
    const LoadSpectraFigure spectra = loadSpectraFigure(work);
    for (int bin = 0; bin < kBinCount; ++bin) {
        const int row = bin < kFirstPageBins ? 19 + bin : 20 + bin;
        sheet.text('A', row,
                   metric ? spectra.binLabels[static_cast<size_t>(bin)] : englishBinLabel(bin),
                   S::Center);
        for (int c = 0; c < kConfigurationCount; ++c) {
            sheet.number(column(1 + c), row,
                         spectra.percent[static_cast<size_t>(c)][static_cast<size_t>(bin)],
                         S::Center, kPercentFormat);
        }
    }
    book.sheets.push_back(std::move(sheet));
}

}  // namespace

std::string reportMaterialName(int layer, int materialIndex) {
    if (layer == 1)
        return materialIndex == 0 ? "AC" : "Other";
    if (materialIndex < 0 || materialIndex >= materialListSize(layer))
        return {};
    return std::string(materialName(materialOf(layer, materialIndex)));
}

ReportWorkbook buildFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                    const std::string& reportPath) {
    ReportWorkbook book;
    addCover(book, reportPath, work);
    addPerformanceSummary(book, work, results);
    addStructuralInputs(book, work);
    addTraffic(book, work);
    return book;
}

namespace {

// The Cover names the workbook by its full path, as the file dialog would give it.
std::string fullPathOf(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

ReportWorkbook buildFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                    const std::string& reportPath, const RunInfo& run) {
    ReportWorkbook book = buildFormattedReport(work, results, reportPath);
    addRunSheets(book, work, results, run);
    // The trials kept with the project, side by side (trials it cannot read are left out).
    std::vector<Trial> trials;
    if (projectTrials(work, trials).ok() && !trials.empty())
        book.sheets.push_back(trialsSheet(sideBySide(trials), {}));
    return book;
}

FileResult exportFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                 const std::string& path) {
    return saveWorkbook(buildFormattedReport(work, results, fullPathOf(path)), path);
}

FileResult exportFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                 const std::string& path, const RunInfo& run) {
    return saveWorkbook(buildFormattedReport(work, results, fullPathOf(path), run), path);
}

}  // namespace ardelon
