#pragma once
// Each subsystem adds its commands to the ardelon-cli application.

#include <CLI/CLI.hpp>

namespace ardelon::cli {

void addProjectCommands(CLI::App& app);
void addSolverCommands(CLI::App& app);
void addTrafficCommands(CLI::App& app);
void addAnalysisCommands(CLI::App& app);
void addBatchCommand(CLI::App& app);
void addDesignCommand(CLI::App& app);
void addCompareCommand(CLI::App& app);

}  // namespace ardelon::cli
