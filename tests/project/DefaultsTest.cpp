#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>

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
    EXPECT_EQ(std::pair(doc.binAxleWeight[0], doc.binAxleWeight[55]), std::pair(1000.0, 111000.0));
    // A tire at 100 psi carrying W / n lb touches a circle of W / n / 100 in.², radius
    // sqrt(W / n / 100 / pi): 35000 lb on the 4 tires of a single axle group, 8750 lb a tire on
    // 87.5 in.², r = 5.27751 in. The program's multiplier for 1 / (100 pi) lies 1.3e-10 below the
    // true value, far inside a nanometre of radius.
    constexpr double kRadiusTolerance = 1e-9;
    const std::tuple<int, int, double> cases[] = {
        {Single, 17, 5.27751030705594},   // 35000 lb / 4 tires
        {Steer, 0, 1.26156626101008},     // 1000 lb / 2 tires
        {Tridem, 55, 5.426201661567752},  // 111000 lb / 12 tires
        {Tandem, 10, 2.890611442640554},  // 21000 lb / 8 tires
    };
    for (const auto& [configuration, bin, radius] : cases)
        EXPECT_NEAR(doc.contactRadius[configuration][bin], radius, kRadiusTolerance) << bin;
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
