#include "project/ProjectJson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <limits>
#include <optional>

#include "support/ProjectCompare.h"

namespace ardelon {
namespace {

using testing::everyFieldChanged;
using testing::projectDifferences;

using nlohmann::json;

CStenorDoc awkwardProject() {
    CStenorDoc doc;
    doc.thickness[0] = 0.1 + 0.2;  // 0.30000000000000004
    doc.layerModulus[1] = 1.0 / 3.0;
    doc.seasonalModulus[3][2] = 1e-300;
    doc.loadCdf[Tridem][55] = 0.9999999999999999;
    doc.criteria[7].active = 1;
    doc.criteria[7].distribution[4] = -0.0;
    doc.enduranceLimit = -std::numeric_limits<double>::quiet_NaN();
    doc.percentTrucks = std::bit_cast<double>(0x7ff4000000000001ULL);  // a NaN with a payload
    doc.laneWidth = std::numeric_limits<double>::quiet_NaN();
    doc.costPerTon[3] = std::numeric_limits<double>::infinity();
    doc.aadt = std::numeric_limits<int>::min();
    doc.seasonEnabled[Spring2] = 1;
    return doc;
}

// The sizes of the tables are held by the reader, which refuses any other (checked below), and
// by the round trip through it.
TEST(ProjectJson, NamesEveryFieldAndNestsTheTables) {
    const json j = json::parse(projectToJson(CStenorDoc{}));
    EXPECT_EQ(j["format"], "ardelon-project");
    EXPECT_EQ(j["version"], 1);
    EXPECT_EQ(j.at("seasonalModulus").at(4).at(4).get<double>(), 13200.000000000002);
    EXPECT_EQ(j["criteria"][0]["responseType"], -1);
    EXPECT_EQ(j["seasonEnabled"], json::array({1, 1, 1, 0}));
    EXPECT_FALSE(j.contains("esalFactor"));
    EXPECT_FALSE(j.contains("spectraLibrary"));
}

TEST(ProjectJson, RoundTripIsBitIdenticalThroughBothFormatsEveryNaNIncluded) {
    const CStenorDoc original = awkwardProject();
    const std::string text = projectToJson(original);
    EXPECT_NE(text.find("\"percentTrucks\": \"NaN:0x7ff4000000000001\""), std::string::npos);
    EXPECT_NE(text.find("\"laneWidth\": \"NaN\""), std::string::npos);
    CStenorDoc fromJson;
    ASSERT_TRUE(projectFromJson(text, fromJson).ok());
    EXPECT_EQ(encodeProject(fromJson), encodeProject(original));
    EXPECT_EQ(projectToJson(fromJson), text);
    // Bit patterns that are not a NaN are not numbers of the document.
    std::string finite = text;
    finite.replace(finite.find("NaN:0x7ff4000000000001"), 22, "NaN:0x3ff0000000000000");
    EXPECT_EQ(projectFromJson(finite, fromJson).error,
              "field \"percentTrucks\": expected a number");
}

// Every field of the project is saved or named here as not saved: a field added to the project
// (and so to the field list) and forgotten by the writer fails this test by its name.
TEST(ProjectJson, SavesEveryFieldButTheSessionOnes) {
    CStenorDoc changed = everyFieldChanged();
    changed.modulusDistribution.fill(0);  // the reader takes only flags
    changed.thicknessDistribution.fill(1);
    changed.materialIndex = {1, 2, 3, 4, 1};  // within each layer's list
    changed.pgLowIndex = {3, 4, 5, 0};
    CStenorDoc loaded;
    ASSERT_TRUE(projectFromJson(projectToJson(changed), loaded).ok());
    // Summer's flag (always in use), the damage of the last run, the derived and fixed traffic
    // tables, the cost total and the Output module's state are not saved.
    EXPECT_EQ(projectDifferences(loaded, changed),
              "differs in seasonEnabled[0], esalFactor, useLoadSpectra, axleTypeFraction[0], "
              "binAxleWeight[0], contactRadius[0], spectraLibrary[0], criteria[0], totalCost, "
              "output");
}

// One value of the default document replaced (or, without a value, removed): the reader's
// message, and a refused document leaves the project unchanged.
TEST(ProjectJson, RefusesDocumentsThatDoNotDescribeAProject) {
    const struct {
        const char* pointer;
        std::optional<json> value;
        std::string message;
    } cases[] = {
        {"/colour", "red", "unknown field \"colour\""},
        {"/aadt", std::nullopt, "missing field \"aadt\""},
        {"/aadt", 1.5, "field \"aadt\": expected an integer"},
        {"/aadt", "1000", "field \"aadt\": expected an integer"},
        {"/aadt", 4294967296LL, "field \"aadt\": 4294967296 is outside the 32-bit integer range"},
        {"/aadt", -2147483649LL, "field \"aadt\": -2147483649 is outside the 32-bit integer range"},
        {"/thickness", json::array({1, 2, 3}), "field \"thickness\": expected 4 elements, found 3"},
        {"/thickness", 10, "field \"thickness\": expected an array of 4 elements"},
        {"/seasonalModulus/2/3", true, "field \"seasonalModulus[2][3]\": expected a number"},
        {"/criteria/3/threshold", std::nullopt, "missing field \"criteria[3].threshold\""},
        {"/criteria/3/damagePerMillion", 1, "unknown field \"criteria[3].damagePerMillion\""},
        {"/criteria/14", std::nullopt, "field \"criteria\": expected an array of 15 objects"},
        {"/format", "other", "field \"format\": expected \"ardelon-project\""},
        {"/version", 2, "field \"version\": expected 1"},
        {"/report", json::array(), "field \"report\": expected an object"},
        {"/report", json{{"title", 7}}, "field \"report.title\": expected a text"},
        {"/report", json{{"author", "x"}}, "unknown field \"report.author\""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pointer);
        json j = json::parse(projectToJson(CStenorDoc{}));
        if (c.value)
            j[json::json_pointer(c.pointer)] = *c.value;
        else
            j = j.patch(json::array({{{"op", "remove"}, {"path", c.pointer}}}));
        CStenorDoc doc;
        EXPECT_EQ(projectFromJson(j.dump(), doc).error, c.message);
        EXPECT_EQ(projectDifferences(doc, CStenorDoc{}), "");
    }
}

// The design report's texts travel in JSON projects only when given; the .ard file has none.
TEST(ProjectJson, KeepsTheReportTextsWhenGiven) {
    EXPECT_FALSE(json::parse(projectToJson(CStenorDoc{})).contains("report"));
    CStenorDoc doc;
    doc.reportDetails = {"I-99 Section 4", "Mill and overlay,\n2 lanes", "", "Pavement Unit"};
    const std::string text = projectToJson(doc);
    EXPECT_EQ(json::parse(text)["report"], (json{{"title", "I-99 Section 4"},
                                                 {"description", "Mill and overlay,\n2 lanes"},
                                                 {"client", ""},
                                                 {"engineer", "Pavement Unit"}}));
    CStenorDoc read;
    ASSERT_TRUE(projectFromJson(text, read).ok());
    EXPECT_EQ(read.reportDetails, doc.reportDetails);
    EXPECT_EQ(encodeProject(read), encodeProject(CStenorDoc{}));
    // A project read without the texts has none, whatever the document held before.
    ASSERT_TRUE(projectFromJson(projectToJson(CStenorDoc{}), read).ok());
    EXPECT_TRUE(read.reportDetails.empty());
}

TEST(ProjectJson, SyntaxErrorsNameLineAndColumn) {
    CStenorDoc doc;
    EXPECT_EQ(projectFromJson("{\n  \"format\": ,\n}", doc).error,
              "JSON syntax error at line 2, column 13");
    EXPECT_EQ(projectFromJson("[1, 2]", doc).error, "the document is not a JSON object");
}

}  // namespace
}  // namespace ardelon
