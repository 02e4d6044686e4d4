// The figure files are written as a set: all of them or none, never through a link.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "figures/FigureData.h"
#include "project/ReplacingFile.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

namespace fs = std::filesystem;

int closes = 0;
int failThirdClose(std::FILE* stream) {
    std::fclose(stream);
    if (++closes != 3)
        return 0;
    errno = ENOSPC;
    return EOF;
}

std::map<std::string, std::string> contents(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] =
            entry.is_symlink() ? "link" : testing::readBytes(entry.path());
    return files;
}

TEST(FigureCsv, ASetIsWrittenWholeOrNotAtAll) {
    const fs::path dir = testing::scratchDir("figure-set");
    RunFigures figures;
    ASSERT_TRUE(writeFigureCsv(figures, English, dir.string()).ok());
    const auto previous = contents(dir);
    ASSERT_EQ(previous.size(), kFigureFileNames.size());
    figures.spectra.percent[0][0] = 50.0;  // a new set differs in load-spectra.csv

    const struct {
        const char* what;
        std::function<void()> inject;
        std::string error;
    } cases[] = {
        {"the disk fills at the third file",
         [] { closes = 0, setStreamCloserForTesting(&failThirdClose); },
         "damage-over-time.csv\": No space left on device; the previous figure files were kept."},
        {"a read-only file of the set",
         [&] { fs::permissions(dir / "depth-profiles.csv", fs::perms::owner_read); },
         "depth-profiles.csv\": the file is read-only; the previous figure files were kept."},
    };
    for (const auto& c : cases) {
        c.inject();
        const FileResult written = writeFigureCsv(figures, English, dir.string());
        setStreamCloserForTesting(&std::fclose);
        fs::permissions(dir / "depth-profiles.csv", fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_NE(written.error.find(c.error), std::string::npos) << c.what << written.error;
        EXPECT_EQ(contents(dir), previous) << c.what;  // no new file, none replaced
    }

    // A link at one of the names is replaced by the file; its target is never written.
    std::ofstream(dir.parent_path() / "figure-set-victim") << "victim";
    fs::remove(dir / "load-spectra.csv");
    fs::create_symlink("../figure-set-victim", dir / "load-spectra.csv");
    ASSERT_TRUE(writeFigureCsv(figures, English, dir.string()).ok());
    EXPECT_EQ(testing::readBytes(dir.parent_path() / "figure-set-victim"), "victim");
    EXPECT_FALSE(fs::is_symlink(dir / "load-spectra.csv"));
    EXPECT_NE(contents(dir)["load-spectra.csv"], previous.at("load-spectra.csv"));
    fs::remove(dir.parent_path() / "figure-set-victim");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ardelon
