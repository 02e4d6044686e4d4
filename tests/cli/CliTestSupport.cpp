#include "cli/CliTestSupport.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ardelon::testing {

CliRun runCli(const std::string& arguments, const std::filesystem::path& workDir,
              const std::string& input, const std::string& output) {
    const auto base = std::filesystem::temp_directory_path() /
                      ("ardelon-cli-capture-" + std::to_string(::getpid()));
    const std::string outPath = base.string() + ".out", errPath = base.string() + ".err";
    std::string command;
    if (!workDir.empty())
        command = "cd '" + workDir.string() + "' && ";
    command += std::string("'") + ARDELON_CLI_PATH + "' " + arguments + " >'" +
               (output.empty() ? outPath : output) + "' 2>'" + errPath + "' <'" + input + "'";
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(outPath);
    run.err = readBytes(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

CliRun runCliOk(const std::string& arguments, const std::filesystem::path& workDir) {
    CliRun run = runCli(arguments, workDir);
    EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err;
    return run;
}

std::filesystem::path freshTestDir(std::string name) {
    // A parameterised test's name holds a slash: one folder, not a folder inside another.
    std::replace(name.begin(), name.end(), '/', '-');
    const auto dir = std::filesystem::temp_directory_path() /
                     ("ardelon-cli-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::filesystem::path example(const std::string& name) {
    const char* source = std::getenv("ARDELON_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "examples" / name;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace ardelon::testing
