// ardelon-cli: the design engine without the desktop, for batch work and scripting.
// Exit status 0 on success, 2 on bad input (files, numbers, arguments), 1 on other failures;
// messages go to stderr.

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"

int main(int argc, char** argv) {
    using namespace ardelon::cli;
    installInterruptHandlers();
    CLI::App app{"Ardelon - reliability analysis of perpetual asphalt pavements"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "ardelon-cli 4.4");
    addProjectCommands(app);
    addSolverCommands(app);
    addTrafficCommands(app);
    addAnalysisCommands(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kBadInput;
    } catch (const CommandError& e) {
        std::cerr << "ardelon-cli: " << e.what() << "\n";
        return e.status;
    } catch (const std::exception& e) {
        std::cerr << "ardelon-cli: " << e.what() << "\n";
        return kFailure;
    }
    return kSuccess;
}
