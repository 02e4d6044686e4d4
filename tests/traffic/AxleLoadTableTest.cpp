// Normalised axle load tables: reading, rebinning onto the weight bins, the class mix and the
// import from the Load Spectra module.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/FakeHost.h"
#include "support/TestFiles.h"
#include "traffic/AxleLoadTableImport.h"
#include "traffic/CLoadingConditionsDlg.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

// Overlaps of thirds and halves of a percent: binary noise only.
constexpr double kRebinTolerance = 1e-12;

constexpr int kGroups = 39;

// A row with all its axles in load group `loadGroup` (1-based).
std::string row(const std::string& head, int loadGroup, int groups = kGroups) {
    std::string text = head;
    for (int j = 1; j <= groups; ++j)
        text += j == loadGroup ? ",100" : ",0";
    return text + "\n";
}

std::string header(int groups = kGroups) {
    std::string text = "veh_class,Axle_Group";
    for (int j = 1; j <= groups; ++j)
        text += (j < 10 ? ",LG0" : ",LG") + std::to_string(j);
    return text + "\r\n";
}

AxleLoadTable tableOf(const std::string& text) {
    AxleLoadTableParse parse = parseAxleLoadTable(text);
    EXPECT_TRUE(parse.ok()) << parse.error;
    return parse.ok() ? *parse.table : AxleLoadTable{};
}

TEST(AxleLoadTable, LoadGroupsSpreadOntoTheWeightBinsByOverlap) {
    struct Case {
        AxleGroup group;
        int loadGroup;
        std::vector<std::pair<int, double>> bins;  // the bins that receive load
    };
    const std::vector<Case> cases = {
        {AxleGroup::Single, 1, {{0, 200.0 / 3}, {1, 100.0 / 3}}},  // below 3 kips
        {AxleGroup::Single, 2, {{1, 100}}},                        // 3-4 kips
        {AxleGroup::Single, 11, {{6, 100}}},                       // 12-13 kips
        {AxleGroup::Tandem, 1, {{0, 100.0 / 3}, {1, 100.0 / 3}, {2, 100.0 / 3}}},
        {AxleGroup::Tandem, 16, {{17, 100}}},  // 34-36 kips
        {AxleGroup::Tridem, 2, {{6, 200.0 / 3}, {7, 100.0 / 3}}},
        {AxleGroup::Quad, 35, {{55, 100}}},                           // 111-114 kips: the last bin
        {AxleGroup::Tridem, 34, {{54, 200.0 / 3}, {55, 100.0 / 3}}},  // 108-111 kips
    };
    for (const Case& c : cases) {
        std::vector<double> percent(40, 0.0);
        percent[static_cast<size_t>(c.loadGroup - 1)] = 100;
        const BinArray bins = rebinLoadGroups(c.group, percent);
        BinArray expected{};
        for (auto [bin, value] : c.bins)
            expected[static_cast<size_t>(bin)] = value;
        for (int k = 0; k < kBinCount; ++k) {
            EXPECT_NEAR(bins[static_cast<size_t>(k)], expected[static_cast<size_t>(k)],
                        kRebinTolerance)
                << kAxleGroupNames[static_cast<size_t>(c.group)] << " LG" << c.loadGroup << " bin "
                << k;
        }
    }
}

TEST(AxleLoadTable, BadTablesAreRefusedNamingTheLine) {
    const std::string good = row("9,Single", 11);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"",
         "the file is empty; an axle load table starts with the header "
         "VEH_CLASS,AXLE_GROUP,LG01,LG02,..."},
        {"VEH_CLASS,LG01\n9,100\n", "line 1: the column AXLE_GROUP is missing"},
        {"\nVEH_CLASS,AXLE_GROUP,LG01,LG03\n",
         "line 2: the column LG03 follows only 2 load "
         "group columns"},
        {"VEH_CLASS,AXLE_GROUP,LG01,Site\n",
         "line 1: \"Site\" is not a column of an axle load "
         "table (VEH_CLASS, AXLE_GROUP, LG01, LG02, ...)"},
        {header() + "3" + good.substr(1), "line 2: the vehicle class \"3\" is not one of 4 to 13"},
        {header() + row("9,Penta", 11),
         "line 2: the axle group \"Penta\" is not Single, Tandem, Tridem or Quad (1 to 4)"},
        {header() + good + row("9,1", 12),
         "line 3: class 9 Single appears again (first on line 2)"},
        {header() + "9,Tandem,1,99\n", "line 2: 4 columns; the header names 41"},
        {header() + row("9,Tandem,x", 1, 38), "line 2: LG01 \"x\" is not a number"},
        {header() + row("9,Tandem,-0.5", 11, 38),
         "line 2: LG01 of class 9 Tandem is negative (-0.5)"},
        {header() + row("9,Tandem,2", 11, 38),
         "line 2: the percentages of class 9 Tandem add up to 102; they must add up to 100"},
        {header(), "the table has a header but no rows"},
    };
    for (const auto& [text, error] : cases) {
        const AxleLoadTableParse parse = parseAxleLoadTable(text);
        EXPECT_FALSE(parse.ok()) << text;
        EXPECT_EQ(parse.error, error);
    }
}

TEST(AxleLoadTable, ClassSharesOptionIsReadOrRefused) {
    const ClassSharesParse mix = parseClassShares("5=20,9=80");
    ASSERT_TRUE(mix.shares) << mix.error;
    EXPECT_EQ(*mix.shares, (ClassShares{0, 20, 0, 0, 0, 80, 0, 0, 0, 0}));
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"9", "\"9\" is not CLASS=PERCENT (for example 9=80)"},
        {"9=abc", "\"9=abc\" is not CLASS=PERCENT (for example 9=80)"},
        {"14=10", "class 14 is not one of 4 to 13"},
        {"9=50,9=50", "class 9 is given twice"},
        {"9=120", "the share of class 9 is 120%; it must be between 0% and 100%"},
        {"9=0", "the shares add up to 0; at least one class needs a share above 0"},
        {"5=15,9=80", "the shares add up to 95%; they must add up to 100%"},
        {"5=20.02,9=80", "the shares add up to 100.02%; they must add up to 100%"},
    };
    for (const auto& [text, error] : refused)
        EXPECT_EQ(parseClassShares(text).error, error) << text;
}

TEST(AxleLoadTableImport, ClassesMixByTheirSharesAndAxlesWithOneSteerAxlePerTruck) {
    // Defaults: class 5 has 2 singles per vehicle, class 9 1.13 singles and 1.93 tandems.
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(CStenorDoc{});
    const AxleLoadTable table =
        tableOf(header() + row("5,Single", 2) + row("9,Single", 11) + row("9,Tandem", 16) +
                row("13,Quad", 2) + row("13,Tridem", 4));
    const AxleLoadTableImport result =
        applyAxleLoadTable(table, ClassShares{0, 20, 0, 0, 0, 80, 0, 0, 0, 0}, traffic);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.notes,
              (std::vector<std::string>{
                  std::string(kSteerApproximationText),
                  "There is no quad configuration: the quad axle groups of class 13 were folded "
                  "into Tridem."}));
    for (auto [c, axles] : {std::pair{Steer, 1.0}, {Single, 0.304}, {Tandem, 1.544}})
        EXPECT_NEAR(traffic.axlesPerTruck[c], axles, kRebinTolerance) << c;
    EXPECT_EQ(traffic.axlesPerTruck[Tridem], 0);
    EXPECT_EQ(traffic.configurationPercent, (ConfigurationValues{10.67, 54.21, 0, 35.11}));
    EXPECT_EQ(traffic.configurationEnabled, (ConfigurationFlags{1, 1, 0, 1}));
    // Single: 20 of 30.4 axles from class 5 (bin 1), the rest from class 9 (bin 6); the lost
    // hundredth goes to the larger remainder so the row adds up to 100.00.
    const auto& spectra = traffic.loadSpectra;
    EXPECT_EQ(std::tie(spectra[Single][1], spectra[Single][6], spectra[Steer][1], spectra[Steer][6],
                       spectra[Tandem][17]),
              std::tuple(65.79, 34.21, 20.0, 80.0, 100.0));
    EXPECT_EQ(traffic.loadSpectra[Tridem], BinArray{});

    // Class 13 in the mix: its tridems carry the quad loads (12-15 kips) and the tridem loads
    // (18-21 kips) half and half; its singles and tandems have no row.
    const AxleLoadTableImport withQuads =
        applyAxleLoadTable(table, ClassShares{0, 0, 0, 0, 0, 50, 0, 0, 0, 50}, traffic);
    EXPECT_EQ(withQuads.notes.size(), 4u);
    EXPECT_EQ(withQuads.notes.back(),
              "The table has no Tandem row for class 13, so its 2.13 tandem axles per vehicle were "
              "left out.");
    BinArray tridem{};
    tridem[6] = 33.33, tridem[7] = 16.67, tridem[9] = 33.33, tridem[10] = 16.67;
    EXPECT_EQ(traffic.loadSpectra[Tridem], tridem);
}

TEST(AxleLoadTableImport, TheRouteOnAProjectDerivesTheDistributionsOrChangesNothing) {
    CStenorDoc doc;
    const AxleLoadTable table = tableOf(header() + row("9,Single", 11) + row("9,Tandem", 16));
    const AxleLoadTableImport result =
        applyAxleLoadTableRoute(table, ClassShares{0, 0, 0, 0, 0, 100, 0, 0, 0, 0}, doc);
    ASSERT_TRUE(result.ok()) << result.error;
    // The bins and shares are those of the mix above; the route adds the distributions and the
    // switch.
    EXPECT_EQ(std::tie(doc.loadCdf[Steer][5], doc.loadCdf[Steer][6], doc.useLoadSpectra),
              std::tuple(0.0, 1.0, 1));

    // A mix whose classes have no rows gives no axles and is refused.
    CStenorDoc untouched;
    const AxleLoadTableImport refused =
        applyAxleLoadTableRoute(table, ClassShares{0, 100, 0, 0, 0, 0, 0, 0, 0, 0}, untouched);
    EXPECT_EQ(refused.error,
              "no vehicle class with a share of the trucks has both axles per vehicle and a row in "
              "the table, so the table gives no axle groups");
    EXPECT_EQ(untouched.loadSpectra, CStenorDoc{}.loadSpectra);
}

TEST(AxleLoadTableImport, TheModuleImportsATableOrTellsWhyNot) {
    const fs::path dir = scratchDir("axle-load-table");
    const fs::path good = dir / "wim.csv";
    const fs::path bad = dir / "bad.csv";
    std::ofstream(good) << header() + row("9,Single", 11) + row("9,Tandem", 16);
    std::ofstream(bad) << header() + row("9,Single,x", 1, 38);

    FakeHost host;
    CLoadingConditionsDlg dlg{CStenorDoc{}};
    std::fill_n(dlg.vehicleTypeValue.begin(), kVehicleClassCount, 0.0);
    dlg.vehicleTypeValue[shareIndex(9 - 4)] = 100;
    dlg.openLoadingConditions(host);
    host.clear();
    const CLoadingConditionsDlg before = dlg;
    host.files.push_back(bad.string());
    dlg.importAxleLoadTable(host);
    EXPECT_EQ(
        host.lastMessage(),
        (RecordedMessage{"Cannot import \"" + bad.string() +
                             "\": line 2: LG01 \"x\" is not a number. Nothing was changed.",
                         "Import Axle Load Table", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_TRUE(static_cast<const LoadingWorkingCopy&>(dlg) == before);

    host.files.push_back(good.string());
    dlg.importAxleLoadTable(host);
    EXPECT_EQ(host.lastMessage(), (RecordedMessage{"The axle load table has been imported.\n\n" +
                                                       std::string(kSteerApproximationText),
                                                   "Import Axle Load Table",
                                                   MessageIcon::Information, MessageButtons::Ok}));
    EXPECT_EQ(host.fileFilters.back(), "Axle Load Tables (*.csv);;All Files (*.*)");
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.shownLoadPercent[6], dlg.total),
              std::tuple(Single, 100.0, 100));
    EXPECT_TRUE(host.isEnabled(static_cast<int>(CLoadingConditionsDlg::percentEdit(Steer))));
    EXPECT_FALSE(host.isEnabled(static_cast<int>(CLoadingConditionsDlg::percentEdit(Tridem))));
    // 1 steer, 0.13 single and 1.93 tandem axle groups per truck × 0.9 × 0.5 × 0.1 × 1000.
    EXPECT_EQ(dlg.axleGroupsPerDay, 137);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ardelon::testing
