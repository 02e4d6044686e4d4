// ardelon-cli: the design engine without the desktop, for batch work and scripting.
// Exit status 0 on success, 2 on bad input (files, numbers, arguments), 3 when a design search
// finds no passing candidate, 1 on other failures (a standard output or error that cannot be
// written included); messages go to stderr.

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/CommandLineNumbers.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "project/SafeText.h"

namespace {

using namespace ardelon::cli;

// Messages name files and values as given; their control characters are masked so that a
// hostile name cannot drive the terminal. Line ends that the message itself holds are kept.
std::string shownMessage(const std::string& message) {
    std::string shown;
    std::size_t start = 0;
    for (std::size_t end; (end = message.find('\n', start)) != std::string::npos; start = end + 1) {
        shown += ardelon::echoedText(std::string_view(message).substr(start, end - start),
                                     message.size()) +
                 "\n";
    }
    return shown + ardelon::echoedText(std::string_view(message).substr(start), message.size());
}

int run(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // The parser's own wording, with the argument it echoes masked like every message.
        std::cerr << shownMessage(e.what()) << "\nRun with --help for more information.\n";
        return kBadInput;
    } catch (const CommandError& e) {
        std::cout.flush();
        std::cerr << "ardelon-cli: " << shownMessage(e.what()) << "\n";
        return e.status;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "ardelon-cli: " << shownMessage(e.what()) << "\n";
        return kFailure;
    }
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    installInterruptHandlers();
    CLI::App app{"Ardelon - reliability analysis of perpetual asphalt pavements"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "ardelon-cli 4.4");
    addProjectCommands(app);
    addSolverCommands(app);
    addTrafficCommands(app);
    addAnalysisCommands(app);
    addBatchCommand(app);
    addDesignCommand(app);
    addCompareCommand(app);
    checkOptionValues(app);

    const int status = run(app, argc, argv);
    // Output that did not reach its file is a failure, whatever the command concluded.
    // (A command that already failed, a batch stopped by its output, has said why.)
    if (const std::string why = standardOutputFailure(); !why.empty()) {
        if (status != kFailure)
            std::cerr << "ardelon-cli: cannot write the standard output: " << why << "\n";
        return kFailure;
    }
    std::cerr.flush();
    if (std::ferror(stderr) != 0 || !std::cerr)
        return kFailure;
    return status;
}
