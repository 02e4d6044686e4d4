// The Load Spectra module driven as the form drives it: members set as typed, then the handler.

#include <gtest/gtest.h>

#include <algorithm>

#include "project/CStenorDoc.h"
#include "project/ProjectFields.h"
#include "support/FakeHost.h"
#include "support/ProjectCompare.h"
#include "traffic/CEsalDataDlg.h"
#include "traffic/CLoadingConditionsDlg.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/VehicleTypes.h"

namespace ardelon::testing {
namespace {

using Dlg = CLoadingConditionsDlg;

// Sums of a few two-decimal percentages and quotients of them carry binary rounding noise only.
constexpr double kSumTolerance = 1e-12;
// Load equivalency factors computed independently of this code to 12 significant digits (relative
// to the factor above 1).
constexpr double kReferenceTolerance = 1e-11;
constexpr double kFactorOf17KipSingle = 0.814487593564;
constexpr double kFactorOf19KipSingle = 1.20843762523;

class LoadingConditions : public ::testing::Test {
  protected:
    void SetUp() override { open(CStenorDoc{}); }
    void open(const CStenorDoc& doc) {
        dlg = Dlg(doc);
        dlg.openLoadingConditions(host);
    }
    // Clicks a configuration check box: the form stores the new state, then calls the handler.
    void click(int configuration, bool checked) {
        dlg.configurationEnabled[static_cast<size_t>(configuration)] = checked ? 1 : 0;
        dlg.toggleConfiguration(host, configuration);
    }
    void typeBin(int bin, double value) {
        dlg.shownLoadPercent[static_cast<size_t>(bin)] = value;
        dlg.binEdited(host, bin);
    }

    FakeHost host;
    Dlg dlg;
};

TEST_F(LoadingConditions, OpeningLabelsTheBinsInTheUnitsAndEnablesCheckedShares) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.enabledOf({Dlg::percentEdit(Single), Dlg::percentEdit(Tandem),
                              Dlg::percentEdit(Tridem), Dlg::percentEdit(Steer)}),
              "1000");
    EXPECT_EQ(dlg.total, 0);
    EXPECT_EQ(std::tie(dlg.binLabels[0], dlg.binLabels[1], dlg.binLabels[54], dlg.binLabels[55]),
              std::tuple("0-2", "2-4", "108-110", "110+"));

    // Metric labels name the same 2-kip bins in whole kN, the open bin only at the end.
    CStenorDoc doc;
    doc.unitSystem = Metric;
    open(doc);
    EXPECT_EQ(std::tie(dlg.binLabels[0], dlg.binLabels[4], dlg.binLabels[26], dlg.binLabels[27],
                       dlg.binLabels[28], dlg.binLabels[54], dlg.binLabels[55]),
              std::tuple("0-9", "36-44", "231-240", "240-249", "249-258", "480-489", "489+"));
    typeBin(40, 7);
    EXPECT_EQ(std::tie(dlg.loadSpectra[Single][40], dlg.total), std::tuple(7.0, 7));
}

TEST(LoadingConditionsForm, BinEditsStandInFiveColumnsOfTwelve) {
    // {bin, column, row}: the last column holds bins 48 to 55.
    for (auto [bin, column, row] : {std::tuple{0, 0, 0},
                                    {11, 0, 11},
                                    {12, 1, 0},
                                    {47, 3, 11},
                                    {48, 4, 0},
                                    {55, Dlg::kBinColumnCount - 1, 7}})
        EXPECT_EQ(std::pair(Dlg::binColumn(bin), Dlg::binRow(bin)), std::pair(column, row)) << bin;
}

TEST_F(LoadingConditions, CheckBoxesShowTheirConfigurationAndTheLastOneWarnsWhenCleared) {
    dlg.loadSpectra[Single][5] = 30;
    click(Single, false);
    EXPECT_EQ(host.messages, std::vector{exclamation("Please evaluate at least one configuration.",
                                                     "No Configurations Selected")});
    EXPECT_EQ(host.lastFocus(), id(Dlg::checkBox(Single)));
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{0, 0, 0, 0}));
    EXPECT_FALSE(host.isEnabled(id(Dlg::percentEdit(Single))));
    // The share goes, the configuration stays shown, the bins stay.
    EXPECT_EQ(std::tie(dlg.configurationPercent[Single], dlg.currentConfiguration,
                       dlg.loadSpectra[Single][5]),
              std::tuple(0.0, Single, 30.0));

    // Checking shows the configuration; clearing it falls back to the first checked one.
    host.clear();
    dlg.loadSpectra[Tridem][10] = 12;
    click(Single, true);
    click(Steer, true);
    click(Tridem, true);
    EXPECT_TRUE(host.isEnabled(id(Dlg::percentEdit(Tridem))));
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.shownLoadPercent[10], dlg.total),
              std::tuple(Tridem, 12.0, 12));

    dlg.configurationPercent[Tridem] = 20;
    click(Tridem, false);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.isEnabled(id(Dlg::percentEdit(Tridem))));
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.configurationPercent[Tridem],
                       dlg.shownLoadPercent[10], dlg.loadSpectra[Tridem][10]),
              std::tuple(Single, 0.0, 0.0, 12.0));
}

// Opening, choosing or focusing on a configuration that is not checked shows the first checked one
// instead, with a message; the share edit of a checked one shows it silently.
TEST_F(LoadingConditions, AnUncheckedConfigurationGivesWayToTheFirstCheckedOne) {
    CStenorDoc doc;
    doc.currentConfiguration = Steer;
    doc.loadSpectra[Single][3] = 40;
    host.clear();
    open(doc);
    EXPECT_EQ(host.messages,
              std::vector{exclamation("Steer Configuration has not been selected above.",
                                      "Configuration Error")});
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.shownLoadPercent[3], dlg.total),
              std::tuple(Single, 40.0, 40));

    // A configuration outside the list (from a damaged project file) is corrected silently.
    host.clear();
    doc.currentConfiguration = 7;
    open(doc);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.currentConfiguration, Single);

    dlg.configurationEnabled = {0, 1, 1, 0};
    dlg.loadSpectra[Tandem][20] = 3;
    dlg.currentConfiguration = Steer;
    dlg.selectConfiguration(host);
    EXPECT_EQ(host.lastMessage().text, "Steer Configuration has not been selected above.");
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.shownLoadPercent[20], dlg.total),
              std::tuple(Tandem, 3.0, 3));

    // With no configuration checked the choice stays as it is.
    dlg.configurationEnabled = {0, 0, 0, 0};
    dlg.selectConfiguration(host);
    EXPECT_EQ(host.lastMessage().text, "Tandem Configuration has not been selected above.");
    EXPECT_EQ(dlg.currentConfiguration, Tandem);

    host.clear();
    dlg.configurationEnabled = {1, 1, 0, 0};
    dlg.loadSpectra[Tandem][2] = 9;
    dlg.currentConfiguration = Single;
    dlg.percentEditFocused(host, Tandem);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(std::tie(dlg.currentConfiguration, dlg.shownLoadPercent[2]), std::tuple(Tandem, 9.0));
}

TEST_F(LoadingConditions, NegativeBinsAreRefusedAndTheTotalRoundsHalfUp) {
    typeBin(7, 25);
    typeBin(7, -1);
    EXPECT_EQ(host.messages, std::vector{exclamation("Please do not enter negative values.",
                                                     "Number Out of Range")});
    EXPECT_EQ(host.lastFocus(), id(Dlg::binEdit(7)));
    EXPECT_EQ(dlg.loadSpectra[Single][7], 25);
    EXPECT_EQ(dlg.shownLoadPercent[7], -1);  // stays in the edit to be corrected

    host.clear();
    typeBin(7, 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.loadSpectra[Single][7], 0);
    EXPECT_EQ(dlg.total, 0);

    // The total rounds half up to a whole number; the last is 12.5 again, built from two bins.
    for (auto [bin, percent, total] : {std::tuple{0, 12.5, 13}, {0, 12.49, 12}, {1, 0.01, 13}}) {
        typeBin(bin, percent);
        EXPECT_EQ(dlg.total, total) << bin << " " << percent;
    }
}

// Axle groups per truck × design lane × direction × trucks × AADT, cut to a whole number and never
// below one; unranged percentages from a file must not overflow the count.
TEST_F(LoadingConditions, AxleGroupsPerDayFollowTheTruckTraffic) {
    const ConfigurationValues defaultAxles = dlg.axlesPerTruck;
    const ConfigurationValues mix = {1.53072, 1.48162, 0.02317, 0};  // 3.03551 groups per truck
    for (auto [aadt, axles, designLane, groups] : {std::tuple{1000, defaultAxles, 90.0, 45},
                                                   {1, defaultAxles, 90.0, 1},
                                                   {1999, defaultAxles, 90.0, 89},  // 89.955
                                                   {1999, mix, 90.0, 273},          // 273.06
                                                   {1999, mix, 1e12, 2147483647}}) {
        dlg.aadt = aadt;
        dlg.axlesPerTruck = axles;
        dlg.percentTrucksDesignLane = designLane;
        dlg.trafficEdited();
        EXPECT_EQ(dlg.axleGroupsPerDay, groups) << aadt << " " << designLane;
    }
}

// The factor of one loaded bin is the factor of the load at its middle (2 k + 1 kips); Steer groups
// count as single axles; no axles of a checked configuration (flags other than 1 do not count)
// give a factor of 0.
TEST(LoadingConditionsEsal, FactorOfOneBinAndOfNoAxles) {
    struct Case {
        ConfigurationFlags enabled;
        int configuration, bin;
        double percent, factor, totalAxlePercent;
    };
    const Case cases[] = {
        {{1, 0, 0, 0}, Single, 8, 100, kFactorOf17KipSingle, 100},
        {{1, 0, 0, 0}, Single, 9, 40, kFactorOf19KipSingle, 40},
        {{0, 0, 0, 1}, Steer, 8, 50, kFactorOf17KipSingle, 50},
        {{0, 1, 0, 0}, Tandem, 16, 20, 1.00440657266, 20},
        {{0, 0, 1, 0}, Tridem, 55, 10, 16.6039566884, 10},  // the last bin stands for 111 kips
        {{1, 0, 0, 0}, Tandem, 10, 30, 0, 0},               // Tandem holds axles but is not checked
        {{0, 0, 0, 0}, Single, 8, 100, 0, 0},
        {{2, 0, 0, 0}, Single, 8, 100, 0, 0},
    };
    for (const Case& c : cases) {
        Dlg dlg{CStenorDoc{}};
        dlg.configurationEnabled = c.enabled;
        dlg.loadSpectra[static_cast<size_t>(c.configuration)][static_cast<size_t>(c.bin)] =
            c.percent;
        dlg.acceptLoading();
        EXPECT_NEAR(dlg.esalFactor, c.factor, kReferenceTolerance * std::max(1.0, c.factor))
            << c.bin;
        EXPECT_EQ(dlg.totalAxlePercent, c.totalAxlePercent);
    }
}

TEST_F(LoadingConditions, AcceptDerivesCumulativeDistributionsOfCheckedConfigurations) {
    CStenorDoc doc;
    doc.configurationEnabled = {1, 0, 0, 1};
    doc.configurationPercent = {60, 0, 0, 40};
    doc.loadSpectra[Single][2] = 10;
    doc.loadSpectra[Single][4] = 15;
    doc.loadSpectra[Single][6] = 25;  // adds up to 50
    doc.loadSpectra[Tandem][3] = 80;  // not checked
    doc.loadCdf[Tandem].fill(0.25);
    doc.loadCdf[Steer].fill(0.75);  // checked, but all its bins are 0
    Dlg accepted(doc);
    accepted.openLoadingConditions(host);
    accepted.acceptLoading();

    const BinArray& cdf = accepted.loadCdf[Single];
    for (size_t k = 0; k < kBinCount; ++k)
        EXPECT_EQ(cdf[k], k < 2 ? 0 : k < 4 ? 0.2 : k < 6 ? 0.5 : 1.0) << k;
    EXPECT_EQ(accepted.loadCdf[Tandem], doc.loadCdf[Tandem]);  // not checked: kept
    EXPECT_EQ(accepted.loadCdf[Steer], doc.loadCdf[Steer]);    // checked without axles: kept
    EXPECT_EQ(accepted.totalAxlePercent, 50);
    EXPECT_EQ(accepted.axleTypeFraction, (ConfigurationValues{0.6, 0, 0, 0.4}));
    const double expected = (10 * loadEquivalencyFactor(5, 1) + 15 * loadEquivalencyFactor(9, 1) +
                             25 * loadEquivalencyFactor(13, 1)) /
                            50;
    EXPECT_NEAR(accepted.esalFactor, expected, kSumTolerance);
}

TEST(LoadingFieldRanges, FrameworkTextsWithTheFieldBounds) {
    using F = LoadingField;
    for (auto [field, text, message] :
         {std::tuple{F::Aadt, "0", "Please enter an integer between 1 and 500000."},
          {F::Aadt, "12.5", "Please enter an integer."},
          {F::AxleGroupsPerDay, "100000001", "Please enter an integer between 1 and 100000000."},
          {F::PercentTrucks, "100.5", "Please enter a number between 0 and 100."},
          {F::TruckGrowth, "abc", "Please enter a number."}})
        EXPECT_EQ(parseLoadingField(field, text).message, message) << text;
    EXPECT_EQ(parseLoadingField(LoadingField::Aadt, "500000").value, 500000);
    EXPECT_EQ(parseLoadingField(LoadingField::TruckGrowth, "0").value, 0);
}

TEST_F(LoadingConditions, AcceptIsHeldBackByAFieldOutOfRange) {
    dlg.aadt = 0;  // an imported file may carry it
    dlg.truckGrowthPercent = 150;
    EXPECT_FALSE(dlg.validateLoadingFields(host));
    EXPECT_EQ(host.messages,
              std::vector{exclamation("Please enter an integer between 1 and 500000.", "Ardelon")});
    EXPECT_EQ(host.lastFocus(), id(Dlg::Control::Aadt));
    EXPECT_EQ(loadingFieldsProblem(dlg),
              "\"Two-Way AADT\" must be an integer between 1 and 500000, not 0");
    dlg.aadt = 1;
    host.clear();
    dlg.loadSpectra[Single][8] = 100;
    EXPECT_FALSE(dlg.acceptLoading(host));  // derived, but the dialog stays open
    EXPECT_EQ(dlg.loadCdf[Single][8], 1.0);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.lastMessage().text, "Please enter a number between 0 and 100.");
    EXPECT_EQ(host.lastFocus(), id(Dlg::Control::TruckGrowth));
    EXPECT_EQ(loadingFieldsProblem(dlg),
              "\"% Truck Growth\" must be a number between 0 and 100, not 150");
    dlg.truckGrowthPercent = 100;
    host.clear();
    EXPECT_TRUE(dlg.acceptLoading(host));
    EXPECT_TRUE(host.messages.empty());
}

TEST(LoadingWorkingCopyCopies, EveryFieldOfTheModuleGoesInAndBackAndNothingElse) {
    // From a project whose every field differs from the defaults into a default project: exactly
    // the module's fields arrive, whole, and the rest stay as the receiving project has them.
    const CStenorDoc changed = testing::everyFieldChanged();
    CStenorDoc back;
    LoadingWorkingCopy::fromProject(changed).copyToProject(back);
    std::vector<std::string> arrived;
    std::string names;
    for (const std::string& field : differingFields(back, CStenorDoc{})) {
        arrived.push_back(field.substr(0, field.find('[')));
        names += (names.empty() ? "" : " ") + arrived.back();
    }
    EXPECT_EQ(names,
              "unitSystem aadt percentTrucks percentTrucksDesignLane directionalDistribution "
              "axleGroupsPerDay truckGrowthPercent configurationEnabled configurationPercent "
              "currentConfiguration loadSpectra loadCdf shownLoadPercent totalAxlePercent "
              "esalFactor axlesPerTruck vehicleTypeRoadClass vehicleTypeValue axleTypeFraction "
              "spectraLibrary");
    for (const std::string& field : differingFields(back, changed))
        EXPECT_EQ(std::count(arrived.begin(), arrived.end(), field.substr(0, field.find('['))), 0)
            << field << " arrived changed";
}

TEST_F(LoadingConditions, HintsNameTheUnitAndTheRangeTheChecksHold) {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    Dlg metric(doc);
    metric.openLoadingConditions(host);
    metric.currentConfiguration = Tandem;
    const std::tuple<const Dlg*, Dlg::Control, const char*> cases[] = {
        {&dlg, Dlg::Control::Aadt, "Two-way AADT, vehicles per day: 1 to 500000"},
        {&dlg, Dlg::Control::TruckGrowth, "Truck traffic growth, % per year: 0 to 100"},
        {&dlg, Dlg::Control::AxleGroupsPerDay, "Axle groups per day, design lane: 1 to 100000000"},
        {&dlg, Dlg::Control::DirectionalDistribution, "Directional distribution, %: any number"},
        {&dlg, Dlg::binEdit(1), "Single axles of 2-4 kip, %: 0 or more"},
        {&metric, Dlg::binEdit(1), "Tandem axles of 9-18 kN, %: 0 or more"},
        {&metric, Dlg::binEdit(40), "Tandem axles of 356-365 kN, %: 0 or more"},
        {&dlg, Dlg::Control::Total, ""},
    };
    for (const auto& [dialog, control, text] : cases)
        EXPECT_EQ(dialog->hint(control).text, text) << id(control);
    EXPECT_EQ(CVehicleTypeDlg::hint(CVehicleTypeDlg::valueEdit(shareIndex(9))).text,
              "Class 13 share of the trucks, % AADTT: 0 to 100");
    EXPECT_EQ(CVehicleTypeDlg::hint(CVehicleTypeDlg::valueEdit(tandemAxlesIndex(0))).text,
              "Class 4 tandem axles per vehicle: 0 to 10");
    EXPECT_EQ(CEsalDataDlg::hint(CEsalDataDlg::Control::ExpectedEsals).text,
              "Expected equivalent single axle loads, ESALs: 0 or more");
}

}  // namespace
}  // namespace ardelon::testing
