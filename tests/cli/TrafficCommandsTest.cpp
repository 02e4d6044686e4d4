#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"
#include "traffic/AxleLoadTableImport.h"
#include "traffic/LoadSpectraFile.h"
#include "traffic/LoadingConditions.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

// Class 9 only: singles all at 12-13 kips (LG11), tandems all at 34-36 kips (LG16).
std::string classNineTable() {
    std::string text = "VEH_CLASS,AXLE_GROUP";
    for (int j = 1; j <= 39; ++j)
        text += (j < 10 ? ",LG0" : ",LG") + std::to_string(j);
    for (auto [group, loadGroup] : {std::pair{"Single", 11}, std::pair{"Tandem", 16}}) {
        text += std::string("\n9,") + group;
        for (int j = 1; j <= 39; ++j)
            text += j == loadGroup ? ",100" : ",0";
    }
    return text + "\n";
}

class TrafficCommands : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_EQ(runCli("new p.ard", dir).status, 0);
    }

    CStenorDoc project(const std::string& name) {
        CStenorDoc doc;
        const FileResult result = loadProject((dir / name).string(), doc);
        EXPECT_TRUE(result.ok()) << result.error;
        return doc;
    }
    // Runs a command that must fail with status 2 and `message`, leaving p.ard as it was.
    void expectBadInput(const std::string& arguments, const std::string& message) {
        const std::string before = readBytes(dir / "p.ard");
        const CliRun run = runCli(arguments, dir);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err, "ardelon-cli: " + message + "\n") << arguments;
        EXPECT_EQ(readBytes(dir / "p.ard"), before) << arguments;
        EXPECT_FALSE(fs::exists(dir / "out.ard")) << arguments;
    }
};

TEST_F(TrafficCommands, ImportTakesTheFileAndDerivesTheDistributions) {
    LoadSpectraRecord record = loadSpectraRecordOf(LoadingWorkingCopy::fromProject(CStenorDoc{}));
    record.aadt = 2000;
    record.loadSpectra[Tandem][10] = 30;
    record.loadSpectra[Tandem][12] = 30;
    record.configurationEnabled = {0, 1, 0, 0};
    record.currentConfiguration = Tandem;
    record.configurationPercent = {0, 100, 0, 0};
    writeText(dir / "in.lsf", formatLoadSpectra(record));

    const CliRun run = runCliOk("traffic import p.ard in.lsf", dir);
    const CStenorDoc doc = project("p.ard");
    EXPECT_EQ(doc.aadt, 2000);
    EXPECT_EQ(doc.configurationEnabled, (ConfigurationFlags{0, 1, 0, 0}));
    EXPECT_EQ(doc.currentConfiguration, Tandem);
    // The Load Spectra module's accept derives the distributions (checked in full with it).
    EXPECT_EQ(doc.loadCdf[Tandem][10], 0.5);
    EXPECT_EQ(doc.shownLoadPercent[12], 30);
}

TEST_F(TrafficCommands, ExportWritesTheFileAndTheDerivedProject) {
    CStenorDoc typed;  // spectra typed in but never accepted: no cumulative distribution yet
    typed.loadSpectra[Single][8] = 40;
    typed.loadSpectra[Single][9] = 60;
    ASSERT_TRUE(storeProject(typed, (dir / "p.ard").string()).ok());
    const CliRun run = runCliOk("traffic export p.ard out.lsf -o q.json", dir);
    const std::string text = readBytes(dir / "out.lsf");
    EXPECT_EQ(text.substr(0, 11), "1000\n10.00\n");
    EXPECT_EQ(text.substr(text.size() - 39), "1000\n90.00\n50.00\n100.00\n0.00\n0.00\n0.00\n");
    const LoadSpectraParse back = parseLoadSpectra(text);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(*back.record, loadSpectraRecordOf(LoadingWorkingCopy::fromProject(typed)));
    const CStenorDoc derived = project("q.json");
    EXPECT_EQ(derived.loadCdf[Single][8], 0.4);
    EXPECT_EQ(derived.loadCdf[Single][9], 1.0);
    EXPECT_EQ(derived.totalAxlePercent, 100);
    EXPECT_EQ(project("p.ard"), typed);  // -o leaves the project itself alone
}

TEST_F(TrafficCommands, ExportNamesAnEvaluatedCurrentConfiguration) {
    CStenorDoc esal;  // the ESAL route evaluates Single only and leaves the choice alone
    esal.currentConfiguration = Tandem;
    esal.loadSpectra[Tandem][10] = 20;
    ASSERT_TRUE(storeProject(esal, (dir / "p.ard").string()).ok());
    ASSERT_EQ(runCli("traffic export p.ard esal.lsf", dir).status, 0);
    EXPECT_EQ(linesOf(readBytes(dir / "esal.lsf"))[230], "0");
    const CStenorDoc exported = project("p.ard");
    EXPECT_EQ(exported.currentConfiguration, Single);
    EXPECT_EQ(exported.shownLoadPercent[10], 0);

    CStenorDoc damaged;  // a current configuration that names no distribution
    damaged.currentConfiguration = 7;
    ASSERT_TRUE(storeProject(damaged, (dir / "p.ard").string()).ok());
    ASSERT_EQ(runCli("traffic export p.ard damaged.lsf", dir).status, 0);
    EXPECT_EQ(linesOf(readBytes(dir / "damaged.lsf"))[230], "0");
    const CliRun back = runCli("traffic import p.ard damaged.lsf", dir);
    EXPECT_EQ(back.status, 0) << back.err;
}

TEST_F(TrafficCommands, VehicleTypesWithARoadClassPreset) {
    const CliRun run = runCliOk("traffic vehicle-types p.ard --road-class 10 -o out.json", dir);
    const CStenorDoc doc = project("out.json");
    EXPECT_EQ(doc.vehicleTypeRoadClass, 10);
    EXPECT_EQ(doc.vehicleTypeValue[1], 73.5);
    // Urban Collector trucks are mostly class 5, two single axles each (the route is checked in
    // full with the Vehicle Type Distribution dialog).
    EXPECT_EQ(doc.configurationPercent, (ConfigurationValues{85.3, 13.49, 1.21, 0}));

    const std::string before = readBytes(dir / "p.ard");
    const CliRun refused = runCli("traffic vehicle-types p.ard --road-class 11", dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--road-class: Value 11 not in range 0 to 10"), std::string::npos)
        << refused.err;
    EXPECT_EQ(readBytes(dir / "p.ard"), before);
}

TEST_F(TrafficCommands, EsalsBecomeSeventeenAndNineteenKipSingles) {
    const CliRun run = runCliOk("traffic esal p.ard --esals 1000001", dir);
    const CStenorDoc doc = project("p.ard");
    EXPECT_EQ(doc.expectedEsals, 1000001);
    EXPECT_EQ(doc.loadSpectra[Single][9], 500000);  // the split is checked with the ESAL dialog
    EXPECT_EQ(doc.loadCdf[Single][8], 0.5);

    EXPECT_EQ(runCli("traffic esal p.ard --esals lots", dir).status, 2);
    EXPECT_EQ(runCli("traffic esal p.ard", dir).status, 2);
}

// Values out of range, in a file or in the project, leave the project as it was.
TEST_F(TrafficCommands, ValuesOutOfRangeAreBadInputAndChangeNothing) {
    LoadSpectraRecord record = loadSpectraRecordOf(LoadingWorkingCopy::fromProject(CStenorDoc{}));
    record.axleGroupsPerDay = 0;
    writeText(dir / "zero.lsf", formatLoadSpectra(record));
    expectBadInput("traffic import p.ard zero.lsf -o out.ard",
                   "zero.lsf: \"Axles Groups / Day\" must be an integer between 1 and "
                   "100000000, not 0.");
    expectBadInput("traffic esal p.ard --esals -3",
                   "--esals: the expected number of ESALs must be 0 or more, not -3.");
    CStenorDoc doc;
    doc.vehicleTypeValue[25] = 12;
    ASSERT_TRUE(storeProject(doc, (dir / "p.ard").string()).ok());
    expectBadInput("traffic vehicle-types p.ard",
                   "p.ard: vehicle type data: class 9 has 12 tandem axles per vehicle; it must "
                   "be between 0 and 10.");
}

// import-spectra: an agency's axle load table into a project.
TEST_F(TrafficCommands, ImportSpectraTakesTheTableWithTheClassSharesGiven) {
    writeText(dir / "wim.csv", classNineTable());

    const CliRun run =
        runCliOk("traffic import-spectra p.ard wim.csv --class-shares 9=100 -o o.ard", dir);
    EXPECT_EQ(run.err, "ardelon-cli: note: " + std::string(kSteerApproximationText) + "\n");
    const CStenorDoc doc = project("o.ard");
    EXPECT_EQ(doc.loadSpectra[Tandem][17], 100);                     // 34-36 kips
    EXPECT_EQ(doc.vehicleTypeValue, CStenorDoc{}.vehicleTypeValue);  // the mix was for this import

    writeText(dir / "bad.csv", "VEH_CLASS,AXLE_GROUP,LG01\n9,Single,100\n9,Quint,100\n");
    const std::pair<std::string, std::string> refused[] = {
        {"bad.csv",
         "Cannot import \"bad.csv\": line 3: the axle group \"Quint\" is not Single, "
         "Tandem, Tridem or Quad (1 to 4). Nothing was changed."},
        {"wim.csv --class-shares 9=80,3=20", "--class-shares: class 3 is not one of 4 to 13."},
        {"wim.csv --class-shares 5=100",
         "Cannot import \"wim.csv\": no vehicle class with a share of the trucks has both axles "
         "per vehicle and a row in the table, so the table gives no axle groups. Nothing was "
         "changed."},
    };
    for (const auto& [arguments, message] : refused)
        expectBadInput("traffic import-spectra p.ard " + arguments, message);
}

}  // namespace
}  // namespace ardelon::testing
