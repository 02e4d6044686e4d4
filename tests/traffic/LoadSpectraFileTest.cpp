// Load spectra files written and read through the Load Spectra module.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "project/CStenorDoc.h"
#include "support/FakeHost.h"
#include "support/TestFiles.h"
#include "traffic/CLoadingConditionsDlg.h"
#include "traffic/LoadSpectraFile.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using Dlg = CLoadingConditionsDlg;

LoadSpectraRecord defaultRecord() {
    return loadSpectraRecordOf(LoadingWorkingCopy::fromProject(CStenorDoc{}));
}

RecordedMessage information(std::string_view text, std::string_view caption) {
    return {std::string(text), std::string(caption), MessageIcon::Information, MessageButtons::Ok};
}

class LoadSpectraFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = scratchDir("lsf-" + std::to_string(::getpid()) + "-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dlg.openLoadingConditions(host);
    }
    void TearDown() override { fs::remove_all(dir); }

    void save(const fs::path& path) {
        host.files.push_back(path.string());
        dlg.saveLoadSpectra(host);
    }
    void import(const fs::path& path) {
        host.files.push_back(path.string());
        dlg.importLoadSpectra(host);
    }
    // A full file of the defaults with one line replaced (1-based).
    std::string defaultsWithLine(int line, const std::string& text) {
        std::vector<std::string> lines = linesOf(formatLoadSpectra(defaultRecord()));
        lines[static_cast<size_t>(line - 1)] = text;
        std::string out;
        for (const auto& l : lines)
            out += l + "\n";
        return out;
    }
    // Imports `text` and expects it refused with `problem`, leaving everything as it was.
    void expectRefused(const std::string& text, const std::string& problem) {
        const fs::path path = dir / "bad.lsf";
        writeText(path, text);
        const Dlg before = dlg;
        host.clear();
        import(path);
        EXPECT_EQ(host.messages,
                  std::vector{exclamation("Cannot import \"" + path.string() + "\": " + problem +
                                              ". Nothing was changed.",
                                          "Import Load Spectra")});
        EXPECT_TRUE(static_cast<const LoadingWorkingCopy&>(dlg) == before);
        EXPECT_EQ(dlg.total, before.total);
        EXPECT_EQ(dlg.fileName, before.fileName);
    }

    fs::path dir;
    FakeHost host;
    Dlg dlg{CStenorDoc{}};
};

TEST_F(LoadSpectraFiles, TheDefaultsGiveTheDocumentedLines) {
    save(dir / "defaults.lsf");
    EXPECT_EQ(host.messages,
              std::vector{information("Your load spectra has been successfully saved.",
                                      "Save Load Spectra")});
    EXPECT_EQ(host.fileFilters,
              std::vector<std::string>{"Load Spectra Files (*.lsf);;All Files (*.*)"});
    EXPECT_EQ(dlg.fileName, (dir / "defaults.lsf").string());

    std::vector<std::string> expected{"1000", "10.00"};
    expected.insert(expected.end(), 224, "0.00");
    for (const char* line : {"1", "0", "0", "0", "0", "4.00", "1000", "90.00", "50.00", "100.00",
                             "0.00", "0.00", "0.00"}) {
        expected.push_back(line);
    }
    const std::string text = readBytes(dir / "defaults.lsf");
    EXPECT_EQ(linesOf(text), expected);
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(LoadSpectraFiles, DecimalsAreWrittenWithTwoDecimals) {
    LoadSpectraRecord record = defaultRecord();
    record.loadSpectra[Single][0] = 12.346;
    record.loadSpectra[Single][1] = 0.004;
    record.loadSpectra[Steer][55] = 99.999;
    record.configurationEnabled = {1, 2, -1, 0};  // anything but 1 is written as 0
    record.currentConfiguration = 2;
    const std::vector<std::string> lines = linesOf(formatLoadSpectra(record));
    ASSERT_EQ(lines.size(), 239u);
    EXPECT_EQ(
        std::tie(lines[2], lines[3], lines[225], lines[226], lines[227], lines[228], lines[230]),
        std::tuple("12.35", "0.00", "100.00", "1", "0", "0", "2"));
}

TEST_F(LoadSpectraFiles, SavingAndImportingRestoresTheTraffic) {
    dlg.aadt = 2500;
    dlg.percentTrucks = 12.5;
    dlg.loadSpectra[Single][4] = 33.333;
    dlg.loadSpectra[Tandem][10] = 60;
    dlg.loadSpectra[Tridem][20] = 0.5;
    dlg.loadSpectra[Steer][55] = 7;
    dlg.configurationEnabled = {1, 1, 0, 0};
    dlg.currentConfiguration = Tandem;
    dlg.truckGrowthPercent = 2.25;
    dlg.axleGroupsPerDay = 777;
    dlg.percentTrucksDesignLane = 80;
    dlg.directionalDistribution = 55;
    dlg.configurationPercent = {40, 0, 60, 0};  // the share edits follow these, not the boxes
    save(dir / "mix");                          // a name without extension gets .lsf
    EXPECT_FALSE(fs::exists(dir / "mix"));

    Dlg fresh{CStenorDoc{}};
    fresh.openLoadingConditions(host);
    host.clear();
    host.files.push_back((dir / "mix.lsf").string());
    fresh.importLoadSpectra(host);
    EXPECT_EQ(host.messages,
              std::vector{information("Your load data have been successfully imported.",
                                      "Import Load Spectra")});
    // Every field of the file comes back, the spectra with two decimals.
    LoadSpectraRecord expected = loadSpectraRecordOf(dlg);
    expected.loadSpectra[Single][4] = 33.33;
    EXPECT_EQ(loadSpectraRecordOf(fresh), expected);
    EXPECT_EQ(fresh.shownLoadPercent[10], 60);  // the saved current configuration is shown
    EXPECT_EQ(fresh.total, 60);
    EXPECT_EQ(host.enabledOf({Dlg::percentEdit(Single), Dlg::percentEdit(Tandem),
                              Dlg::percentEdit(Tridem), Dlg::percentEdit(Steer)}),
              "1010");
    EXPECT_EQ(fresh.fileName, (dir / "mix.lsf").string());
    EXPECT_EQ(fresh.axlesPerTruck, dlg.axlesPerTruck);  // not in the file
}

// Unix and Windows line ends and any white space read the same. The design-lane share has no
// range, and two decimals of 1e70 spell out all 71 integer digits: the whole line must be read,
// not the first few dozen digits.
TEST_F(LoadSpectraFiles, WhatIsWrittenReadsBackWhateverTheLineEnds) {
    LoadSpectraRecord record = defaultRecord();
    record.aadt = 321;
    record.loadSpectra[Tandem][3] = 45.5;
    record.currentConfiguration = Steer;
    record.percentTrucksDesignLane = 1e70;
    record.loadSpectra[Steer][55] = 123456789012345678901234567890.0;
    const std::string unix = formatLoadSpectra(record);
    EXPECT_EQ(linesOf(unix)[233].size(), 74u);  // 71 digits, the point and two decimals
    std::string windows, blanks;
    for (char ch : unix) {
        windows += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        blanks += ch == '\n' ? std::string(" \t ") : std::string(1, ch);
    }
    for (const std::string& text : {unix, windows, blanks}) {
        const LoadSpectraParse parse = parseLoadSpectra(text);
        ASSERT_TRUE(parse.ok()) << parse.error;
        EXPECT_EQ(*parse.record, record);
    }
    // Numbers as C reads them: signs, exponents.
    const LoadSpectraParse exponent =
        parseLoadSpectra("+7\n1e1\n" + unix.substr(unix.find('\n', 5) + 1));
    ASSERT_TRUE(exponent.ok()) << exponent.error;
    EXPECT_EQ(exponent.record->aadt, 7);
    EXPECT_EQ(exponent.record->percentTrucks, 10);
}

TEST_F(LoadSpectraFiles, TruncatedFilesAndBadValuesAreRefusedNamingTheLine) {
    const std::string full = defaultsWithLine(1, "1000");
    expectRefused("500\n",
                  "the file ends after value 1 (line 1); a load spectra file holds 239 values");
    expectRefused(full.substr(0, full.size() - 5),  // the last share is missing
                  "the file ends after value 238 (line 238); a load spectra file holds 239 values");
    expectRefused("", "the file holds no values; a load spectra file holds 239");
    const std::string configurations =
        "; it must be 0 (Single), 1 (Tandem), 2 (Tridem) or 3 (Steer)";
    for (auto [line, text, problem] :
         {std::tuple<int, std::string, std::string>{40, "abc", "\"abc\" is not a number"},
          {1, "12.50", "\"12.50\" is not a whole number"},
          {233, "99999999999", "\"99999999999\" is too large"},
          {2, "nan", "\"nan\" is not a number"},
          {231, "4", "the current configuration is 4" + configurations},
          {231, "-1", "the current configuration is -1" + configurations},
          {70, "-1.5", "bin 11 of the Tandem distribution is negative (-1.5)"}})
        expectRefused(defaultsWithLine(line, text),
                      "line " + std::to_string(line) + ": " + problem);
}

// A cancelled file chooser does nothing; a file that cannot be opened or created is reported with
// the reason, and nothing changes.
TEST_F(LoadSpectraFiles, CancelledChoosersAndFilesThatCannotBeOpenedOrCreated) {
    const Dlg before = dlg;
    host.files.push_back(std::nullopt);
    dlg.importLoadSpectra(host);
    host.files.push_back(std::nullopt);
    dlg.saveLoadSpectra(host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fs::is_empty(dir));

    const fs::path missing = dir / "missing.lsf";
    import(missing);
    EXPECT_EQ(host.messages, std::vector{exclamation("Cannot open \"" + missing.string() +
                                                         "\": No such file or directory.",
                                                     "Import Load Spectra")});
    EXPECT_TRUE(static_cast<const LoadingWorkingCopy&>(dlg) == before);

    host.clear();
    const fs::path nowhere = dir / "no-such-folder" / "out.lsf";
    save(nowhere);
    EXPECT_EQ(host.messages, std::vector{exclamation("Cannot save \"" + nowhere.string() +
                                                         "\": No such file or directory.",
                                                     "Save Load Spectra")});
    EXPECT_TRUE(dlg.fileName.empty());

    host.clear();
    import(dir);  // a folder, not a file
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Cannot read \"" + dir.string() + "\": Is a directory.");
}

}  // namespace
}  // namespace ardelon::testing
