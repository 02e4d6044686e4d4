#include "ReportTestSupport.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <vector>

namespace ardelon::test {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = testing::scratchDir(
        "report-" + std::to_string(::getpid()) + "-" +
        (info ? std::string(info->test_suite_name()) + "-" + info->name() : std::string()));
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string ScratchFolder::listing() const {
    std::string text;
    for (const auto& name : testing::listing(path_))
        text += (text.empty() ? "" : " ") + name;
    return text;
}

namespace {
// Quotes an argument for the shell.
std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}
}  // namespace

CheckerRun runChecker(const std::string& script, const std::vector<std::string>& arguments) {
    std::string command = std::string(ARDELON_PYTHON) + " " + quoted(script);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " 2>&1";
    CheckerRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        run.output = "cannot start " + command;
        return run;
    }
    std::array<char, 4096> buffer{};
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace ardelon::test
