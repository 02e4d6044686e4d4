#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "project/CStenorDoc.h"
#include "project/Enumerations.h"

namespace ardelon {
namespace {

// The new project's layers, seasons and file rows are checked where it is written to a file.
TEST(NewProject, IsPg70Minus22WithNoActiveCriterionAndEmptySpectra) {
    const CStenorDoc doc;
    EXPECT_EQ(kPgHighGrades[doc.pgHighIndex[0]], "70");
    EXPECT_EQ(kPgLowGrades[doc.pgLowIndex[0]], "-22");
    for (const auto& slot : doc.criteria)
        EXPECT_EQ(std::tuple(slot.active, slot.responseType, slot.targetPercentile),
                  std::tuple(0, -1, 50.0));
    for (double v : doc.shownLoadPercent)
        EXPECT_EQ(v, 0.0);
    const double vehicleShares =
        std::accumulate(doc.vehicleTypeValue.begin(), doc.vehicleTypeValue.begin() + 10, 0.0);
    EXPECT_NEAR(vehicleShares, 100.0, 1e-9);
}

TEST(FixedTables, BinWeightsAndContactRadii) {
    const CStenorDoc doc;
    EXPECT_EQ(doc.binAxleWeight[0], 1000.0);
    EXPECT_EQ(doc.binAxleWeight[55], 111000.0);
    // 35000 lb on the 4 tires of a single axle group at 100 psi: r = sqrt(W / n / (100 pi)),
    // with the program's multiplier for 1 / (100 pi), which is 1.3e-10 below the true value.
    constexpr double kMultiplier = 0.0031830988614222804;
    EXPECT_EQ(doc.contactRadius[Single][17], std::sqrt(35000.0 / 4 * kMultiplier));
    EXPECT_EQ(doc.contactRadius[Steer][0], std::sqrt(1000.0 / 2 * kMultiplier));
    EXPECT_EQ(doc.contactRadius[Tridem][55], std::sqrt(111000.0 / 12 * kMultiplier));
    EXPECT_NEAR(doc.contactRadius[Tandem][10], std::sqrt(21000.0 / 8 / (100 * M_PI)), 1e-9);
}

TEST(FixedTables, SpectraLibraryDistributionsAddUpToOneHundred) {
    const CStenorDoc doc;
    const std::array<int, 6> empty{11, 20, 21, 22, 24, 25};
    for (int j = 0; j < kSpectraLibrarySize; ++j) {
        const double sum =
            std::accumulate(doc.spectraLibrary[j].begin(), doc.spectraLibrary[j].end(), 0.0);
        const bool isEmpty = std::find(empty.begin(), empty.end(), j) != empty.end();
        EXPECT_NEAR(sum, isEmpty ? 0.0 : 100.0, 1e-9) << "distribution " << j;
    }
    EXPECT_EQ(doc.spectraLibrary[0][1], 1.8);
    EXPECT_EQ(doc.spectraLibrary[29][51], 0.12);
    EXPECT_EQ(doc.spectraLibrary[29][52], 0.0);
}

TEST(MaterialLists, TranslateListPositionsToMaterials) {
    EXPECT_EQ(materialOf(1, 0), MaterialType::AC);
    EXPECT_EQ(materialOf(2, 7), MaterialType::Soil);
    EXPECT_EQ(materialOf(1, 1), MaterialType::Other);  // not Cracked AC
    EXPECT_EQ(materialOf(3, 1), MaterialType::CrackedAC);
    EXPECT_EQ(materialOf(5, 0), MaterialType::GranBase);
    EXPECT_EQ(materialOf(5, 3), MaterialType::Other);
    EXPECT_EQ(materialIndexOf(5, MaterialType::Soil), 1);
    EXPECT_EQ(materialIndexOf(1, MaterialType::Soil), -1);
    EXPECT_EQ(materialOf(2, 42), MaterialType::Other);  // foreign file value stays in range
    EXPECT_EQ(materialName(MaterialType::CandSPCC), "C and S PCC");
}

}  // namespace
}  // namespace ardelon
