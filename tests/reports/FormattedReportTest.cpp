// What the report puts where, checked on the workbook model before any file is written.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "ReportTestSupport.h"
#include "criteria/ResponseType.h"
#include "reports/FormattedReport.h"

namespace ardelon {
namespace {

using test::setCriterion;

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

// The report model of `doc` after a run of `cycles` in which no limit was exceeded.
ReportWorkbook reportOf(const CStenorDoc& doc, int cycles = 0) {
    AnalysisResults results;
    results.cycles = cycles;
    return buildFormattedReport(doc, results, "/x/r.xlsx");
}

TEST(ReportTexts, MaterialNamesByLayerPosition) {
    // Layer 1 knows only AC and Other; indices outside a position's list give no name. The names
    // the read-back projects use are checked there.
    for (auto [layer, index, name] : {std::tuple{1, 1, "Other"},
                                      {1, 7, "Other"},
                                      {2, 1, "Cracked AC"},
                                      {4, 6, "Gran Base"},
                                      {3, 10, ""},
                                      {3, -1, ""},
                                      {5, 0, "Gran Base"},
                                      {5, 3, "Other"},
                                      {5, 4, ""}})
        EXPECT_EQ(reportMaterialName(layer, index), name) << layer << " " << index;
}

TEST(ReportModel, MaterialOutsideItsListLeavesBothCellsEmpty) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 12, 7, 7, 1};
    const ReportWorkbook book = reportOf(doc);
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'C', 9), "<empty>");
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'C', 10), "Soil");
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'B', 12), "<empty>");
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'B', 13), "Soil");
}

TEST(ReportModel, LayerCountFromAForeignFileIsKeptWithinTwoToFive) {
    // A project file may hold any number there; the report shows the nearest structure and
    // never reads past the five layers.
    CStenorDoc doc;
    doc.layerCountIndex = 7;
    ReportWorkbook book = reportOf(doc);
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'A', 12), "SemiInfinite");
    EXPECT_EQ(book.sheet("Cover")->at('A', 13), nullptr);
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'E', 15), "NA");
    EXPECT_EQ(book.sheet("Structural Inputs")->at('A', 16), nullptr);
    EXPECT_EQ(numberAt(*book.sheet("Structural Inputs"), 'A', 24), 5);
    EXPECT_EQ(book.sheet("Structural Inputs")->at('A', 25), nullptr);

    doc.layerCountIndex = -4;
    book = reportOf(doc);
    EXPECT_EQ(numberAt(*book.sheet("Cover"), 'A', 8), 10);
    EXPECT_EQ(textAt(*book.sheet("Cover"), 'A', 9), "SemiInfinite");
    EXPECT_EQ(textAt(*book.sheet("Structural Inputs"), 'C', 12), "SemiInfinite");
    EXPECT_EQ(numberAt(*book.sheet("Structural Inputs"), 'A', 21), 2);
}

// Without cycles percentages and verdicts read NA; an infinite damage (a transfer function with
// k1 = 0 makes every exceeding load consume the whole life) is written as a word and fails at once.
TEST(ReportModel, RunsWithoutCyclesOrWithInfiniteDamage) {
    CStenorDoc doc;
    setCriterion(doc, 2, HorizontalStrain, -70, 1);
    setCriterion(doc, 3, VerticalStrain, 200);
    setCriterion(doc, 5, HorizontalStrainDistribution);
    ReportWorkbook book = reportOf(doc);  // N = 0: a run without cycles
    const ReportSheet* summary = book.sheet("Performance Summary");
    EXPECT_EQ(textAt(*summary, 'F', 5), "NA");
    EXPECT_EQ(numberAt(*summary, 'G', 5), 0);  // the damage itself is still a number
    EXPECT_EQ(textAt(*summary, 'H', 5), "Infinite");
    // Percentile title in row 8, headings in row 9, slot 3 in row 10, the distribution below.
    for (int row = 10; row <= 15; ++row) {
        EXPECT_EQ(textAt(*summary, 'G', row), "NA") << row;
        EXPECT_EQ(textAt(*summary, 'H', row), "NA") << row;
    }
    EXPECT_EQ(summary->at('A', 16), nullptr);

    AnalysisResults results;
    results.cycles = 100;
    results.exceedCount[2] = 1;
    results.damagePerMillion[2] = std::numeric_limits<double>::infinity();
    book = buildFormattedReport(doc, results, "/x/r.xlsx");
    summary = book.sheet("Performance Summary");
    EXPECT_EQ(textAt(*summary, 'G', 5), "Infinite");
    EXPECT_EQ(numberAt(*summary, 'H', 5), 0);
    EXPECT_EQ(numberAt(*summary, 'I', 5), 0);
    ReportSheet sheet;
    sheet.number('A', 1, std::nan(""), ReportStyle::Left);
    sheet.number('A', 2, -std::numeric_limits<double>::infinity(), ReportStyle::Left);
    EXPECT_EQ(textAt(sheet, 'A', 1), "NA");
    EXPECT_EQ(textAt(sheet, 'A', 2), "-Infinite");
}

// The run evaluates no depth for layer 5's middle and bottom, so they never get rows; only a
// foreign project file puts a distribution elsewhere than at a layer bottom, and its row names the
// slot's own location.
TEST(ReportModel, LayerFiveSlotsGetNoRowsAndADistributionNamesItsLocation) {
    CStenorDoc doc;
    doc.layerCountIndex = 3;
    setCriterion(doc, 13, VerticalStrain, 0, 1);
    setCriterion(doc, 14, HorizontalStrainDistribution);
    setCriterion(doc, 4, HorizontalStrainDistribution);
    const ReportWorkbook book = reportOf(doc, 100);
    const ReportSheet& summary = *book.sheet("Performance Summary");
    EXPECT_EQ(textAt(summary, 'A', 7), "Perpetual Pavement Design Results: Percentile Responses");
    EXPECT_EQ(numberAt(summary, 'A', 9), 2);
    EXPECT_EQ(textAt(summary, 'B', 9), "Middle");
    EXPECT_EQ(textAt(summary, 'C', 9), "Tensile Strain");
    EXPECT_EQ(summary.at('A', 10), nullptr);
}

}  // namespace
}  // namespace ardelon
