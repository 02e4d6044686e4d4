#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace ardelon {
namespace {

namespace fs = std::filesystem;

int intAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return static_cast<int>(bits);
}

double doubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t{bytes[offset + i]} << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("ardelon-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST(ProjectFileLayout, NewProjectRowsStandAtTheirOffsets) {
    CStenorDoc doc;
    const auto bytes = encodeProject(doc);
    ASSERT_EQ(bytes.size(), kProjectFileSize);
    EXPECT_EQ(intAt(bytes, 0), 1);  // unitSystem
    EXPECT_EQ(intAt(bytes, 4), 1);  // valuesInEnglish
    EXPECT_EQ(doubleAt(bytes, 8), 522958.0);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(doubleAt(bytes, 8 + 8 * i), 12000.0);
    EXPECT_EQ(doubleAt(bytes, 48), 50000.0);    // minModulus
    EXPECT_EQ(doubleAt(bytes, 88), 4000000.0);  // maxModulus
    EXPECT_EQ(intAt(bytes, 208 + 4), 7);        // materialIndex of layer 2: Soil
    EXPECT_EQ(doubleAt(bytes, 228), 10.0);      // thickness of layer 1
    EXPECT_EQ(intAt(bytes, 332), 0);            // layerCountIndex
    EXPECT_EQ(intAt(bytes, 336), 1);            // Fall enabled (Summer not written)
    EXPECT_EQ(intAt(bytes, 348), 0);            // Spring 2
    const int weeks[] = {26, 8, 12, 6, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(intAt(bytes, 352 + 4 * i), weeks[i]);
    EXPECT_EQ(doubleAt(bytes, 376), 85.0);              // acSurfaceTemperature
    EXPECT_EQ(intAt(bytes, 384), 1);                    // modulusDistribution of layer 1
    EXPECT_EQ(doubleAt(bytes, 388), 30.0);              // modulusCov of layer 1
    EXPECT_EQ(doubleAt(bytes, 384 + 5 * 12 + 4), 5.0);  // thicknessCov of layer 1
    EXPECT_EQ(doubleAt(bytes, 492), 70.0);              // meanAirTemperature
    EXPECT_EQ(intAt(bytes, 532), 1);                    // temperatureCorrection
    EXPECT_EQ(intAt(bytes, 536), 2);                    // pgHighIndex
    EXPECT_EQ(doubleAt(bytes, 584 + 8 * 5), 85.0);      // Summer AC temperature after five moduli
    EXPECT_EQ(doubleAt(bytes, 584 + 48 * 4 + 8 * 4), 13200.000000000002);
    EXPECT_EQ(intAt(bytes, 824), 1);                 // Single enabled
    EXPECT_EQ(intAt(bytes, 1292), 1000);             // aadt
    EXPECT_EQ(doubleAt(bytes, 1296 + 24), 100.0);    // configurationPercent of Single
    EXPECT_EQ(doubleAt(bytes, 1356), 1.2);           // vehicleTypeValue[0]
    EXPECT_EQ(intAt(bytes, 5260 + 4), -1);           // responseType of slot 0
    EXPECT_EQ(doubleAt(bytes, 5260 + 76), 50.0);     // targetPercentile of slot 0
    EXPECT_EQ(intAt(bytes, 6528), 1000);             // axleGroupsPerDay
    EXPECT_EQ(doubleAt(bytes, 6532), 4.0);           // truckGrowthPercent
    EXPECT_EQ(intAt(bytes, 6540), 1);                // fatigueLayer
    EXPECT_EQ(doubleAt(bytes, 6544), 1000000.0);     // expectedEsals
    EXPECT_EQ(doubleAt(bytes, 6592 + 16), 5.5e15);   // K3
    EXPECT_EQ(doubleAt(bytes, 6624 + 16), -1459.7);  // Q3
    EXPECT_EQ(doubleAt(bytes, 6712), 12.0);          // laneWidth
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
    const auto bytes = encodeProject(doc);
    EXPECT_EQ(doubleAt(bytes, 844 + 8 * 13), 13.0);
    EXPECT_EQ(doubleAt(bytes, 844 + 8 * 14), 15.0);
    EXPECT_EQ(doubleAt(bytes, 844 + 8 * 15), 14.0);
    EXPECT_EQ(doubleAt(bytes, 844 + 8 * 16), 16.0);
    // Row 29: bin 1 of Tandem is the sixth value.
    EXPECT_EQ(doubleAt(bytes, 1676 + 8 * 5), 1001.0);
    EXPECT_EQ(doubleAt(bytes, 1676 + 8 * (4 * 55 + 3)), 3055.0);
    // Row 30: Tandem bin 1 follows all 56 Single bins.
    EXPECT_EQ(doubleAt(bytes, 3468 + 8 * 57), -1001.0);
}

TEST(ProjectFileLayout, CriterionRecordsTakeEightyFourBytes) {
    CStenorDoc doc;
    CriterionSlot& slot = doc.criteria[2];
    slot.active = 1;
    slot.responseType = 7;
    slot.threshold = -70;
    slot.k1 = 2.5;
    slot.k2 = 3.5;
    slot.useTransferFunction = 1;
    slot.distribution = {-257, -194, -158, -131, -110};
    slot.targetPercentile = 90;
    slot.damagePerMillion = 99;  // not saved
    doc.enduranceLimit = -100;
    const auto bytes = encodeProject(doc);
    const std::size_t base = 5260 + 2 * 84;
    EXPECT_EQ(intAt(bytes, base), 1);
    EXPECT_EQ(intAt(bytes, base + 4), 7);
    EXPECT_EQ(doubleAt(bytes, base + 8), -70.0);
    EXPECT_EQ(doubleAt(bytes, base + 16), 2.5);
    EXPECT_EQ(doubleAt(bytes, base + 24), 3.5);
    EXPECT_EQ(intAt(bytes, base + 32), 1);
    EXPECT_EQ(doubleAt(bytes, base + 36), -257.0);
    EXPECT_EQ(doubleAt(bytes, base + 68), -110.0);
    EXPECT_EQ(doubleAt(bytes, base + 76), 90.0);
    EXPECT_EQ(doubleAt(bytes, 6520), -100.0);
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

TEST(ProjectFileLayout, DecodingRestoresEverySavedField) {
    const CStenorDoc saved = editedProject();
    CStenorDoc reopened;
    ASSERT_TRUE(decodeProject(encodeProject(saved), reopened).ok());
    CStenorDoc expected = saved;
    // Fields that are not saved keep the values the reopened project had.
    expected.output = reopened.output;
    EXPECT_TRUE(reopened == expected);
    EXPECT_EQ(encodeProject(reopened), encodeProject(saved));
}

TEST(ProjectFileLayout, FieldsThatAreNotSavedKeepTheirValues) {
    CStenorDoc target;
    target.esalFactor = 3.25;
    target.axleTypeFraction = {0.5, 0.5, 0, 0};
    target.totalCost = 77;
    target.criteria[4].damagePerMillion = 12;
    target.useLoadSpectra = 0;
    target.seasonEnabled[Summer] = 1;
    ASSERT_TRUE(decodeProject(encodeProject(editedProject()), target).ok());
    EXPECT_EQ(target.esalFactor, 3.25);
    EXPECT_EQ(target.axleTypeFraction[0], 0.5);
    EXPECT_EQ(target.totalCost, 77.0);
    EXPECT_EQ(target.criteria[4].damagePerMillion, 12.0);
    EXPECT_EQ(target.useLoadSpectra, 0);
    EXPECT_EQ(target.unitSystem, Metric);
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
        EXPECT_TRUE(doc == before) << size;
    }
    auto longer = bytes;
    longer.resize(bytes.size() + 100, 0xAB);
    CStenorDoc reopened;
    EXPECT_TRUE(decodeProject(longer, reopened).ok());
    EXPECT_EQ(reopened.thickness[0], 25.4);
}

using ProjectFileOnDisk = TempDir;

TEST_F(ProjectFileOnDisk, SaveOpenSaveIsByteIdentical) {
    const std::string first = path("first.ard"), second = path("second.ard");
    ASSERT_TRUE(saveProjectFile(editedProject(), first).ok());
    EXPECT_EQ(fs::file_size(first), kProjectFileSize);
    CStenorDoc reopened;
    ASSERT_TRUE(openProjectFile(first, reopened).ok());
    ASSERT_TRUE(saveProjectFile(reopened, second).ok());
    std::vector<std::uint8_t> a, b;
    ASSERT_TRUE(readWholeFile(first, a).ok());
    ASSERT_TRUE(readWholeFile(second, b).ok());
    EXPECT_EQ(a, b);
    // The metric project keeps its centimetres, MPa and flag.
    EXPECT_EQ(reopened.valuesInEnglish, 0);
    EXPECT_EQ(reopened.thickness[2], 2537.46);
    EXPECT_EQ(reopened.layerModulus[0], 3605.6);
}

TEST_F(ProjectFileOnDisk, MissingFileOrFolderNamesThePathAndReason) {
    CStenorDoc doc;
    EXPECT_EQ(openProjectFile(path("nowhere.ard"), doc).error,
              "Cannot open \"" + path("nowhere.ard") + "\": No such file or directory.");
    EXPECT_TRUE(doc == CStenorDoc{});
    EXPECT_EQ(saveProjectFile(doc, path("no/such/folder.ard")).error,
              "Cannot save \"" + path("no/such/folder.ard") + "\": No such file or directory.");
}

}  // namespace
}  // namespace ardelon
