// ardelon-cli traffic import-spectra: an agency's axle load table into a project.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"
#include "traffic/AxleLoadTableImport.h"

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

class TrafficTableCommand : public CliTest {};

TEST_F(TrafficTableCommand, ImportsTheTableWithTheClassSharesGiven) {
    ASSERT_EQ(runCli("new p.ard", dir).status, 0);
    writeText(dir / "wim.csv", classNineTable());
    const std::string before = readText(dir / "p.ard");

    const CliRun run =
        runCli("traffic import-spectra p.ard wim.csv --class-shares 9=100 -o o.ard", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "ardelon-cli: note: " + std::string(kSteerApproximationText) + "\n");
    CStenorDoc doc;
    ASSERT_TRUE(loadProject((dir / "o.ard").string(), doc).ok());
    EXPECT_EQ(doc.loadSpectra[Tandem][17], 100);                     // 34-36 kips
    EXPECT_EQ(doc.vehicleTypeValue, CStenorDoc{}.vehicleTypeValue);  // the mix was for this import

    writeText(dir / "bad.csv", "VEH_CLASS,AXLE_GROUP,LG01\n9,Single,100\n9,Quint,100\n");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"bad.csv",
         "Cannot import \"bad.csv\": line 3: the axle group \"Quint\" is not Single, "
         "Tandem, Tridem or Quad (1 to 4). Nothing was changed."},
        {"wim.csv --class-shares 9=80,3=20", "--class-shares: class 3 is not one of 4 to 13."},
        {"wim.csv --class-shares 5=100",
         "Cannot import \"wim.csv\": no vehicle class with a share of the trucks has both axles "
         "per vehicle and a row in the table, so the table gives no axle groups. Nothing was "
         "changed."},
    };
    for (const auto& [arguments, message] : refused) {
        const CliRun bad = runCli("traffic import-spectra p.ard " + arguments, dir);
        EXPECT_EQ(bad.status, 2) << arguments;
        EXPECT_EQ(bad.err, "ardelon-cli: " + message + "\n");
        EXPECT_EQ(readText(dir / "p.ard"), before);
    }
}

}  // namespace
}  // namespace ardelon::testing
