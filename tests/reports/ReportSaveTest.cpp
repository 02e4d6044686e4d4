// Saving the report: clear messages naming the path and the reason, and no partial workbook
// under the chosen name whatever goes wrong.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ReportTestSupport.h"
#include "reports/FormattedReport.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {
namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class ReportSave : public ::testing::Test {
  protected:
    CStenorDoc doc;
    AnalysisResults results;  // what is saved does not matter here, only how
    test::ScratchFolder folder;
};

TEST_F(ReportSave, UnusablePathsAreRefusedNamingThePathAndTheReason) {
    const std::string missing = folder.file("no such folder"), plain = folder.file("plain");
    const std::string folderNamed = folder.file("design.xlsx");
    writeText(plain, "x");
    fs::create_directory(folderNamed);
    writeText(folderNamed + "/keep.txt", "kept");
    for (auto [path, reason] :
         {std::pair<std::string, std::string>{missing + "/design.xlsx",
                                              "the folder \"" + missing + "\" does not exist."},
          {plain + "/design.xlsx", "\"" + plain + "\" is not a folder."},
          {folderNamed, "a folder of that name exists."}}) {
        EXPECT_EQ(exportFormattedReport(doc, results, path).error,
                  "Cannot save the report \"" + path + "\": " + reason);
    }
    EXPECT_EQ(exportFormattedReport(doc, results, "").error,
              "Cannot save the report: no file name was given.");
    EXPECT_EQ(folder.listing(), "design.xlsx plain");
    EXPECT_EQ(testing::readBytes(folderNamed + "/keep.txt"), "kept");
}

TEST_F(ReportSave, ReadOnlyFolderGivesTheSystemsReason) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    writeText(folder.file("design.xlsx"), "previous report");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string path = folder.file("design.xlsx");
    const FileResult saved = exportFormattedReport(doc, results, path);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(saved.error, "Cannot save the report \"" + path + "\": Permission denied.");
    EXPECT_EQ(folder.listing(), "design.xlsx");
    EXPECT_EQ(testing::readBytes(path), "previous report");
}

TEST_F(ReportSave, FailureWhileWritingKeepsThePreviousFileAndNoTemporary) {
    writeText(folder.file("design.xlsx"), "previous report");
    ReportWorkbook book = buildFormattedReport(doc, results, folder.file("design.xlsx"));
    book.sheets[1].name = "Summary: 1/2";  // refused by the spreadsheet format
    const FileResult saved = saveWorkbook(book, folder.file("design.xlsx"));
    EXPECT_EQ(saved.error.rfind("Cannot save the report \"" + folder.file("design.xlsx") +
                                    "\": Worksheet name cannot contain invalid characters",
                                0),
              0u)
        << saved.error;
    EXPECT_EQ(folder.listing(), "design.xlsx");
    EXPECT_EQ(testing::readBytes(folder.file("design.xlsx")), "previous report");
}

// Fresh workbooks under any name are read back whole in the read-back tests.
TEST_F(ReportSave, ReplacesAPreviousFileWhole) {
    const std::string path = folder.file("design.xlsx");
    writeText(path, std::string(200000, 'z'));  // larger than the new workbook
    const FileResult saved = exportFormattedReport(doc, results, path);
    ASSERT_TRUE(saved.ok()) << saved.error;
    EXPECT_EQ(testing::readBytes(path).substr(0, 4), "PK\3\4");  // a zip, as every .xlsx
    EXPECT_EQ(testing::readBytes(path).find("zzzz"), std::string::npos);
    EXPECT_EQ(folder.listing(), "design.xlsx");
}

}  // namespace
}  // namespace ardelon
