// Outputs never overwrite inputs or each other, a stop signal leaves no partial file, and links
// planted at temporary names never redirect a save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "cli/CliTestSupport.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

class SafeOutput : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        const std::string project = quoted(example("perpetual-interstate.json"));
        ASSERT_EQ(runCli("convert " + project + " p.ard", dir).status, 0);
    }
};

TEST_F(SafeOutput, OutputNamingAnInputOrAnotherOutputIsRefused) {
    fs::create_symlink("p.ard", dir / "link.ard");
    const std::string project = readBytes(dir / "p.ard");
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"analyze p.ard --raw p.ard", "--raw and PROJECT name the same file \"p.ard\""},
        {"analyze p.ard --report ./p.ard", "--report and PROJECT name the same file \"./p.ard\""},
        {"analyze link.ard --cycles 5 --raw p.ard",
         "--raw and PROJECT name the same file \"p.ard\""},
        {"analyze p.ard --raw out.ad --report ./out.ad",
         "--report and --raw name the same file \"./out.ad\""},
        {"traffic export p.ard p.ard", "OUT and PROJECT name the same file \"p.ard\""},
        {"traffic export p.ard out.lsf -o out.lsf",
         "OUT and --output name the same file \"out.lsf\""},
        {"traffic import p.ard link.ard", "PROJECT and IN name the same file \"p.ard\""},
        {"traffic import p.ard in.lsf -o in.lsf", "--output and IN name the same file \"in.lsf\""},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments, dir);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err, std::string("ardelon-cli: ") + c.message + "; nothing was written.\n")
            << c.arguments;
        EXPECT_EQ(readBytes(dir / "p.ard"), project) << c.arguments;
        EXPECT_EQ(listing(dir), (std::set<std::string>{"link.ard", "p.ard"})) << c.arguments;
    }
}

TEST_F(SafeOutput, LinksAtTemporaryNamesAreLeftAlone) {
    writeText(dir / "victim", "victim");
    for (const char* name : {"r.ad.partial", "r.xlsx.saving~", "q.ard.saving~", "o.lsf.saving~"})
        fs::create_symlink("victim", dir / name);
    const CliRun analysis =
        runCliOk("analyze p.ard --cycles 20 --seed 3 --raw r.ad --report r.xlsx", dir);
    ASSERT_EQ(runCli("convert p.ard q.ard", dir).status, 0);
    ASSERT_EQ(runCli("traffic export p.ard o.lsf -o q.ard", dir).status, 0);
    EXPECT_EQ(readBytes(dir / "victim"), "victim");
    EXPECT_EQ(listing(dir).size(), 10u);  // the links, the victim, the project and four outputs
    for (const char* name : {"r.ad.partial", "r.xlsx.saving~", "q.ard.saving~", "o.lsf.saving~"})
        EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
}

// Signals sent to a long analysis once its raw-data file is being written: the first cancels the
// run, a second one ends the program at once.
struct Stop {
    std::string name;
    std::vector<int> signals;
    std::string message;
};
void PrintTo(const Stop& stop, std::ostream* out) {
    *out << stop.name;
}
class StopSignal : public SafeOutput, public ::testing::WithParamInterface<Stop> {};

TEST_P(StopSignal, EndsTheRunAndLeavesNoPartialFile) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int err = ::open((dir / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        ::chdir(dir.c_str());
        ::execl(ARDELON_CLI_PATH, "ardelon-cli", "analyze", "p.ard", "--cycles", "100000000",
                "--threads", "1", "--raw", "run.ad", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto writing = [this] {
        for (const auto& name : listing(dir))
            if (name.ends_with(".saving~"))
                return true;
        return false;
    };
    for (int wait = 0; wait < 400 && !writing(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(writing());
    for (int signal : GetParam().signals)
        ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readBytes(dir / "err.txt"), GetParam().message);
    EXPECT_EQ(listing(dir), (std::set<std::string>{"err.txt", "p.ard"}));
}

const std::string kCancelled =
    "ardelon-cli: analysis interrupted; no results and no raw data file.\n";
INSTANTIATE_TEST_SUITE_P(
    Signals, StopSignal,
    ::testing::Values(Stop{"Interrupt", {SIGINT}, kCancelled},
                      Stop{"Terminate", {SIGTERM}, kCancelled},
                      Stop{"HangUp", {SIGHUP}, kCancelled},
                      Stop{"TerminateThenHangUp",
                           {SIGTERM, SIGHUP},
                           "\nardelon-cli: interrupted; unfinished files were removed.\n"}),
    [](const ::testing::TestParamInfo<Stop>& info) { return info.param.name; });

}  // namespace
}  // namespace ardelon::testing
