// The Load Spectra module driven as the form drives it: members set as typed, then the handler.

#include <gtest/gtest.h>

#include "project/CStenorDoc.h"
#include "support/FakeHost.h"
#include "traffic/CLoadingConditionsDlg.h"

namespace ardelon::testing {
namespace {

using Dlg = CLoadingConditionsDlg;

// Sums of a few two-decimal percentages and quotients of them carry binary rounding noise only.
constexpr double kSumTolerance = 1e-12;
// Load equivalency factors computed independently of this code to 12 significant digits.
constexpr double kReferenceTolerance = 1e-11;
constexpr double kFactorOf17KipSingle = 0.814487593564;
constexpr double kFactorOf19KipSingle = 1.20843762523;

int id(Dlg::Control control) {
    return static_cast<int>(control);
}

RecordedMessage exclamation(std::string_view text, std::string_view caption) {
    return {std::string(text), std::string(caption), MessageIcon::Exclamation, MessageButtons::Ok};
}

class LoadingConditions : public ::testing::Test {
  protected:
    void SetUp() override {
        dlg = Dlg(CStenorDoc{});
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

TEST_F(LoadingConditions, OpeningShowsTheCurrentConfigurationAndEnablesCheckedShares) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.isEnabled(id(Dlg::percentEdit(Single))));
    for (int c : {Tandem, Tridem, Steer})
        EXPECT_FALSE(host.isEnabled(id(Dlg::percentEdit(c))));
    EXPECT_EQ(dlg.total, 0);
    EXPECT_EQ(dlg.binLabels[0], "0-2");
    EXPECT_EQ(dlg.binLabels[1], "2-4");
    EXPECT_EQ(dlg.binLabels[54], "108-110");
    EXPECT_EQ(dlg.binLabels[55], "110+");
}

TEST(LoadingConditionsForm, BinEditsStandInFiveColumnsOfTwelve) {
    EXPECT_EQ(Dlg::binColumn(0), 0);
    EXPECT_EQ(Dlg::binColumn(11), 0);
    EXPECT_EQ(Dlg::binColumn(12), 1);
    EXPECT_EQ(Dlg::binColumn(47), 3);
    EXPECT_EQ(Dlg::binColumn(48), 4);
    EXPECT_EQ(Dlg::binRow(48), 0);
    EXPECT_EQ(Dlg::binColumn(55), Dlg::kBinColumnCount - 1);
    EXPECT_EQ(Dlg::binRow(55), 7);  // the last column holds bins 48 to 55
    // The range messages of the command-line tool name the fields as the form labels them.
    EXPECT_EQ(loadingFieldLabel(LoadingField::AxleGroupsPerDay), Dlg::kAxleGroupsPerDayLabel);
    EXPECT_EQ(Dlg::kAxleGroupsPerDayLabel, "Axles Groups / Day");
}

TEST_F(LoadingConditions, MetricLabelsStopAtBin27) {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    Dlg metric(doc);
    metric.openLoadingConditions(host);
    EXPECT_EQ(metric.binLabels[0], "0-9");
    EXPECT_EQ(metric.binLabels[4], "36-44");
    EXPECT_EQ(metric.binLabels[26], "231-240");
    EXPECT_EQ(metric.binLabels[27], "240+");
    for (int k = 28; k < kBinCount; ++k)
        EXPECT_EQ(metric.binLabels[static_cast<size_t>(k)], "");
    // The unlabelled bins still take values.
    metric.shownLoadPercent[40] = 7;
    metric.binEdited(host, 40);
    EXPECT_EQ(metric.loadSpectra[Single][40], 7);
    EXPECT_EQ(metric.total, 7);
}

TEST_F(LoadingConditions, OpeningWithAnUncheckedCurrentConfigurationSwitchesToAChecked) {
    CStenorDoc doc;
    doc.currentConfiguration = Steer;
    doc.loadSpectra[Single][3] = 40;
    Dlg opened(doc);
    opened.openLoadingConditions(host);
    EXPECT_EQ(host.messages,
              std::vector{exclamation("Steer Configuration has not been selected above.",
                                      "Configuration Error")});
    EXPECT_EQ(opened.currentConfiguration, Single);
    EXPECT_EQ(opened.shownLoadPercent[3], 40);
    EXPECT_EQ(opened.total, 40);
}

TEST_F(LoadingConditions, ACurrentConfigurationOutsideTheListIsCorrectedSilently) {
    CStenorDoc doc;
    doc.currentConfiguration = 7;  // from a damaged project file
    Dlg opened(doc);
    opened.openLoadingConditions(host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(opened.currentConfiguration, Single);
}

TEST_F(LoadingConditions, ClearingTheOnlyCheckedConfigurationWarnsAndKeepsItCleared) {
    dlg.loadSpectra[Single][5] = 30;
    click(Single, false);
    EXPECT_EQ(host.messages, std::vector{exclamation("Please evaluate at least one configuration.",
                                                     "No Configurations Selected")});
    EXPECT_EQ(host.lastFocus(), id(Dlg::checkBox(Single)));
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{0, 0, 0, 0}));
    EXPECT_EQ(dlg.configurationPercent[Single], 0);
    EXPECT_FALSE(host.isEnabled(id(Dlg::percentEdit(Single))));
    EXPECT_EQ(dlg.currentConfiguration, Single);
    EXPECT_EQ(dlg.loadSpectra[Single][5], 30);  // the bins stay
}

TEST_F(LoadingConditions, CheckingShowsTheConfigurationAndClearingFallsBackToTheFirstChecked) {
    dlg.loadSpectra[Tridem][10] = 12;
    click(Steer, true);
    click(Tridem, true);
    EXPECT_EQ(dlg.currentConfiguration, Tridem);
    EXPECT_TRUE(host.isEnabled(id(Dlg::percentEdit(Tridem))));
    EXPECT_EQ(dlg.shownLoadPercent[10], 12);
    EXPECT_EQ(dlg.total, 12);

    dlg.configurationPercent[Tridem] = 20;
    click(Tridem, false);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.currentConfiguration, Single);
    EXPECT_EQ(dlg.configurationPercent[Tridem], 0);
    EXPECT_FALSE(host.isEnabled(id(Dlg::percentEdit(Tridem))));
    EXPECT_EQ(dlg.shownLoadPercent[10], 0);
    EXPECT_EQ(dlg.loadSpectra[Tridem][10], 12);
}

TEST_F(LoadingConditions, ChoosingAnUncheckedConfigurationShowsTheFirstCheckedOne) {
    dlg.configurationEnabled = {0, 1, 1, 0};
    dlg.loadSpectra[Tandem][20] = 3;
    dlg.currentConfiguration = Steer;
    dlg.selectConfiguration(host);
    EXPECT_EQ(host.lastMessage(), exclamation("Steer Configuration has not been selected above.",
                                              "Configuration Error"));
    EXPECT_EQ(dlg.currentConfiguration, Tandem);
    EXPECT_EQ(dlg.shownLoadPercent[20], 3);
    EXPECT_EQ(dlg.total, 3);

    EXPECT_EQ(Dlg::configurationNotSelectedText(Single),
              "Single Configuration has not been selected above.");
    EXPECT_EQ(Dlg::configurationNotSelectedText(Tridem),
              "Tridem Configuration has not been selected above.");
}

TEST_F(LoadingConditions, NoCheckedConfigurationLeavesTheChoiceAsItIs) {
    dlg.configurationEnabled = {0, 0, 0, 0};
    dlg.currentConfiguration = Tandem;
    dlg.selectConfiguration(host);
    EXPECT_EQ(host.lastMessage().text, "Tandem Configuration has not been selected above.");
    EXPECT_EQ(dlg.currentConfiguration, Tandem);
}

TEST_F(LoadingConditions, FocusOnAShareEditShowsThatConfiguration) {
    dlg.configurationEnabled = {1, 1, 0, 0};
    dlg.loadSpectra[Tandem][2] = 9;
    dlg.percentEditFocused(host, Tandem);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.currentConfiguration, Tandem);
    EXPECT_EQ(dlg.shownLoadPercent[2], 9);
}

TEST_F(LoadingConditions, NegativeBinsAreRefusedAndZeroIsTaken) {
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
}

TEST_F(LoadingConditions, TotalRoundsHalfUpToAWholeNumber) {
    typeBin(0, 12.5);
    EXPECT_EQ(dlg.total, 13);
    typeBin(0, 12.49);
    EXPECT_EQ(dlg.total, 12);
    typeBin(1, 0.01);  // 12.5 again, built from two bins
    EXPECT_EQ(dlg.total, 13);
}

TEST_F(LoadingConditions, AxleGroupsPerDayFollowTheTruckTraffic) {
    dlg.aadt = 1000;
    dlg.trafficEdited();
    EXPECT_EQ(dlg.axleGroupsPerDay, 45);  // 1 × 0.9 × 0.5 × 0.1 × 1000
    dlg.aadt = 1;
    dlg.trafficEdited();
    EXPECT_EQ(dlg.axleGroupsPerDay, 1);  // never below one axle group
    dlg.aadt = 1999;
    dlg.trafficEdited();
    EXPECT_EQ(dlg.axleGroupsPerDay, 89);  // 89.955 is cut, not rounded
    dlg.axlesPerTruck = {1.53072, 1.48162, 0.02317, 0};
    dlg.trafficEdited();
    EXPECT_EQ(dlg.axleGroupsPerDay, 273);  // 3.03551 axle groups per truck: 273.06
    // Unranged percentages from a file must not overflow the count.
    dlg.percentTrucksDesignLane = 1e12;
    dlg.trafficEdited();
    EXPECT_EQ(dlg.axleGroupsPerDay, 2147483647);
}

TEST(LoadEquivalency, StandardAxleAndItsNeighbours) {
    // 6.1252 stands for 4.79 log(19), so the standard axle is 1 only to four decimals.
    constexpr double kStandardAxleTolerance = 1e-4;
    // The same twelve significant digits of a factor above 10 fix it only to 1e-10.
    constexpr double kLargeReferenceTolerance = 1e-9;
    EXPECT_NEAR(loadEquivalencyFactor(18, 1), 1.0, kStandardAxleTolerance);
    EXPECT_NEAR(loadEquivalencyFactor(17, 1), kFactorOf17KipSingle, kReferenceTolerance);
    EXPECT_NEAR(loadEquivalencyFactor(19, 1), kFactorOf19KipSingle, kReferenceTolerance);
    EXPECT_NEAR(loadEquivalencyFactor(33, 2), 1.00440657266, kReferenceTolerance);
    EXPECT_NEAR(loadEquivalencyFactor(111, 3), 16.6039566884, kLargeReferenceTolerance);
    EXPECT_EQ(axlesPerGroup(Single), 1);
    EXPECT_EQ(axlesPerGroup(Tandem), 2);
    EXPECT_EQ(axlesPerGroup(Tridem), 3);
    EXPECT_EQ(axlesPerGroup(Steer), 1);
}

TEST_F(LoadingConditions, EsalFactorOfOneBinIsTheFactorOfItsLoad) {
    dlg.loadSpectra[Single][8] = 100;
    dlg.acceptLoading();
    EXPECT_NEAR(dlg.esalFactor, kFactorOf17KipSingle, kReferenceTolerance);

    dlg.loadSpectra[Single][8] = 0;
    dlg.loadSpectra[Single][9] = 40;
    dlg.acceptLoading();
    EXPECT_NEAR(dlg.esalFactor, kFactorOf19KipSingle, kReferenceTolerance);
    EXPECT_EQ(dlg.totalAxlePercent, 40);
}

TEST_F(LoadingConditions, SteerGroupsCountAsSingleAxles) {
    dlg.configurationEnabled = {0, 0, 0, 1};
    dlg.loadSpectra[Steer][8] = 50;
    dlg.acceptLoading();
    EXPECT_NEAR(dlg.esalFactor, kFactorOf17KipSingle, kReferenceTolerance);
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
    EXPECT_EQ(cdf[1], 0);
    EXPECT_EQ(cdf[2], 0.2);
    EXPECT_EQ(cdf[4], 0.5);
    EXPECT_EQ(cdf[5], 0.5);
    EXPECT_EQ(cdf[6], 1.0);
    EXPECT_EQ(cdf[55], 1.0);
    for (double v : accepted.loadCdf[Tandem])
        EXPECT_EQ(v, 0.25);
    for (double v : accepted.loadCdf[Steer])
        EXPECT_EQ(v, 0.75);
    EXPECT_EQ(accepted.totalAxlePercent, 50);
    EXPECT_EQ(accepted.axleTypeFraction, (ConfigurationValues{0.6, 0, 0, 0.4}));
    const double expected = (10 * loadEquivalencyFactor(5, 1) + 15 * loadEquivalencyFactor(9, 1) +
                             25 * loadEquivalencyFactor(13, 1)) /
                            50;
    EXPECT_NEAR(accepted.esalFactor, expected, kSumTolerance);

    accepted.copyToProject(doc);
    EXPECT_EQ(doc.loadCdf[Single], cdf);
    EXPECT_EQ(doc.totalAxlePercent, 50);
}

TEST_F(LoadingConditions, NoAxlesOnAcceptGiveAnEsalFactorOfZero) {
    dlg.loadSpectra[Tandem][10] = 30;  // Tandem holds axles but is not checked
    dlg.acceptLoading();
    EXPECT_EQ(dlg.totalAxlePercent, 0);
    EXPECT_EQ(dlg.esalFactor, 0);
    dlg.configurationEnabled = {0, 0, 0, 0};
    dlg.acceptLoading();
    EXPECT_EQ(dlg.esalFactor, 0);
}

TEST_F(LoadingConditions, FlagsOtherThanOneCountAsNotEvaluated) {
    dlg.configurationEnabled = {2, 0, 0, 0};
    dlg.loadSpectra[Single][8] = 100;
    dlg.acceptLoading();
    EXPECT_EQ(dlg.totalAxlePercent, 0);
    EXPECT_EQ(dlg.esalFactor, 0);
}

TEST(LoadingFieldRanges, FrameworkTextsWithTheFieldBounds) {
    EXPECT_EQ(parseLoadingField(LoadingField::Aadt, "0").message,
              "Please enter an integer between 1 and 500000.");
    EXPECT_EQ(parseLoadingField(LoadingField::Aadt, "12.5").message, "Please enter an integer.");
    EXPECT_EQ(parseLoadingField(LoadingField::Aadt, "500000").value, 500000);
    EXPECT_EQ(parseLoadingField(LoadingField::AxleGroupsPerDay, "100000001").message,
              "Please enter an integer between 1 and 100000000.");
    EXPECT_EQ(parseLoadingField(LoadingField::PercentTrucks, "100.5").message,
              "Please enter a number between 0 and 100.");
    EXPECT_EQ(parseLoadingField(LoadingField::TruckGrowth, "abc").message,
              "Please enter a number.");
    EXPECT_EQ(parseLoadingField(LoadingField::TruckGrowth, "0").value, 0);
    EXPECT_EQ(loadingFieldRangeMessage(LoadingField::AxleGroupsPerDay, 0),
              "Please enter an integer between 1 and 100000000.");
    EXPECT_EQ(loadingFieldRangeMessage(LoadingField::Aadt, 1000), "");
}

TEST_F(LoadingConditions, AcceptIsHeldBackByAFieldOutOfRange) {
    EXPECT_TRUE(dlg.validateLoadingFields(host));
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
    // Every copied field differs from its default, so a field left out of either copy shows.
    CStenorDoc doc;
    doc.unitSystem = Metric;
    doc.aadt = 4321;
    doc.percentTrucks = 11;
    doc.percentTrucksDesignLane = 12;
    doc.directionalDistribution = 13;
    doc.axleGroupsPerDay = 14;
    doc.truckGrowthPercent = 15;
    doc.configurationEnabled = {0, 1, 1, 0};
    doc.configurationPercent = {0, 30, 70, 0};
    doc.currentConfiguration = Tridem;
    doc.shownLoadPercent[1] = 2;
    doc.loadSpectra[Tridem][30] = 1.5;
    doc.loadCdf[Tandem][3] = 0.25;
    doc.totalAxlePercent = 16;
    doc.esalFactor = 1.25;
    doc.axleTypeFraction = {0, 0.3, 0.7, 0};
    doc.axlesPerTruck = {2, 1, 0.5, 0};
    doc.vehicleTypeRoadClass = 4;
    doc.vehicleTypeValue[39] = 9;
    doc.spectraLibrary[29][0] = 0.5;
    const LoadingWorkingCopy copy = LoadingWorkingCopy::fromProject(doc);
    CStenorDoc back;
    copy.copyToProject(back);
    EXPECT_EQ(back, doc);

    // Fields of other commands stay as the receiving project has them.
    CStenorDoc other;
    other.expectedEsals = 5;
    other.useLoadSpectra = 0;
    copy.copyToProject(other);
    EXPECT_EQ(other.expectedEsals, 5);
    EXPECT_EQ(other.useLoadSpectra, 0);
}

}  // namespace
}  // namespace ardelon::testing
