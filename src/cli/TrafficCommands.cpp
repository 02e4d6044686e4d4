// Commands on the traffic of a project: load spectra files, the vehicle class mix and ESALs.
// Each reads a project, applies one traffic route followed by the derivation that accepting the
// Load Spectra module performs (the ESAL route has its own, as the ESAL Data dialog does), and
// writes the project (in place unless -o names another file).
// Bad input ends with status 2 and a message, and nothing is written.

#include <cmath>
#include <iostream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/OutputPolicy.h"
#include "project/NumberField.h"
#include "traffic/AxleLoadTableImport.h"
#include "traffic/CEsalDataDlg.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/LoadSpectraFile.h"
#include "traffic/LoadingConditions.h"
#include "traffic/VehicleTypes.h"

namespace ardelon::cli {
namespace {

struct TrafficArguments {
    std::string project;
    std::string output;  // empty: the project itself
    std::string spectraFile;
    std::string classShares;  // empty: the project's own class shares
    int roadClass = -1;       // -1: the project's own class shares
    double esals = 0;
};

TrafficArguments& arguments() {
    static TrafficArguments args;
    return args;
}

CLI::App* addTrafficCommand(CLI::App& traffic, const std::string& name,
                            const std::string& description) {
    auto* command = traffic.add_subcommand(name, description);
    command->add_option("PROJECT", arguments().project, "Project to read (.ard or .json)")
        ->required();
    return command;
}

void addOutputOption(CLI::App* command) {
    command->add_option("-o,--output", arguments().output,
                        "Project to write (.ard or .json); default: PROJECT itself");
}

// The Load Spectra module is accepted only with its ranged fields in range.
void requireAcceptable(const LoadingWorkingCopy& traffic, const std::string& source) {
    if (const std::string problem = loadingFieldsProblem(traffic); !problem.empty()) {
        throw CommandError(kBadInput, source + ": " + problem + ".");
    }
}

const std::string& outputPath() {
    const TrafficArguments& args = arguments();
    return args.output.empty() ? args.project : args.output;
}

// The files of a traffic command, checked before it reads anything: the project read, the
// other file read (IN, TABLE; empty: none) and the project written (-o, or PROJECT in place);
// `written`: a load spectra file the command writes (OUT).
void checkFiles(const char* readArgument, const std::string& read,
                const std::string& written = {}) {
    const TrafficArguments& args = arguments();
    OutputPlan plan;
    plan.projectInput("PROJECT", args.project).input(readArgument, read);
    if (args.output.empty())
        plan.projectOutput("PROJECT", args.project);
    else
        plan.projectOutput("--output", args.output);
    plan.output("OUT", written).check();
}

void importSpectra() {
    const TrafficArguments& args = arguments();
    checkFiles("IN", args.spectraFile);
    CStenorDoc doc = readProjectWithTrialsOrThrow(args.project);
    const LoadSpectraParse parse = readLoadSpectraFile(args.spectraFile);
    if (!parse.ok())
        throw CommandError(kBadInput, parse.error);
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(doc);
    applyLoadSpectraRecord(*parse.record, traffic);
    requireAcceptable(traffic, args.spectraFile);
    showConfiguration(traffic);
    applyLoadingAccept(traffic);
    traffic.copyToProject(doc);
    doc.useLoadSpectra = 1;
    writeProjectOrThrow(doc, outputPath());
}

void importSpectraTable() {
    const TrafficArguments& args = arguments();
    checkFiles("TABLE", args.spectraFile);
    CStenorDoc doc = readProjectWithTrialsOrThrow(args.project);
    ClassShares shares = classSharesOf(doc.vehicleTypeValue);
    if (!args.classShares.empty()) {
        const ClassSharesParse parse = parseClassShares(args.classShares);
        if (!parse.shares)
            throw CommandError(kBadInput, "--class-shares: " + parse.error + ".");
        shares = *parse.shares;
    }
    if (const std::string problem = vehicleTypeValuesProblem(doc.vehicleTypeValue);
        !problem.empty()) {
        throw CommandError(kBadInput, args.project + ": vehicle type data: " + problem + ".");
    }
    const AxleLoadTableParse parse = readAxleLoadTableFile(args.spectraFile);
    if (!parse.ok())
        throw CommandError(kBadInput, parse.error);
    const AxleLoadTableImport imported = applyAxleLoadTableRoute(*parse.table, shares, doc);
    if (!imported.ok()) {
        throw CommandError(kBadInput, "Cannot import \"" + args.spectraFile +
                                          "\": " + imported.error + ". Nothing was changed.");
    }
    requireAcceptable(LoadingWorkingCopy::fromProject(doc), args.project);
    writeProjectOrThrow(doc, outputPath());
    for (const std::string& note : imported.notes)
        std::cerr << "ardelon-cli: note: " << note << "\n";
}

void exportSpectra() {
    const TrafficArguments& args = arguments();
    checkFiles("", "", args.spectraFile);
    CStenorDoc doc = readProjectWithTrialsOrThrow(args.project);
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(doc);
    requireAcceptable(traffic, args.project);
    // As the module opens: a current configuration that is not evaluated (left by the ESAL
    // route, say) or not a configuration at all is replaced by the first evaluated one, so the
    // file names a distribution that exists and import takes it back.
    correctCurrentConfiguration(traffic);
    showConfiguration(traffic);
    if (const std::string problem = loadSpectraWriteProblem(loadSpectraRecordOf(traffic));
        !problem.empty()) {
        throw CommandError(kBadInput, args.project + ": " + problem + "; nothing was written.");
    }
    const std::string error = writeLoadSpectraFile(args.spectraFile, loadSpectraRecordOf(traffic));
    if (!error.empty())
        throw CommandError(kFailure, error);
    applyLoadingAccept(traffic);
    traffic.copyToProject(doc);
    doc.useLoadSpectra = 1;
    writeProjectOrThrow(doc, outputPath());
}

void mixVehicleTypes() {
    const TrafficArguments& args = arguments();
    checkFiles("", "");
    CStenorDoc doc = readProjectWithTrialsOrThrow(args.project);
    if (args.roadClass >= 0) {
        CVehicleTypeDlg presets(args.roadClass, doc.vehicleTypeValue);
        presets.selectRoadClass();
        doc.vehicleTypeRoadClass = presets.vehicleTypeRoadClass;
        doc.vehicleTypeValue = presets.vehicleTypeValue;
    }
    if (const std::string problem = vehicleTypeValuesProblem(doc.vehicleTypeValue);
        !problem.empty()) {
        throw CommandError(kBadInput, args.project + ": vehicle type data: " + problem + ".");
    }
    applyVehicleTypeRoute(doc);
    requireAcceptable(LoadingWorkingCopy::fromProject(doc), args.project);
    doc.useLoadSpectra = 1;
    writeProjectOrThrow(doc, outputPath());
}

void enterEsals() {
    const TrafficArguments& args = arguments();
    if (!std::isfinite(args.esals) || args.esals < 0) {
        throw CommandError(kBadInput,
                           "--esals: the expected number of ESALs must be 0 or more, not " +
                               formatFieldNumber(args.esals) + ".");
    }
    checkFiles("", "");
    CStenorDoc doc = readProjectWithTrialsOrThrow(args.project);
    doc.expectedEsals = args.esals;
    applyEsalData(doc);
    doc.useLoadSpectra = 0;
    writeProjectOrThrow(doc, outputPath());
}

}  // namespace

void addTrafficCommands(CLI::App& app) {
    auto* traffic = app.add_subcommand(
        "traffic", "Traffic of a project: load spectra files, vehicle class mix, ESALs");
    traffic->require_subcommand(1);
    TrafficArguments& args = arguments();

    auto* import =
        addTrafficCommand(*traffic, "import", "Take the traffic from a load spectra file (.lsf)");
    import->add_option("IN", args.spectraFile, "Load spectra file to read")->required();
    addOutputOption(import);
    import->callback(importSpectra);

    auto* table = addTrafficCommand(
        *traffic, "import-spectra",
        "Take the load spectra from a normalised axle load table (VEH_CLASS,AXLE_GROUP,LG01,...)");
    table->add_option("TABLE", args.spectraFile, "Axle load table to read (.csv)")->required();
    table->add_option("--class-shares", args.classShares,
                      "Percent of trucks per class for this import, e.g. 5=20,9=80 (unnamed "
                      "classes 0); default: the project's vehicle class mix");
    addOutputOption(table);
    table->callback(importSpectraTable);

    auto* exportCommand =
        addTrafficCommand(*traffic, "export", "Write the traffic to a load spectra file (.lsf)");
    exportCommand->add_option("OUT", args.spectraFile, "Load spectra file to write")->required();
    addOutputOption(exportCommand);
    exportCommand->callback(exportSpectra);

    auto* vehicleTypes =
        addTrafficCommand(*traffic, "vehicle-types",
                          "Derive the load spectra from the vehicle class mix of the project");
    vehicleTypes
        ->add_option("--road-class", args.roadClass,
                     "Load the class shares of road class N first (0 Rural Interstate ... 10 "
                     "Urban Collector)")
        ->check(CLI::Range(0, kRoadClassCount - 1));
    addOutputOption(vehicleTypes);
    vehicleTypes->callback(mixVehicleTypes);

    auto* esal = addTrafficCommand(
        *traffic, "esal", "Describe the traffic by a number of ESALs (17- and 19-kip singles)");
    esal->add_option("--esals", args.esals, "Expected number of equivalent single axle loads")
        ->required();
    addOutputOption(esal);
    esal->callback(enterEsals);
}

}  // namespace ardelon::cli
