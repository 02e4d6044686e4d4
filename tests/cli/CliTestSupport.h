#pragma once
// Runs ardelon-cli as a user would and captures what it prints.

#include <filesystem>
#include <string>

namespace ardelon::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs ardelon-cli with `arguments` (already quoted for the shell) in `workDir`.
CliRun runCli(const std::string& arguments, const std::filesystem::path& workDir = {});

// A fresh folder for one test, removed afterwards.
std::filesystem::path freshTestDir(const std::string& name);

std::string readText(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& text);

}  // namespace ardelon::testing
