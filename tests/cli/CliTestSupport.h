#pragma once
// Runs ardelon-cli as a user would and captures what it prints.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestFiles.h"

namespace ardelon::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs ardelon-cli with `arguments` (already quoted for the shell) in `workDir`, its standard
// input read from `input` and (when `output` is given) its standard output sent there instead of
// being captured.
CliRun runCli(const std::string& arguments, const std::filesystem::path& workDir = {},
              const std::string& input = "/dev/null", const std::string& output = {});

// runCli for a command that must succeed: a status other than 0 fails the test, with the errors.
CliRun runCliOk(const std::string& arguments, const std::filesystem::path& workDir = {});

// A fresh folder for one test, removed afterwards.
std::filesystem::path freshTestDir(std::string name);

// An example project of examples/, by file name.
std::filesystem::path example(const std::string& name);
// `path` in single quotes, as one argument of the shell.
std::string quoted(const std::filesystem::path& path);

// A test run in its own fresh folder, removed afterwards.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = freshTestDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

}  // namespace ardelon::testing
