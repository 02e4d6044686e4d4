#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <span>

#include "support/ProjectCompare.h"

namespace ardelon {
namespace {

using testing::projectDifferences;

// Values expected from a byte offset of the file on: consecutive 4-byte integers or 8-byte reals.
struct At {
    const char* field;
    std::size_t offset;
    bool isInteger;
    std::vector<double> values;
};
constexpr bool I = true, R = false;

void expectAt(const std::vector<std::uint8_t>& bytes, std::span<const At> rows) {
    for (const At& r : rows) {
        const int width = r.isInteger ? 4 : 8;  // little-endian, as the file is written
        for (std::size_t i = 0; i < r.values.size(); ++i) {
            std::uint64_t bits = 0;
            for (int b = 0; b < width; ++b)
                bits |= std::uint64_t{bytes[r.offset + i * width + b]} << (8 * b);
            double real;
            std::memcpy(&real, &bits, sizeof real);
            const int integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
            EXPECT_EQ(r.isInteger ? integer : real, r.values[i]) << r.field << " [" << i << "]";
        }
    }
}

// The new project, ten inches of PG 70-22 asphalt over soil, as its rows stand in the file.
TEST(ProjectFileLayout, NewProjectRowsStandAtTheirOffsets) {
    const auto bytes = encodeProject(CStenorDoc{});
    ASSERT_EQ(bytes.size(), kProjectFileSize);
    // 12000 × 1.1 in double precision, not the decimal 13200.
    constexpr double kSoilSpring2 = 13200.000000000002;
    const At rows[] = {
        {"unitSystem (English), valuesInEnglish", 0, I, {1, 1}},
        {"layerModulus", 8, R, {522958, 12000, 12000, 12000, 12000}},
        {"minModulus", 48, R, {50000}},
        {"maxModulus", 88, R, {4000000}},
        {"materialIndex: AC, Soil", 208, I, {0, 7}},
        {"thickness", 228, R, {10}},
        {"layerCountIndex, Fall to Spring 2 enabled (Summer not written)", 332, I, {0, 1, 1, 1, 0}},
        {"seasonWeeks", 352, I, {26, 8, 12, 6, 0}},
        {"acSurfaceTemperature", 376, R, {85}},
        {"modulusDistribution", 384, I, {1}},
        {"modulusCov", 388, R, {30}},
        {"thicknessCov", 448, R, {5}},
        {"meanAirTemperature", 492, R, {70}},
        {"temperatureCorrection, pgHighIndex (PG 70)", 532, I, {1, 2}},
        {"pgLowIndex (PG -22)", 552, I, {2}},
        // Seasonal moduli: per season the five layers, then the AC temperature.
        {"Summer", 584, R, {522958, 12000, 12000, 12000, 12000, 85}},
        {"Fall", 632, R, {522958, 15000, 15000, 15000, 15000, 50}},
        {"Winter", 680, R, {522958, 24000}},
        {"Spring", 728, R, {522958, 15000}},
        {"Spring 2", 776, R, {522958, kSoilSpring2, kSoilSpring2, kSoilSpring2, kSoilSpring2}},
        {"configurationEnabled", 824, I, {1}},
        {"aadt", 1292, I, {1000}},
        {"configurationPercent", 1320, R, {100}},
        {"vehicleTypeValue", 1356, R, {1.2}},
        {"criteria[0].active, responseType", 5260, I, {0, -1}},
        {"criteria[0].targetPercentile", 5336, R, {50}},
        {"axleGroupsPerDay", 6528, I, {1000}},
        {"truckGrowthPercent", 6532, R, {4}},
        {"fatigueLayer", 6540, I, {1}},
        {"expectedEsals", 6544, R, {1000000}},
        {"transferCoefficient", 6592, R, {2.83e-06, 3.20596, 5.5e15, 3.929}},
        {"acTempCoefficient", 6624, R, {16693.4, 26.2, -1459.7}},
        {"laneWidth", 6712, R, {12}}};
    expectAt(bytes, rows);
}

TEST(ProjectFileLayout, BinFifteenPrecedesBinFourteenAndCdfIsInterleaved) {
    CStenorDoc doc;
    for (int k = 0; k < kBinCount; ++k)
        doc.shownLoadPercent[k] = k;
    for (int c = 0; c < kConfigurationCount; ++c) {
        for (int k = 0; k < kBinCount; ++k) {
            doc.loadCdf[c][k] = 1000 * c + k;
            doc.loadSpectra[c][k] = -(1000 * c + k);
        }
    }
    // Row 29 runs bin by bin over the four configurations; row 30 configuration by configuration.
    const At rows[] = {{"shown bins 13, 15, 14, 16", 844 + 8 * 13, R, {13, 15, 14, 16}},
                       {"cdf Tandem bin 1", 1676 + 8 * 5, R, {1001}},
                       {"cdf Tridem bin 55", 1676 + 8 * (4 * 55 + 3), R, {3055}},
                       {"spectra Tandem bin 1", 3468 + 8 * 57, R, {-1001}}};
    expectAt(encodeProject(doc), rows);
}

TEST(ProjectFileLayout, CriterionRecordsTakeEightyFourBytes) {
    CStenorDoc doc;
    doc.criteria[2] = {.active = 1,
                       .responseType = 7,
                       .threshold = -70,
                       .k1 = 2.5,
                       .k2 = 3.5,
                       .useTransferFunction = 1,
                       .damagePerMillion = 99,  // not saved
                       .distribution = {-257, -194, -158, -131, -110},
                       .targetPercentile = 90};
    doc.enduranceLimit = -100;
    const std::size_t slot2 = 5260 + 2 * 84;
    const At rows[] = {
        {"active, responseType", slot2, I, {1, 7}},
        {"threshold, k1, k2", slot2 + 8, R, {-70, 2.5, 3.5}},
        {"useTransferFunction", slot2 + 32, I, {1}},
        {"distribution, targetPercentile", slot2 + 36, R, {-257, -194, -158, -131, -110, 90}},
        {"slot 3 active, responseType", slot2 + 84, I, {0, -1}},
        {"enduranceLimit", 6520, R, {-100}}};
    expectAt(encodeProject(doc), rows);
}

CStenorDoc editedProject() {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    doc.thickness = {25.4, 30.48, 2537.46, 2537.46};
    doc.layerModulus = {3605.6, 82.74, 82.74, 82.74, 82.74};
    doc.layerCountIndex = 2;
    doc.seasonEnabled[Spring2] = 1;
    doc.seasonWeeks = {20, 8, 12, 6, 6};
    doc.currentConfiguration = Tandem;
    doc.loadSpectra[Tandem][20] = 12.34;
    doc.criteria[14].active = 1;
    doc.totalAxlePercent = 100;
    doc.layerCost = {1.5, 2.5, 3.5, 4.5};
    return doc;
}

// Reopening restores every saved field; the fields the file does not hold keep the values the
// reopened project had.
TEST(ProjectFileLayout, DecodingRestoresEverySavedFieldAndKeepsTheOthers) {
    const CStenorDoc saved = editedProject();
    const auto changeUnsaved = [](CStenorDoc& doc) {
        doc.esalFactor = 3.25;
        doc.axleTypeFraction = {0.5, 0.5, 0, 0};
        doc.totalCost = 77;
        doc.criteria[4].damagePerMillion = 12;
        doc.useLoadSpectra = 0;
        doc.output.loadCount = 4;
    };
    CStenorDoc reopened, expected = saved;
    changeUnsaved(reopened);
    changeUnsaved(expected);
    ASSERT_TRUE(decodeProject(encodeProject(saved), reopened).ok());
    EXPECT_EQ(projectDifferences(reopened, expected), "");
    EXPECT_EQ(encodeProject(reopened), encodeProject(saved));
}

// A short file is refused and an empty one read as nothing; neither changes the project. A long
// file's tail is ignored.
TEST(ProjectFileLayout, ShortOrEmptyFilesChangeNothingAndLongFileIgnoresTheTail) {
    const auto bytes = encodeProject(editedProject());
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{100}, kProjectFileSize - 1}) {
        CStenorDoc doc = editedProject();
        const CStenorDoc before = doc;
        std::vector<std::uint8_t> truncated(bytes.begin(), bytes.begin() + size);
        const FileResult result = decodeProject(truncated, doc);
        EXPECT_EQ(result.error, size == 0 ? "" : "Unexpected file format.") << size;
        EXPECT_EQ(projectDifferences(doc, before), "") << size;
    }
    auto longer = bytes;
    longer.resize(bytes.size() + 100, 0xAB);
    CStenorDoc reopened;
    EXPECT_TRUE(decodeProject(longer, reopened).ok());
    EXPECT_EQ(reopened.thickness[0], 25.4);
}

}  // namespace
}  // namespace ardelon
