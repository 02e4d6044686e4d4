// What the report puts where, checked on the workbook model before any file is written.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "criteria/ResponseType.h"
#include "reports/FormattedReport.h"

namespace ardelon {
namespace {

std::string textAt(const ReportSheet& sheet, char column, int row) {
    const ReportCell* cell = sheet.at(column, row);
    if (!cell)
        return "<empty>";
    if (const auto* text = std::get_if<std::string>(&cell->value))
        return *text;
    return "<number>";
}

double numberAt(const ReportSheet& sheet, char column, int row) {
    const ReportCell* cell = sheet.at(column, row);
    if (!cell || !std::holds_alternative<double>(cell->value))
        return NAN;
    return std::get<double>(cell->value);
}

TEST(YearsToDamage, GrowingTrafficCompoundsYearByYear) {
    // A = 1000 × 0.5 × 0.000365 = 0.1825 per year, r = 0.04.
    const auto toTenth = yearsToDamage(0.1, 1000, 4, 0.5);
    const auto toFailure = yearsToDamage(1.0, 1000, 4, 0.5);
    ASSERT_TRUE(toTenth && toFailure);
    // The logarithms lose a few ulps against the hand value; 1e-12 years is far below the
    // report's two decimals.
    constexpr double kLogRoundOff = 1e-12;
    EXPECT_NEAR(*toTenth, std::log10(1 + 0.04 * 0.1 / 0.1825) / std::log10(1.04), kLogRoundOff);
    EXPECT_NEAR(*toTenth, 0.5527963241410372, kLogRoundOff);
    EXPECT_NEAR(*toFailure, 5.052863975451925, kLogRoundOff);
    // The damage after the computed years, summed year by year, is back at D.
    const double firstYear = 0.1825;
    EXPECT_NEAR(firstYear * (std::pow(1.04, *toFailure) - 1) / 0.04, 1.0, kLogRoundOff);
}

TEST(YearsToDamage, WithoutGrowthDamageAccumulatesLinearly) {
    // A = 1000 × 2 × 0.000365 = 0.73 per year; the compound formula would give 0 / 0.
    EXPECT_DOUBLE_EQ(*yearsToDamage(0.1, 1000, 0, 2), 0.1 / 0.73);
    EXPECT_DOUBLE_EQ(*yearsToDamage(1.0, 1000, 0, 2), 1.0 / 0.73);
}

TEST(YearsToDamage, DamageThatIsNeverReachedGivesNothing) {
    EXPECT_FALSE(yearsToDamage(0.1, 1000, 4, 0));      // no damage at all
    EXPECT_FALSE(yearsToDamage(0.1, 1000, 4, -1));     // defensive: a negative damage
    EXPECT_FALSE(yearsToDamage(0.1, 0, 4, 0.5));       // no traffic
    EXPECT_FALSE(yearsToDamage(1.0, 1000, -50, 0.5));  // traffic dies out: total 0.365 < 1.0
    // A decline that still reaches the damage gives a finite time.
    EXPECT_TRUE(yearsToDamage(0.1, 1000, -50, 0.5));
}

TEST(ReportTexts, EnglishBinLabels) {
    EXPECT_EQ(englishBinLabel(0), "0-2");
    EXPECT_EQ(englishBinLabel(1), "2-4");
    EXPECT_EQ(englishBinLabel(26), "52-54");
    EXPECT_EQ(englishBinLabel(27), "54-56");
    EXPECT_EQ(englishBinLabel(54), "108-110");
    EXPECT_EQ(englishBinLabel(55), "110+");
}

TEST(ReportTexts, MaterialNamesByLayerPosition) {
    EXPECT_EQ(reportMaterialName(1, 0), "AC");
    EXPECT_EQ(reportMaterialName(1, 1), "Other");
    EXPECT_EQ(reportMaterialName(1, 7), "Other");  // layer 1 knows only AC and Other
    EXPECT_EQ(reportMaterialName(2, 1), "Cracked AC");
    EXPECT_EQ(reportMaterialName(4, 6), "Gran Base");
    EXPECT_EQ(reportMaterialName(3, 10), "");
    EXPECT_EQ(reportMaterialName(3, -1), "");
    EXPECT_EQ(reportMaterialName(5, 0), "Gran Base");
    EXPECT_EQ(reportMaterialName(5, 3), "Other");
    EXPECT_EQ(reportMaterialName(5, 4), "");
}

TEST(ReportModel, MaterialOutsideItsListLeavesBothCellsEmpty) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 12, 7, 7, 1};
    const ReportWorkbook book = buildFormattedReport(doc, AnalysisResults{}, "/x/r.xlsx");
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'C', 9), "<empty>");
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'C', 10), "Soil");
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'B', 12), "<empty>");
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'B', 13), "Soil");
}

TEST(ReportModel, WithoutCyclesPercentagesAndVerdictsReadNA) {
    CStenorDoc doc;
    doc.criteria[2].active = 1;
    doc.criteria[2].responseType = HorizontalStrain;
    doc.criteria[2].threshold = -70;
    doc.criteria[2].useTransferFunction = 1;
    doc.criteria[3].active = 1;
    doc.criteria[3].responseType = VerticalStrain;
    doc.criteria[3].threshold = 200;
    doc.criteria[5].active = 1;
    doc.criteria[5].responseType = HorizontalStrainDistribution;
    AnalysisResults results;  // N = 0: a run without cycles
    const ReportWorkbook book = buildFormattedReport(doc, results, "/x/r.xlsx");
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(textAt(summary, 'F', 5), "NA");
    EXPECT_EQ(numberAt(summary, 'G', 5), 0);  // the damage itself is still a number
    EXPECT_EQ(textAt(summary, 'H', 5), "Infinite");
    // Percentile title in row 8, headings in row 9, slot 3 in row 10, the distribution below.
    EXPECT_EQ(textAt(summary, 'G', 10), "NA");
    EXPECT_EQ(textAt(summary, 'H', 10), "NA");
    for (int row = 11; row <= 15; ++row) {
        EXPECT_EQ(textAt(summary, 'G', row), "NA") << row;
        EXPECT_EQ(textAt(summary, 'H', row), "NA") << row;
    }
    EXPECT_EQ(summary.at('A', 16), nullptr);
}

TEST(ReportModel, PercentileRowsFollowTheConventionalTable) {
    CStenorDoc doc;
    doc.criteria[2].active = 1;
    doc.criteria[2].responseType = HorizontalStrain;
    doc.criteria[2].useTransferFunction = 1;
    doc.criteria[2].threshold = -70;
    doc.criteria[3].active = 1;
    doc.criteria[3].responseType = VerticalStrain;
    doc.criteria[3].threshold = 200;
    doc.criteria[3].targetPercentile = 90;
    AnalysisResults results;
    results.cycles = 200;
    results.exceedCount[3] = 20;  // 90 % against a target of 90: a tie fails
    const ReportWorkbook book = buildFormattedReport(doc, results, "/x/r.xlsx");
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(textAt(summary, 'A', 8), "Perpetual Pavement Design Results: Percentile Responses");
    EXPECT_EQ(textAt(summary, 'H', 9), "Pass/Fail?");
    EXPECT_EQ(numberAt(summary, 'A', 10), 2);
    EXPECT_EQ(numberAt(summary, 'G', 10), 90);
    EXPECT_EQ(textAt(summary, 'H', 10), "Fail");
    EXPECT_EQ(summary.at('A', 11), nullptr);
}

TEST(ReportModel, InfiniteDamageIsWrittenAsAWordAndFailsAtOnce) {
    // A transfer function with k1 = 0 makes every exceeding load consume the whole life.
    CStenorDoc doc;
    doc.criteria[2].active = 1;
    doc.criteria[2].responseType = HorizontalStrain;
    doc.criteria[2].useTransferFunction = 1;
    AnalysisResults results;
    results.cycles = 100;
    results.exceedCount[2] = 1;
    results.damagePerMillion[2] = std::numeric_limits<double>::infinity();
    const ReportWorkbook book = buildFormattedReport(doc, results, "/x/r.xlsx");
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(textAt(summary, 'G', 5), "Infinite");
    EXPECT_EQ(numberAt(summary, 'H', 5), 0);
    EXPECT_EQ(numberAt(summary, 'I', 5), 0);
    ReportSheet sheet;
    sheet.number('A', 1, std::nan(""), ReportStyle::Left);
    sheet.number('A', 2, -std::numeric_limits<double>::infinity(), ReportStyle::Left);
    EXPECT_EQ(textAt(sheet, 'A', 1), "NA");
    EXPECT_EQ(textAt(sheet, 'A', 2), "-Infinite");
}

TEST(ReportModel, LayerFiveMiddleAndBottomNeverGetRows) {
    // The run evaluates no depth for them, so their counts mean nothing.
    CStenorDoc doc;
    doc.layerCountIndex = 3;
    for (int slot : {13, 14}) {
        doc.criteria[static_cast<size_t>(slot)].active = 1;
        doc.criteria[static_cast<size_t>(slot)].responseType = VerticalStrain;
    }
    doc.criteria[13].useTransferFunction = 1;
    doc.criteria[14].responseType = HorizontalStrainDistribution;
    AnalysisResults results;
    results.cycles = 100;
    const ReportWorkbook book = buildFormattedReport(doc, results, "/x/r.xlsx");
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(textAt(summary, 'A', 7), "Perpetual Pavement Design Results: Percentile Responses");
    EXPECT_EQ(textAt(summary, 'A', 9), "NA");
    EXPECT_EQ(summary.at('A', 10), nullptr);
}

TEST(ReportModel, StrainDistributionNamesTheSlotsOwnLocation) {
    // Only a foreign project file puts a distribution elsewhere than at a layer bottom.
    CStenorDoc doc;
    doc.criteria[4].active = 1;
    doc.criteria[4].responseType = HorizontalStrainDistribution;
    AnalysisResults results;
    results.cycles = 100;
    const ReportWorkbook book = buildFormattedReport(doc, results, "/x/r.xlsx");
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(numberAt(summary, 'A', 9), 2);
    EXPECT_EQ(textAt(summary, 'B', 9), "Middle");
    EXPECT_EQ(textAt(summary, 'C', 9), "Tensile Strain");
}

}  // namespace
}  // namespace ardelon
