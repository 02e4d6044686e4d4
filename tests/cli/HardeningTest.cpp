// Hostile paths, full outputs, odd bytes and signals: every refusal exits 2 before anything is
// written and leaves every file byte for byte as it was; lost standard output is a failure.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

// Every entry of a folder tree: files by content, links by target, folders and pipes by kind.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> state;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(entry.path(), dir).string();
        if (entry.is_symlink())
            state[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            state[name] = readBytes(entry.path());
        else
            state[name] = entry.is_directory() ? "folder" : "other";
    }
    return state;
}

class Hardening : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        fs::copy_file(example("two-layer-esal.json"), dir / "p.json");
        fs::copy_file(example("two-layer-esal.json"), dir / "keep.json");
        fs::create_symlink("p.json", dir / "link.json");
        fs::create_directory(dir / "figs");
        const char* source = std::getenv("ARDELON_SOURCE_DIR");
        fs::copy_file(fs::path(source ? source : ".") /
                          "fuzz/corpus/axle_load_table/seed-class9-single-tandem.csv",
                      dir / "wim.csv");
        fs::create_symlink("wim.csv", dir / "wim.json");
        ::mkfifo((dir / "pipe").c_str(), 0644);
        fs::create_directory(dir / "piped");
        ::mkfifo((dir / "piped/response-limits.csv").c_str(), 0644);
        writeText(dir / "plan.csv", "id,project\na,p.json\n");
    }
};

// Each case ends with status 2 and a message before any work: nothing is written, nothing
// changes, and nothing blocks on the pipe.
TEST_F(Hardening, RefusalsComeBeforeAnyWorkAndChangeNothing) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        // An output naming an input or another output, by name or through a link.
        {"design p.json --vary 1=4:8 --cycles 20 --trace p.json",
         "--trace and PROJECT name the same file \"p.json\"; nothing was written."},
        {"design link.json --vary 1=4:8 --cycles 20 --trace p.json",
         "--trace and PROJECT name the same file \"p.json\""},
        {"design p.json --vary 1=4:8 --trace same.json -o same.json",
         "-o and --trace name the same file \"same.json\""},
        {"traffic import-spectra p.json wim.csv -o wim.json",
         "--output and TABLE name the same file \"wim.json\""},
        {"traffic import-spectra p.json wim.csv -o wim.csv",
         "--output and TABLE name the same file \"wim.csv\""},
        {"convert p.json link.json", "OUT and IN name the same file \"link.json\""},
        {"analyze p.json --raw figs/load-spectra.csv --figures figs",
         "--figures and --raw name the same file \"figs/load-spectra.csv\""},
        {"analyze p.json --report figs/depth-profiles.csv --figures figs",
         "--figures and --report name the same file \"figs/depth-profiles.csv\""},
        // Missing folders, folders and pipes as outputs.
        {"analyze p.json --raw r.ad --figures nope",
         "--figures \"nope\": it is not an existing folder; nothing was written."},
        {"analyze p.json --report /nonexistent/r.xlsx",
         "--report \"/nonexistent/r.xlsx\": the folder \"/nonexistent\" does not exist"},
        {"design p.json --vary 1=4:8 -o /nonexistent/x.json",
         "-o \"/nonexistent/x.json\": the folder \"/nonexistent\" does not exist"},
        {"analyze p.json --raw figs", "--raw \"figs\": it is a folder"},
        {"analyze p.json --raw pipe", "--raw \"pipe\": it is not a regular file"},
        {"traffic export p.json pipe", "OUT \"pipe\": it is not a regular file"},
        {"analyze p.json --figures piped",
         "--figures \"piped/response-limits.csv\": it is not a regular file"},
        // Runs that would keep every cycle are refused above the cap.
        {"analyze p.json --cycles 2000000 --figures figs",
         "--figures keeps every cycle in memory: at most 1000000 cycles, not 2000000."},
        {"analyze p.json --cycles 2000000 --report r.xlsx",
         "--report keeps every cycle in memory: at most 1000000 cycles, not 2000000."},
        // A project is written as .ard or .json by every command.
        {"new x.txt", "FILE x.txt: the project must be .ard or .json."},
        {"convert p.json x.txt", "OUT x.txt: the project must be .ard or .json."},
        {"traffic esal p.json --esals 1000 -o es.csv",
         "--output es.csv: the project must be .ard or .json."},
        // Empty values are refused, not taken as "not given".
        {"design p.json --vary 1=4:8 --life ''", "--life: the value is empty"},
        {"batch plan.csv --shard ''", "--shard: the value is empty"},
        {"analyze p.json --figures ''", "--figures: the value is empty"},
        {"traffic import-spectra p.json wim.csv --class-shares ''",
         "--class-shares: the value is empty"},
        // Numbers are decimal.
        {"design p.json --vary 1=4:8:", "--vary 1=4:8:: expected LAYER=MIN:MAX[:STEP]."},
        {"design p.json --vary 1=0x4:8", "--vary 1=0x4:8: '0x4' is not a number."},
        {"design p.json --vary 1=4:8 --life 0x10", "--life: \"0x10\" is not a decimal number"},
        {"analyze p.json --cycles 0x10", "--cycles: \"0x10\" is not a decimal number"},
        {"design p.json --vary 1=4:8:1e-308", "The grid has more than"},
        {"batch plan.csv --shard ' 1/2'", "--shard: \" 1/2\" is not K/N"},
        {"batch plan.csv --shard +1/2", "--shard: \"+1/2\" is not K/N"},
        // Echoed values never carry terminal control characters.
        {"analyze p.json --cycles \"$(printf '\\033[2J')\"", "?[2J"},
        {"design p.json --vary \"$(printf '1=4:\\033]0;x')\"",
         "--vary 1=4:?]0;x: '?]0;x' is not a number."},
    };
    const auto before = snapshot(dir);
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments, dir);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << c.arguments;
        EXPECT_EQ(snapshot(dir), before) << c.arguments;
    }
}

TEST_F(Hardening, FigureSetReplacesLinksAtItsNamesAndNeverWritesTheirTargets) {
    fs::create_symlink("../keep.json", dir / "figs/depth-profiles.csv");
    fs::create_symlink("../p.json", dir / "figs/load-spectra.csv");
    const std::string keep = readBytes(dir / "keep.json"), project = readBytes(dir / "p.json");
    const CliRun run = runCliOk("analyze p.json --seed 1 --cycles 30 --figures figs", dir);
    EXPECT_EQ(readBytes(dir / "keep.json"), keep);
    EXPECT_EQ(readBytes(dir / "p.json"), project);
    EXPECT_EQ(listing(dir / "figs").size(), 6u);
    for (const char* name : {"depth-profiles.csv", "load-spectra.csv"}) {
        EXPECT_FALSE(fs::is_symlink(dir / "figs" / name)) << name;
        EXPECT_NE(readBytes(dir / "figs" / name).find(','), std::string::npos) << name;
    }
    // A folder standing at one of the names: refused before the run, the previous set kept.
    const auto previous = snapshot(dir / "figs");
    fs::remove(dir / "figs/governing-loads.csv");
    fs::create_directory(dir / "figs/governing-loads.csv");
    const CliRun refused = runCli("analyze p.json --seed 2 --cycles 30 --figures figs", dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("\"figs/governing-loads.csv\": it is a folder"), std::string::npos)
        << refused.err;
    auto expected = previous;
    expected["governing-loads.csv"] = "folder";
    EXPECT_EQ(snapshot(dir / "figs"), expected);
}

// Output that cannot be written is a failure for every command, whatever it printed.
TEST_F(Hardening, AFullStandardOutputIsAFailure) {
    for (const char* arguments :
         {"show p.json", "analyze p.json --seed 1 --cycles 20", "analyze p.json --json --cycles 20",
          "batch plan.csv", "design p.json --vary 1=12:30:6 --cycles 20", "--help"}) {
        const CliRun run = runCli(arguments, dir, "/dev/null", "/dev/full");
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find("ardelon-cli: cannot write the standard output: "),
                  std::string::npos)
            << arguments << "\n"
            << run.err;
    }
}

TEST_F(Hardening, BatchRowsAreIsolatedWhateverTheirBytes) {
    fs::copy_file(dir / "p.json", dir / "caf\xe9.json");
    // Held in inches, shown in metric: 1.5 is a thickness in inches for batch, show and design.
    CStenorDoc inches;
    ASSERT_TRUE(loadProject((dir / "p.json").string(), inches).ok());
    inches.unitSystem = Metric;
    ASSERT_TRUE(storeProject(inches, (dir / "inches.json").string()).ok());
    const std::string longName(100000, 'x');
    writeText(dir / "rows.csv",
              "id,project,cycles,H1,E1\n"
              "bad\xff,p.json,20,,\n"
              "latin,caf\xe9.json,20,,\n"
              "\x1b[31mred,p.json,20,,0.4\n"
              "fifo,pipe,20,,\n"
              "inches,inches.json,20,1.5,\n"
              "tiny,p.json,20,,1e-300\n"
              "long,p.json,20," +
                  longName + ",\n");
    const CliRun run = runCli("batch rows.csv --threads 1", dir);
    EXPECT_EQ(run.status, 2);
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 7u) << run.out;
    std::vector<nlohmann::json> rows;
    for (const std::string& line : lines)
        rows.push_back(nlohmann::json::parse(line));  // valid JSON, every one
    EXPECT_EQ(rows[0]["id"], "bad\xef\xbf\xbd");
    EXPECT_EQ(rows[0]["error"],
              "line 2: the id is not valid UTF-8 (each invalid byte is shown as U+FFFD)");
    EXPECT_FALSE(rows[1].contains("error")) << lines[1];
    EXPECT_EQ(rows[1]["inputs"]["project"], "caf\xef\xbf\xbd.json");
    EXPECT_EQ(rows[2]["error"], "line 4: E1 0.4 is outside the layer's 50000 to 4000000 psi");
    EXPECT_EQ(rows[3]["error"], "line 5: the project \"pipe\" is not a regular file");
    EXPECT_FALSE(rows[4].contains("error")) << lines[4];
    EXPECT_EQ(rows[4]["inputs"]["H1"], 1.5);
    EXPECT_EQ(rows[5]["error"], "line 7: E1 1e-300 is outside the layer's 50000 to 4000000 psi");
    EXPECT_LT(lines[6].size(), 400u);
    EXPECT_NE(run.err.find("note: line 3: the project's name is not valid UTF-8"),
              std::string::npos);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_NE(run.err.find("row ?[31mred: "), std::string::npos) << run.err;

    // A 100 000-character column name is echoed cut short; a plan from a pipe names projects
    // relative to the current folder.
    writeText(dir / "bad-column.csv", "id,project," + longName + "\n");
    const CliRun column = runCli("batch bad-column.csv", dir);
    EXPECT_EQ(column.status, 2);
    EXPECT_LT(column.err.size(), 300u);
    const CliRun piped = runCli("batch /dev/stdin --threads 1", dir, (dir / "plan.csv").string());
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out.rfind("{\"id\":\"a\",\"inputs\":", 0), 0u) << piped.out;
}

TEST_F(Hardening, AWorkbookOfAProjectNamedInAnyEncodingIsWellFormed) {
    fs::copy_file(dir / "p.json", dir / "caf\xe9\x01.json");
    const CliRun run =
        runCliOk("analyze 'caf\xe9\x01.json' --seed 1 --cycles 20 --report l.xlsx", dir);
    const std::string check =
        "/usr/bin/python3 -c \"import zipfile,sys,xml.dom.minidom as m; "
        "z=zipfile.ZipFile(sys.argv[1]); [m.parseString(z.read(n)) for n in z.namelist() "
        "if n.endswith('.xml')]\" '" +
        (dir / "l.xlsx").string() + "'";
    EXPECT_EQ(std::system(check.c_str()), 0);
}

// A stop request reaches a search on a large grid at once, not after the grace period.
TEST_F(Hardening, InterruptReachesARunningDesignSearch) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int err = ::open((dir / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        ::chdir(dir.c_str());
        ::execl(ARDELON_CLI_PATH, "ardelon-cli", "design", "p.json", "--vary", "1=1:900:0.01",
                "--cycles", "100000", "--threads", "1", "--trace", "t.csv",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const auto sent = std::chrono::steady_clock::now();
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(4));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readBytes(dir / "err.txt"),
              "ardelon-cli: design search interrupted; nothing written.\n");
    EXPECT_FALSE(fs::exists(dir / "t.csv"));
}

}  // namespace
}  // namespace ardelon::testing
