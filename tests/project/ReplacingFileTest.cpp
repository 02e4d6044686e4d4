// Replacing a file: the previous content survives every failure, no temporary stays behind,
// and the replaced file keeps its permissions and links.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "project/ProjectFile.h"
#include "project/ReplacingFile.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

namespace fs = std::filesystem;

class ReplacingFileTest : public ::testing::Test {
  protected:
    void SetUp() override { std::ofstream(target) << "previous"; }
    void TearDown() override {
        setStreamCloserForTesting(&std::fclose);
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    fs::path dir =
        testing::scratchDir(std::string("replacing-") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string target = (dir / "design.ard").string();
};

TEST_F(ReplacingFileTest, KeepsTheModeAndWritesThroughALink) {
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("design.ard", dir / "link.ard");
    ASSERT_TRUE(writeFileReplacing((dir / "link.ard").string(), "new", 3).ok());
    EXPECT_EQ(testing::readBytes(target), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.ard"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(testing::listing(dir), (std::set<std::string>{"design.ard", "link.ard"}));
}

TEST_F(ReplacingFileTest, FailuresKeepThePreviousFileAndLeaveNoTemporary) {
    const struct {
        const char* what;
        std::function<void(const std::string&)> inject;
        std::string reason;
    } cases[] = {
        {"read-only target",
         [](const std::string& path) { fs::permissions(path, fs::perms::owner_read); },
         "the file is read-only"},
        {"close error",
         [](const std::string&) { setStreamCloserForTesting(&testing::failingClose); },
         "Input/output error"},
    };
    for (const auto& c : cases) {
        c.inject(target);
        EXPECT_EQ(writeFileReplacing(target, "new", 3).error,
                  "Cannot save \"" + target + "\": " + c.reason + ".")
            << c.what;
        EXPECT_EQ(testing::readBytes(target), "previous") << c.what;
        EXPECT_EQ(testing::listing(dir), (std::set<std::string>{"design.ard"})) << c.what;
        setStreamCloserForTesting(&std::fclose);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    }
}

TEST_F(ReplacingFileTest, FullDiskKeepsThePreviousFile) {
    const fs::path small = dir / "small";
    fs::create_directory(small);
    if (std::system(
            ("mount -t tmpfs -o size=64k tmpfs '" + small.string() + "' 2>/dev/null").c_str()) !=
        0) {
        GTEST_SKIP() << "cannot mount a small file system here";
    }
    const std::string path = (small / "design.ard").string();
    std::ofstream(path) << "previous";
    const std::string big(1 << 20, 'x');
    const std::string error = writeFileReplacing(path, big.data(), big.size()).error;
    const std::string previous = testing::readBytes(path);
    const std::set<std::string> names = testing::listing(small);
    std::system(("umount '" + small.string() + "'").c_str());
    EXPECT_EQ(error, "Cannot save \"" + path + "\": No space left on device.");
    EXPECT_EQ(previous, "previous");
    EXPECT_EQ(names, (std::set<std::string>{"design.ard"}));
}

TEST_F(ReplacingFileTest, SignalCleanupRemovesTheTemporaryBeingWritten) {
    ReplacingFile file;
    ASSERT_EQ(file.open(target), "");
    EXPECT_EQ(testing::listing(dir).size(), 2u);
    removeTemporaryFiles();
    EXPECT_EQ(file.commit(), "No such file or directory");
    EXPECT_EQ(testing::readBytes(target), "previous");
    EXPECT_EQ(testing::listing(dir), (std::set<std::string>{"design.ard"}));
}

}  // namespace
}  // namespace ardelon
