// Commands on whole projects: new, convert, show.

#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/OutputPolicy.h"
#include "cli/ProjectSummary.h"

namespace ardelon::cli {

void addProjectCommands(CLI::App& app) {
    auto* create = app.add_subcommand("new", "Write a new project with the default inputs");
    static std::string newPath;
    create->add_option("FILE", newPath, "Project file to write (.ard or .json)")->required();
    create->callback([] {
        OutputPlan().projectOutput("FILE", newPath).check();
        writeProjectOrThrow(CStenorDoc{}, newPath);
    });

    auto* convert = app.add_subcommand(
        "convert", "Convert a project between the .ard file and a JSON document, by extension");
    static std::string input, output;
    convert->add_option("IN", input, "Project to read (.ard or .json)")->required();
    convert->add_option("OUT", output, "Project to write (.ard or .json)")->required();
    convert->callback([] {
        OutputPlan().projectInput("IN", input).projectOutput("OUT", output).check();
        writeProjectOrThrow(readProjectWithTrialsOrThrow(input), output);
    });

    auto* show = app.add_subcommand("show", "Print a readable summary of a project");
    static std::string showPath;
    show->add_option("FILE", showPath, "Project to read (.ard or .json)")->required();
    show->callback([] { std::cout << projectSummary(readProjectOrThrow(showPath)); });
}

}  // namespace ardelon::cli
