// Saving the report: clear messages naming the path and the reason, and no partial workbook
// under the chosen name whatever goes wrong.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ReportTestSupport.h"
#include "reports/FormattedReport.h"

namespace ardelon {
namespace {
namespace fs = std::filesystem;

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class ReportSave : public ::testing::Test {
  protected:
    CStenorDoc doc;
    AnalysisResults results = [] {
        AnalysisResults run;
        run.cycles = 5000;
        return run;
    }();
    test::ScratchFolder folder;
};

TEST_F(ReportSave, WritesAWorkbookAndNothingElse) {
    const std::string path = folder.file("design.xlsx");
    const FileResult saved = exportFormattedReport(doc, results, path);
    ASSERT_TRUE(saved.ok()) << saved.error;
    EXPECT_TRUE(test::looksLikeXlsx(path));
    EXPECT_EQ(folder.listing(), "design.xlsx");
}

TEST_F(ReportSave, MissingFolderIsNamedAndNothingIsWritten) {
    const std::string missing = folder.file("no such folder");
    const std::string path = missing + "/design.xlsx";
    const FileResult saved = exportFormattedReport(doc, results, path);
    EXPECT_EQ(saved.error, "Cannot save the report \"" + path + "\": the folder \"" + missing +
                               "\" does not exist.");
    EXPECT_EQ(folder.listing(), "");
}

TEST_F(ReportSave, FileInPlaceOfTheFolderIsRefused) {
    writeText(folder.file("plain"), "x");
    const std::string path = folder.file("plain") + "/design.xlsx";
    const FileResult saved = exportFormattedReport(doc, results, path);
    EXPECT_EQ(saved.error, "Cannot save the report \"" + path + "\": \"" + folder.file("plain") +
                               "\" is not a folder.");
}

TEST_F(ReportSave, FolderUnderTheChosenNameIsLeftAlone) {
    fs::create_directory(folder.file("design.xlsx"));
    writeText(folder.file("design.xlsx") + "/keep.txt", "kept");
    const std::string path = folder.file("design.xlsx");
    const FileResult saved = exportFormattedReport(doc, results, path);
    EXPECT_EQ(saved.error,
              "Cannot save the report \"" + path + "\": a folder of that name exists.");
    EXPECT_EQ(folder.listing(), "design.xlsx");
    EXPECT_EQ(contentOf(path + "/keep.txt"), "kept");
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
    EXPECT_EQ(contentOf(path), "previous report");
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
    EXPECT_EQ(contentOf(folder.file("design.xlsx")), "previous report");
}

TEST_F(ReportSave, ReplacesAPreviousFileWhole) {
    const std::string path = folder.file("design.xlsx");
    writeText(path, std::string(200000, 'z'));  // larger than the new workbook
    const FileResult saved = exportFormattedReport(doc, results, path);
    ASSERT_TRUE(saved.ok()) << saved.error;
    EXPECT_TRUE(test::looksLikeXlsx(path));
    EXPECT_EQ(contentOf(path).find("zzzz"), std::string::npos);
    EXPECT_EQ(folder.listing(), "design.xlsx");
}

TEST_F(ReportSave, EmptyNameIsRefused) {
    EXPECT_EQ(exportFormattedReport(doc, results, "").error,
              "Cannot save the report: no file name was given.");
}

}  // namespace
}  // namespace ardelon
