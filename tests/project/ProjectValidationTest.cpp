#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>

#include "project/ProjectFile.h"
#include "project/ProjectJson.h"

namespace ardelon {
namespace {

struct ReadCase {
    const char* what;
    std::function<void(CStenorDoc&)> damage;
    std::string error;                               // empty: accepted
    std::function<bool(const CStenorDoc&)> clamped;  // what the accepted project holds
};

// Both readers share one check, so each damaged field behaves the same from either file.
class DamagedFields : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DamagedFields, AreClampedOrRefusedAlikeByBothReaders) {
    const ReadCase& c = GetParam();
    CStenorDoc damaged;
    c.damage(damaged);
    CStenorDoc before;
    before.aadt = 4321;  // the project a refused read must leave as it was
    CStenorDoc fromArd = before, fromJson = before;
    const FileResult ard = decodeProject(encodeProject(damaged), fromArd);
    const FileResult json = projectFromJson(projectToJson(damaged), fromJson);
    EXPECT_EQ(ard.error, c.error);
    EXPECT_EQ(json.error, c.error);
    if (c.error.empty()) {
        EXPECT_TRUE(c.clamped(fromArd));
        EXPECT_EQ(encodeProject(fromJson), encodeProject(fromArd));
    } else {
        EXPECT_EQ(fromArd, before);
        EXPECT_EQ(fromJson, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProjectValidation, DamagedFields,
    ::testing::Values(
        ReadCase{"layers", [](CStenorDoc& d) { d.layerCountIndex = 99; }, "",
                 [](const CStenorDoc& d) { return d.layerCountIndex == 3; }},
        ReadCase{"negativeLayers", [](CStenorDoc& d) { d.layerCountIndex = -4; }, "",
                 [](const CStenorDoc& d) { return d.layerCountIndex == 0; }},
        ReadCase{"season", [](CStenorDoc& d) { d.currentSeason = 7; }, "",
                 [](const CStenorDoc& d) { return d.currentSeason == Summer; }},
        ReadCase{"configuration", [](CStenorDoc& d) { d.currentConfiguration = -1; }, "",
                 [](const CStenorDoc& d) { return d.currentConfiguration == Single; }},
        ReadCase{"grades",
                 [](CStenorDoc& d) {
                     d.pgHighIndex[0] = 100;
                     d.pgLowIndex[1] = -3;
                 },
                 "",
                 [](const CStenorDoc& d) { return d.pgHighIndex[0] == 6 && d.pgLowIndex[1] == 0; }},
        ReadCase{"materials",
                 [](CStenorDoc& d) {
                     d.materialIndex[0] = 5;
                     d.materialIndex[2] = 10;
                     d.materialIndex[4] = -1;
                 },
                 "",
                 [](const CStenorDoc& d) {
                     return d.materialIndex[0] == 1 && d.materialIndex[2] == 9 &&
                            d.materialIndex[4] == 3;
                 }},
        ReadCase{"units", [](CStenorDoc& d) { d.unitSystem = 2; },
                 "field \"unitSystem\": 2 is neither 0 nor 1", nullptr},
        ReadCase{"distribution", [](CStenorDoc& d) { d.thicknessDistribution[3] = -1; },
                 "field \"thicknessDistribution[3]\": -1 is neither 0 nor 1", nullptr},
        ReadCase{"weeks", [](CStenorDoc& d) { d.seasonWeeks[1] = INT_MAX; },
                 "field \"seasonWeeks[1]\": 2147483647 weeks lies outside 0 to 52", nullptr},
        ReadCase{"negativeWeeks", [](CStenorDoc& d) { d.seasonWeeks[4] = -1; },
                 "field \"seasonWeeks[4]\": -1 weeks lies outside 0 to 52", nullptr}),
    [](const auto& info) { return std::string(info.param.what); });

double nanWithBits(std::uint64_t bits) {
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(ProjectValidation, EveryNaNKeepsItsBitsThroughJson) {
    CStenorDoc doc;
    doc.percentTrucks = nanWithBits(0x7ff4000000000001);
    doc.enduranceLimit = -std::numeric_limits<double>::quiet_NaN();
    doc.laneWidth = std::numeric_limits<double>::quiet_NaN();
    const std::string text = projectToJson(doc);
    EXPECT_NE(text.find("\"percentTrucks\": \"NaN:0x7ff4000000000001\""), std::string::npos);
    EXPECT_NE(text.find("\"laneWidth\": \"NaN\""), std::string::npos);
    CStenorDoc back;
    ASSERT_TRUE(projectFromJson(text, back).ok());
    EXPECT_EQ(encodeProject(back), encodeProject(doc));
    // Bit patterns that are not a NaN are not numbers of the document.
    std::string finite = text;
    finite.replace(finite.find("NaN:0x7ff4000000000001"), 22, "NaN:0x3ff0000000000000");
    EXPECT_EQ(projectFromJson(finite, back).error, "field \"percentTrucks\": expected a number");
}

TEST(ProjectValidation, NumberBeyondDoubleRangeNamesItsPlace) {
    CStenorDoc doc;
    EXPECT_EQ(projectFromJson("{\n  \"aadt\": 1e999\n}", doc).error,
              "JSON number out of range at line 2, column 15");
    EXPECT_EQ(projectFromJson("{\"a\": [1e-999, -1e400]}", doc).error,
              "JSON number out of range at line 1, column 21");
    EXPECT_EQ(doc, CStenorDoc{});
    // The desktop's open goes through loadProject: a message, never an exception.
    const std::string path = ::testing::TempDir() + "beyond-range.json";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("{\"aadt\": 1e999}", file);
    std::fclose(file);
    EXPECT_EQ(loadProject(path, doc).error,
              path + ": JSON number out of range at line 1, column 14");
    std::remove(path.c_str());
}

TEST(ProjectValidation, ReadersStopAtTheSizeLimit) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(readWholeFile("/dev/zero", bytes).error,
              "Cannot read \"/dev/zero\": the file is larger than 4194304 bytes.");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(readWholeFile("/dev/zero", bytes, 100).error,
              "Cannot read \"/dev/zero\": the file is larger than 100 bytes.");
}

}  // namespace
}  // namespace ardelon
