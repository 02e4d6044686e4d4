#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>

#include "project/ProjectFile.h"
#include "project/ProjectJson.h"

namespace ardelon {
namespace {

using D = CStenorDoc;

// One integer field of the project stored with a damaged value.
struct ReadCase {
    const char* what;
    int& (*field)(D&);
    int stored;
    int read;           // what the accepted project holds
    std::string error;  // empty: accepted
};

// Both readers share one check, so each damaged field behaves the same from either file.
class DamagedFields : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DamagedFields, AreClampedOrRefusedAlikeByBothReaders) {
    const ReadCase& c = GetParam();
    CStenorDoc damaged;
    c.field(damaged) = c.stored;
    CStenorDoc before;
    before.aadt = 4321;  // the project a refused read must leave as it was
    CStenorDoc fromArd = before, fromJson = before;
    const FileResult ard = decodeProject(encodeProject(damaged), fromArd);
    const FileResult json = projectFromJson(projectToJson(damaged), fromJson);
    EXPECT_EQ(ard.error, c.error);
    EXPECT_EQ(json.error, c.error);
    if (c.error.empty()) {
        EXPECT_EQ(c.field(fromArd), c.read);
        EXPECT_EQ(encodeProject(fromJson), encodeProject(fromArd));
    } else {
        EXPECT_EQ(fromArd, before);
        EXPECT_EQ(fromJson, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProjectValidation, DamagedFields,
    ::testing::Values(
        ReadCase{"layers", [](D& d) -> int& { return d.layerCountIndex; }, 99, 3, ""},
        ReadCase{"negativeLayers", [](D& d) -> int& { return d.layerCountIndex; }, -4, 0, ""},
        ReadCase{"season", [](D& d) -> int& { return d.currentSeason; }, 7, Summer, ""},
        ReadCase{"configuration", [](D& d) -> int& { return d.currentConfiguration; }, -1, Single,
                 ""},
        ReadCase{"pgHigh", [](D& d) -> int& { return d.pgHighIndex[0]; }, 100, 6, ""},
        ReadCase{"pgLow", [](D& d) -> int& { return d.pgLowIndex[1]; }, -3, 0, ""},
        ReadCase{"surfaceMaterial", [](D& d) -> int& { return d.materialIndex[0]; }, 5, 1, ""},
        ReadCase{"material3", [](D& d) -> int& { return d.materialIndex[2]; }, 10, 9, ""},
        ReadCase{"material5", [](D& d) -> int& { return d.materialIndex[4]; }, -1, 3, ""},
        ReadCase{"units", [](D& d) -> int& { return d.unitSystem; }, 2, 0,
                 "field \"unitSystem\": 2 is neither 0 nor 1"},
        ReadCase{"distribution", [](D& d) -> int& { return d.thicknessDistribution[3]; }, -1, 0,
                 "field \"thicknessDistribution[3]\": -1 is neither 0 nor 1"},
        ReadCase{"weeks", [](D& d) -> int& { return d.seasonWeeks[1]; }, INT_MAX, 0,
                 "field \"seasonWeeks[1]\": 2147483647 weeks lies outside 0 to 52"},
        ReadCase{"negativeWeeks", [](D& d) -> int& { return d.seasonWeeks[4]; }, -1, 0,
                 "field \"seasonWeeks[4]\": -1 weeks lies outside 0 to 52"}),
    [](const auto& info) { return std::string(info.param.what); });

// The desktop and the command line open a project through loadProject: a message, never an
// exception.
TEST(ProjectValidation, NumberBeyondDoubleRangeNamesItsPlace) {
    const std::string path = ::testing::TempDir() + "beyond-range.json";
    std::ofstream(path) << "{\n  \"aadt\": 1e999\n}";
    CStenorDoc doc;
    EXPECT_EQ(loadProject(path, doc).error,
              path + ": JSON number out of range at line 2, column 15");
    std::remove(path.c_str());
    EXPECT_EQ(projectFromJson("{\"a\": [1e-999, -1e400]}", doc).error,
              "JSON number out of range at line 1, column 21");
    EXPECT_EQ(doc, CStenorDoc{});
}

TEST(ProjectValidation, ReadersStopAtTheSizeLimit) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(readWholeFile("/dev/zero", bytes, 100).error,
              "Cannot read \"/dev/zero\": the file is larger than 100 bytes.");
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace ardelon
