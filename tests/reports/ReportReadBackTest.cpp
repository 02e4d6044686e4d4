// Writes the report of six design projects and reads each workbook back with openpyxl
// (check_report.py holds the expected sheets, cell by cell, written out by hand).

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <tuple>

#include "ReportTestSupport.h"
#include "criteria/ResponseType.h"
#include "reports/FormattedReport.h"

namespace ardelon {
namespace {

using test::setCriterion;

// The load spectra every test project carries are the same in check_report.py's traffic().
CStenorDoc baseProject() {
    CStenorDoc doc;
    for (int c = 0; c < kConfigurationCount; ++c) {
        for (int k = 0; k < kBinCount; ++k)
            doc.loadSpectra[static_cast<size_t>(c)][static_cast<size_t>(k)] = c * 100 + k * 0.5;
    }
    doc.axleTypeFraction = {0.5, 0.25, 0.25, 0};
    return doc;
}

// A run of `cycles` with, per slot, the loads that exceeded its limit and its damage per million.
AnalysisResults runOf(int cycles, std::initializer_list<std::tuple<int, int, double>> slots = {}) {
    AnalysisResults results;
    results.cycles = cycles;
    for (auto [slot, exceeded, damage] : slots) {
        results.exceedCount[static_cast<size_t>(slot)] = exceeded;
        results.damagePerMillion[static_cast<size_t>(slot)] = damage;
    }
    return results;
}

class ReportReadBack : public ::testing::Test {
  protected:
    // Saves the report as `name` in the scratch folder (relative to it when `relative`) and reads
    // it back against the expected workbook of `project`, whose cover shows the full path.
    void expectWorkbook(const std::string& project, const CStenorDoc& doc,
                        const AnalysisResults& results, std::string name = "",
                        bool relative = false) {
        if (name.empty())
            name = project + ".xlsx";
        const std::string path = folder.file(name);
        const FileResult saved = exportFormattedReport(doc, results, relative ? "./" + name : path);
        ASSERT_TRUE(saved.ok()) << saved.error;
        const test::CheckerRun check =
            test::runChecker(ARDELON_REPORT_CHECKER, {project, path, path});
        EXPECT_EQ(check.status, 0) << check.output;
    }

    test::ScratchFolder folder;
};

TEST_F(ReportReadBack, TwoLayerProject) {
    CStenorDoc doc = baseProject();  // 10 in. of AC over soil
    doc.meanAirTemperature = {70, 55, 35, 60, 70};
    setCriterion(doc, slotIndex(1, Bottom), HorizontalStrain, -70, 1);
    setCriterion(doc, slotIndex(2, Top), VerticalStrain, 200, 0, 90);
    expectWorkbook("two_layer", doc,
                   runOf(5000, {{slotIndex(1, Bottom), 250, 0.5}, {slotIndex(2, Top), 400, 0}}));
}

CStenorDoc fiveLayerProject() {
    CStenorDoc doc = baseProject();
    doc.layerCountIndex = 3;
    doc.materialIndex = {0, 2, 6, 7, 2};  // AC, PCC, Gran Base, Soil, Rock
    doc.thickness = {4, 6, 8, 12};
    doc.thicknessCov = {5, 10, 0, 0};
    doc.thicknessDistribution = {Normal, LogNormal, Normal, Normal};
    doc.seasonEnabled = {1, 1, 1, 1, 1};
    doc.seasonWeeks = {20, 10, 10, 6, 6};
    doc.meanAirTemperature = {75, 50, 30, 45, 55};
    doc.poisson = {0.35, 0.15, 0.4, 0.45, 0.25};
    doc.seasonalModulus[0] = {500000, 600000, 700000, 800000, 900000};
    doc.seasonalModulus[1] = {4000000, 4000000, 4000000, 4000000, 4000000};
    doc.seasonalModulus[2] = {30000, 30000, 30000, 30000, 30000};
    doc.seasonalModulus[3] = {12000, 12000, 12000, 12000, 12000};
    doc.seasonalModulus[4] = {1000000, 1000000, 1000000, 1000000, 1000000};
    doc.modulusCov = {30, 15, 40, 50, 0};
    doc.modulusDistribution = {LogNormal, LogNormal, LogNormal, LogNormal, Normal};
    doc.aadt = 2400;
    doc.percentTrucks = 12.5;
    doc.percentTrucksDesignLane = 80;
    doc.axleGroupsPerDay = 3000;
    doc.truckGrowthPercent = 2;
    doc.directionalDistribution = 55;
    doc.axleTypeFraction = {1, 0, 0, 0};
    return doc;
}

// The checker itself: a workbook read against another project's expectations must fail, with
// one line per differing cell.
TEST_F(ReportReadBack, CheckerReportsEveryDifference) {
    const std::string path = folder.file("five.xlsx");
    ASSERT_TRUE(exportFormattedReport(fiveLayerProject(), runOf(5000), path).ok());
    const test::CheckerRun check =
        test::runChecker(ARDELON_REPORT_CHECKER, {"two_layer", path, path});
    EXPECT_EQ(check.status, 1);
    for (const char* line : {"Cover!A8: expected 10, found 4\n", "Cover!C12: unexpected 'Rock'\n",
                             "Structural Inputs!G5: expected the text 'NA', found 6\n",
                             "Performance Summary!A8: expected font Arial Black 11 underline "
                             "None, found Calibri 11.0 underline None\n",
                             "Traffic!C4: expected 1000, found 2400\n"}) {
        EXPECT_NE(check.output.find(line), std::string::npos) << line << check.output;
    }
}

TEST_F(ReportReadBack, FiveLayerProjectUnderAnyName) {
    expectWorkbook("five_layer", fiveLayerProject(), runOf(5000));
    // A name without extension is used as typed; a relative name is shown with its full path.
    expectWorkbook("five_layer", fiveLayerProject(), runOf(5000), "summary");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    expectWorkbook("five_layer", fiveLayerProject(), runOf(5000), "rel.xlsx", true);
    std::filesystem::current_path(previous);
}

TEST_F(ReportReadBack, NoPercentileCriterionGivesOneRowOfNA) {
    CStenorDoc doc = baseProject();
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 6, 7, 7, 1};
    doc.thickness = {6, 10, 999, 999};
    doc.axleGroupsPerDay = 2500;
    doc.truckGrowthPercent = 3;
    setCriterion(doc, slotIndex(1, Bottom), HorizontalStrain, -65, 1);
    setCriterion(doc, slotIndex(2, Top), VerticalStress, 30, 1);
    expectWorkbook("no_percentile", doc, runOf(5000, {{slotIndex(1, Bottom), 25, 1.25}}));
}

TEST_F(ReportReadBack, StrainDistributionAtBottomOfLayer3) {
    CStenorDoc doc = baseProject();
    doc.layerCountIndex = 2;
    doc.materialIndex = {0, 0, 6, 7, 1};
    doc.thickness = {8, 6, 10, 999};
    setCriterion(doc, slotIndex(1, Top), VerticalDeflection, 20, 0, 50);
    // The bottom of layer 1 reads "Bottom" in the report, not the result list's "Bot".
    setCriterion(doc, slotIndex(1, Bottom), PrincipalStrain, -90, 0, 80);
    setCriterion(doc, slotIndex(3, Bottom), HorizontalStrainDistribution, 0, 0);
    doc.criteria[slotIndex(3, Bottom)].distribution = {-60, -70, -80, -90, -100};
    // 50 % against a target of 50: a tie fails.
    AnalysisResults results =
        runOf(5000, {{slotIndex(1, Top), 2500, 0}, {slotIndex(1, Bottom), 600, 0}});
    // 402 of 5000 gives (5000 − 402) × 100 / 5000 = 91.96 exactly; 100 − 402 × 100 / 5000
    // would store 91.96000000000001.
    const int counts[kDistributionLevels] = {100, 402, 1000, 1750, 2500};
    for (int level = 0; level < kDistributionLevels; ++level) {
        results.limitExceedCount[static_cast<size_t>(level)][slotIndex(3, Bottom)] = counts[level];
    }
    expectWorkbook("strain_distribution", doc, results);
}

TEST_F(ReportReadBack, ThreeConventionalRowsWithoutTrafficGrowth) {
    CStenorDoc doc = baseProject();
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 6, 7, 7, 1};
    doc.thickness = {5, 12, 999, 999};
    doc.truckGrowthPercent = 0;  // years follow the linear damage: D / A
    setCriterion(doc, slotIndex(1, Top), HorizontalStress, 150, 1);
    setCriterion(doc, slotIndex(1, Bottom), HorizontalStrain, -70, 1);
    setCriterion(doc, slotIndex(2, Bottom), VerticalStrain, 200, 1);
    setCriterion(doc, slotIndex(3, Top), VerticalStress, 8, 0, 85);
    // Neither an active slot without a response type nor layer 5's middle gets a row.
    doc.criteria[slotIndex(4, Top)].active = 1;
    setCriterion(doc, slotIndex(5, Middle), VerticalStrain, 100, 1);
    expectWorkbook("three_conventional", doc,
                   runOf(5000, {{slotIndex(1, Bottom), 500, 2},
                                {slotIndex(2, Bottom), 125, 0.02},
                                {slotIndex(3, Top), 725, 0},
                                {slotIndex(5, Middle), 10, 3}}));
}

TEST_F(ReportReadBack, DisabledSeasonFourAndMetricThicknesses) {
    CStenorDoc doc = baseProject();
    doc.valuesInEnglish = 0;  // the module holds centimetres
    doc.unitSystem = Metric;
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 6, 7, 7, 1};
    doc.thickness = {25.4, 30.48, 2537.46, 2537.46};
    doc.seasonEnabled = {1, 1, 1, 0, 0};
    doc.seasonWeeks = {30, 10, 12, 0, 0};
    doc.meanAirTemperature = {70, 45, 25, 70, 70};
    expectWorkbook("season4_disabled_metric", doc, runOf(5000));
}

}  // namespace
}  // namespace ardelon
