// The vehicle type distribution dialog and the route through it from the Load Spectra module,
// and the ESAL Data dialog.

#include <gtest/gtest.h>

#include <numeric>

#include "project/CStenorDoc.h"
#include "project/NumberField.h"
#include "support/FakeHost.h"
#include "traffic/CEsalDataDlg.h"
#include "traffic/CLoadingConditionsDlg.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/VehicleTypes.h"
#include "traffic/WeightClassLabels.h"

namespace ardelon::testing {
namespace {

using Dlg = CLoadingConditionsDlg;
using VehicleDlg = CVehicleTypeDlg;

// axlesPerTruck sums products of two-decimal figures: binary noise only.
constexpr double kProductTolerance = 1e-12;

TEST(VehicleTypeDialog, RoadClassPresetsReplaceTheSharesOnly) {
    const CStenorDoc doc;
    VehicleDlg dlg(doc.vehicleTypeRoadClass, doc.vehicleTypeValue);
    EXPECT_NEAR(dlg.total, 100, kProductTolerance);
    dlg.vehicleTypeRoadClass = 10;
    dlg.selectRoadClass();
    const ClassShares urbanCollector{1.0, 73.5, 11.5, 3.1, 4.0, 6.9, 0, 0, 0, 0};
    VehicleTypeValues expected = doc.vehicleTypeValue;  // the axles per vehicle stay
    std::copy(urbanCollector.begin(), urbanCollector.end(), expected.begin());
    EXPECT_EQ(dlg.vehicleTypeValue, expected);
    EXPECT_EQ(dlg.total, 100);
    // Every preset row describes the whole truck traffic.
    constexpr double kPresetSumTolerance = 1e-9;
    for (const ClassShares& row : kRoadClassShares)
        EXPECT_NEAR(std::accumulate(row.begin(), row.end(), 0.0), 100, kPresetSumTolerance);
}

TEST(VehicleTypeDialog, SharesOutsideZeroToHundredAreRefused) {
    FakeHost host;
    VehicleDlg dlg(0, CStenorDoc{}.vehicleTypeValue);
    dlg.vehicleTypeValue[3] = 100;
    EXPECT_TRUE(dlg.shareEdited(host, 3));
    EXPECT_TRUE(host.messages.empty());
    const double totalWith100 = dlg.total;

    dlg.vehicleTypeValue[3] = 100.01;
    EXPECT_FALSE(dlg.shareEdited(host, 3));
    EXPECT_EQ(host.messages, std::vector{exclamation("Please enter a value between 0% and 100%.",
                                                     "Percentage Out of Range")});
    EXPECT_EQ(host.lastFocus(), static_cast<int>(VehicleDlg::valueEdit(3)));
    EXPECT_EQ(dlg.total, totalWith100);          // not recomputed
    EXPECT_EQ(dlg.vehicleTypeValue[3], 100.01);  // stays as typed

    // ... and cannot slip through "Accept Changes".
    host.clear();
    EXPECT_FALSE(dlg.acceptVehicleTypes(host));
    EXPECT_EQ(host.lastMessage().text, "Please enter a value between 0% and 100%.");
    dlg.vehicleTypeValue[3] = 0;
    dlg.vehicleTypeValue[25] = 10.5;
    host.clear();
    EXPECT_FALSE(dlg.acceptVehicleTypes(host));
    EXPECT_EQ(host.lastMessage(),
              exclamation("Please enter a number between 0 and 10.", "Ardelon"));
    EXPECT_EQ(host.lastFocus(), static_cast<int>(VehicleDlg::valueEdit(25)));
    dlg.vehicleTypeValue[25] = 10;
    // Shares that do not total 100: a warning, and Cancel keeps the dialog open.
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        host.clear();
        host.answers = {answer};
        EXPECT_EQ(dlg.acceptVehicleTypes(host), answer == MessageAnswer::Ok);
        EXPECT_EQ(host.lastMessage().text, "The class shares total " +
                                               formatFieldNumber(dlg.total) +
                                               " %, not 100 %. Accept them anyway?");
    }
}

class VehicleTypeRoute : public ::testing::Test {
  protected:
    void SetUp() override { dlg.openLoadingConditions(host); }
    // Runs the nested dialog from the module and accepts it, with the value `zeroed(k)` of every
    // class k set to 0 first.
    void inputByVehicleType(int (*zeroed)(int) = nullptr) {
        host.modalScript.push_back([zeroed](ModalDialog& nested) {
            auto& vehicles = dynamic_cast<VehicleDlg&>(nested);
            for (int k = 0; zeroed && k < kVehicleClassCount; ++k)
                vehicles.vehicleTypeValue[static_cast<size_t>(zeroed(k))] = 0;
            return true;
        });
        dlg.inputByVehicleType(host);
    }
    FakeHost host;
    Dlg dlg{CStenorDoc{}};
};

TEST_F(VehicleTypeRoute, TheDefaultMixGivesTheDocumentedTraffic) {
    dlg.loadSpectra[Steer][12] = 8;
    inputByVehicleType();
    EXPECT_EQ(host.modalCaptions,
              std::vector<std::string>{"Vehicle Type Distribution (Press F1 for Help)"});
    for (auto [c, axles] : {std::pair{Single, 1.53072}, {Tandem, 1.48162}, {Tridem, 0.02317}})
        EXPECT_NEAR(dlg.axlesPerTruck[c], axles, kProductTolerance) << c;
    EXPECT_EQ(dlg.axlesPerTruck[Steer], 0);
    EXPECT_EQ(dlg.configurationPercent, (ConfigurationValues{50.43, 48.81, 0.76, 0}));
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{1, 1, 1, 0}));
    EXPECT_EQ(host.enabledOf({Dlg::percentEdit(Tridem), Dlg::percentEdit(Steer)}), "10");
    EXPECT_EQ(dlg.currentConfiguration, Single);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.shownLoadPercent, dlg.loadSpectra[Single]);
    EXPECT_EQ(dlg.total, 100);                 // 100.01 rounded
    EXPECT_EQ(dlg.loadSpectra[Steer][12], 8);  // the Steer distribution stays
    // 3.03551 axle groups per truck × 0.9 × 0.5 × 0.1 × 1000 trucks.
    EXPECT_EQ(dlg.axleGroupsPerDay, 136);

    // The mixtures of the class distributions, mixed apart from this code from the class
    // distributions and the default class mix, each bin rounded half up to two decimals; bins
    // beyond the listed ones are 0.
    const std::vector<std::vector<double>> expected = {
        {0,    4.46, 9.13, 11.32, 19.55, 25.5, 14.57, 6.42, 3.84, 2.39,
         1.37, 0.68, 0.35, 0.2,   0.1,   0.05, 0.04,  0.02, 0.01, 0.01},
        {0,    0,    0,    3.53, 4.11, 6.68, 7.72, 7.8,  7.06, 5.92, 5.64, 5.24, 5.04,
         5.18, 5.37, 5.92, 5.98, 5.37, 4.22, 3.02, 2.06, 1.37, 0.9,  0.6,  0.4,  0.27,
         0.18, 0.13, 0.09, 0.06, 0.04, 0.03, 0.02, 0.02, 0.02, 0.01, 0.01, 0.01},
        {0,    0,    0, 0,    0,    0, 14.45, 9,    0, 7.47, 5.97, 0, 4.82, 4.4,  0, 4.5, 4.72, 0,
         6.12, 5.96, 0, 6.04, 4.93, 0, 4.79,  3.52, 0, 3.17, 2.79, 0, 1.74, 1.27, 0, 1.3, 0.67, 0,
         0.77, 0.43, 0, 0.37, 0.21, 0, 0.21,  0.09, 0, 0.08, 0.09, 0, 0.03, 0.03, 0, 0.04}};
    for (int c : {Single, Tandem, Tridem}) {
        const std::vector<double>& row = expected[static_cast<size_t>(c)];
        for (size_t k = 0; k < static_cast<size_t>(kBinCount); ++k) {
            EXPECT_EQ(dlg.loadSpectra[static_cast<size_t>(c)][k], k < row.size() ? row[k] : 0.0)
                << kConfigurationNames[static_cast<size_t>(c)] << " bin " << k;
        }
    }
}

TEST_F(VehicleTypeRoute, AMixWithoutTridemsOrWithoutAnyAxles) {
    dlg.loadSpectra[Tridem][6] = 50;
    inputByVehicleType(tridemAxlesIndex);
    EXPECT_EQ(std::tie(dlg.axlesPerTruck[Tridem], dlg.configurationPercent[Tridem],
                       dlg.configurationEnabled[Tridem]),
              std::tuple(0.0, 0.0, 0));
    EXPECT_EQ(dlg.loadSpectra[Tridem], BinArray{});           // no axles in any bin, not 0 / 0
    EXPECT_EQ(dlg.vehicleTypeValue[tridemAxlesIndex(9)], 0);  // copied back

    // Without any trucks there are no axles at all, and no shares.
    inputByVehicleType(shareIndex);
    EXPECT_EQ(dlg.configurationPercent, (ConfigurationValues{0, 0, 0, 0}));
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{0, 0, 0, 0}));
    EXPECT_EQ(dlg.currentConfiguration, Tridem);
    EXPECT_EQ(host.lastMessage().text, "Tridem Configuration has not been selected above.");
    EXPECT_EQ(dlg.axleGroupsPerDay, 1);
}

TEST_F(VehicleTypeRoute, CancellingStillRecomputesAxleGroupsPerDay) {
    dlg.axlesPerTruck = {2, 1, 0, 0};
    dlg.axleGroupsPerDay = 5;
    const auto spectra = dlg.loadSpectra;
    host.modalScript.push_back([](ModalDialog& nested) {
        dynamic_cast<VehicleDlg&>(nested).vehicleTypeValue[0] = 50;  // then cancelled
        return false;
    });
    dlg.inputByVehicleType(host);
    EXPECT_EQ(dlg.axleGroupsPerDay, 135);  // 3 × 0.9 × 0.5 × 0.1 × 1000
    EXPECT_EQ(dlg.vehicleTypeValue[0], 1.2);
    EXPECT_EQ(dlg.loadSpectra, spectra);
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{1, 0, 0, 0}));
}

TEST_F(VehicleTypeRoute, TheRouteOnAProjectMatchesTheDialog) {
    inputByVehicleType();
    dlg.acceptLoading();
    CStenorDoc viaDialog;
    dlg.copyToProject(viaDialog);

    CStenorDoc direct;
    applyVehicleTypeRoute(direct);
    EXPECT_EQ(direct, viaDialog);
    EXPECT_EQ(direct.loadCdf[Tridem][55], 1.0);
    EXPECT_GT(direct.esalFactor, 0);
}

TEST(VehicleTypeProject, ValuesOutsideTheirRangesAreNamed) {
    VehicleTypeValues values = CStenorDoc{}.vehicleTypeValue;
    EXPECT_EQ(vehicleTypeValuesProblem(values), "");
    values[1] = 120;
    EXPECT_EQ(vehicleTypeValuesProblem(values),
              "the share of class 5 is 120%; it must be between 0% and 100%");
    values[1] = 9.4;
    values[tandemAxlesIndex(2)] = -1;
    EXPECT_EQ(vehicleTypeValuesProblem(values),
              "class 6 has -1 tandem axles per vehicle; it must be between 0 and 10");
}

// A negative count is refused; an accepted one goes half and half to 17- and 19-kip single axles.
TEST(EsalData, NegativeRefusedSingleAxlesOf17And19KipsHalfAndHalf) {
    CStenorDoc doc;
    doc.loadSpectra[Single][3] = 12;  // other bins keep their values
    doc.loadSpectra[Tandem][3] = 5;
    doc.configurationEnabled = {0, 1, 1, 1};
    doc.loadCdf[Tandem].fill(0.5);
    CStenorDoc direct = doc;  // the same through the command-line route
    CEsalDataDlg dlg(doc);
    FakeHost host;
    dlg.expectedEsals = -5;
    EXPECT_FALSE(dlg.acceptEsalData(host));
    EXPECT_EQ(host.lastMessage(), exclamation("The expected number of ESALs cannot be negative.",
                                              "Number Out of Range"));
    EXPECT_EQ(host.lastFocus(), static_cast<int>(CEsalDataDlg::Control::ExpectedEsals));
    EXPECT_EQ(dlg.loadSpectra, doc.loadSpectra);
    host.clear();
    dlg.expectedEsals = 0;
    // Spectra in use are replaced only when the engineer confirms, told which ones.
    host.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(dlg.acceptEsalData(host));
    EXPECT_EQ(dlg.loadSpectra, doc.loadSpectra);
    EXPECT_TRUE(dlg.acceptEsalData(host));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.lastMessage().caption, "Replace the Load Spectra?");
    EXPECT_EQ(host.lastMessage().text,
              "The load spectra of the Tandem axles will be replaced by single axles of 17 and 19 "
              "kips, half and half, and every other axle configuration will be turned off. "
              "Replace them?");
    EXPECT_EQ(dlg.loadSpectra[Single][8], 0);
    host.clear();  // an ESAL traffic already: its count changes without a question
    dlg.expectedEsals = 1000001;
    ASSERT_TRUE(dlg.acceptEsalData(host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(std::tie(dlg.loadSpectra[Single][8], dlg.loadSpectra[Single][9],
                       dlg.loadSpectra[Single][3], dlg.loadSpectra[Tandem][3]),
              std::tuple(500000.0, 500000.0, 12.0, 5.0));
    EXPECT_EQ(dlg.totalAxlePercent, 1000001);
    EXPECT_EQ(dlg.axleTypeFraction, (ConfigurationValues{1, 0, 0, 0}));
    EXPECT_EQ(dlg.configurationEnabled, (ConfigurationFlags{1, 0, 0, 0}));
    for (int k = 0; k < kBinCount; ++k) {
        EXPECT_EQ(dlg.singleLoadCdf[static_cast<size_t>(k)], k < 8 ? 0.0 : k == 8 ? 0.5 : 1.0);
    }
    dlg.copyToProject(doc);  // the count goes back too: the route below sets it
    EXPECT_EQ(doc.loadCdf[Single][8], 0.5);
    EXPECT_EQ(doc.loadCdf[Tandem][8], 0.5);  // only the Single row goes back
    direct.expectedEsals = 1000001;
    applyEsalData(direct);
    EXPECT_EQ(direct, doc);
}

// A metric project is asked in kN, naming the two bins as the Load Spectra form labels them.
TEST(EsalData, MetricProjectIsAskedInKilonewtons) {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    doc.loadSpectra[Single][3] = 12;
    CEsalDataDlg dlg(doc);
    FakeHost host;
    host.answers = {MessageAnswer::No};
    EXPECT_FALSE(dlg.acceptEsalData(host));
    const auto labels = binLabelsFor(Metric);
    EXPECT_EQ(std::tie(labels[8], labels[9]), std::tuple("71-80", "80-89"));
    EXPECT_EQ(host.lastMessage().text,
              "The load spectra of the Single axles will be replaced by single axles of 76 and 85 "
              "kN (the 71-80 and 80-89 kN bins), half and half, and every other axle configuration "
              "will be turned off. Replace them?");
}

}  // namespace
}  // namespace ardelon::testing
