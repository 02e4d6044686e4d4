#include "design/CThicknessSearchDlg.h"

#include <gtest/gtest.h>

#include "project/Rounding.h"
#include "structure/AcTemperature.h"
#include "support/DepthResponseModel.h"
#include "support/ExampleProjects.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using Control = CThicknessSearchDlg::Control;
using testing::id;

// The fake model keeps the dialog's rules under test cheap; the search itself is tested apart.
class ThicknessSearchDlg : public ::testing::Test {
  protected:
    void SetUp() override { dlg.onInitDialog(host); }
    testing::FakeHost host;
    CThicknessSearchDlg dlg{testing::perpetualInterstateExample(), testing::depthModel()};
};

TEST_F(ThicknessSearchDlg, OffersTheLayersAboveTheBottomAroundTodaysThickness) {
    EXPECT_EQ(std::tie(dlg.variableLayers, dlg.unit), std::tuple(3, "in."));
    EXPECT_EQ(dlg.vary, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(dlg.minThickness, (std::array<double, 4>{4, 2, 8, 0}));
    EXPECT_EQ(dlg.maxThickness, (std::array<double, 4>{12, 10, 16, 0}));
    EXPECT_EQ(host.enabledOf({Control::Max3, Control::Vary4, Control::UseDesign}), "100");
    // The hints give the ranges the search refuses outside of.
    EXPECT_EQ(dlg.hint(Control::Max2).text, "Layer 2 greatest thickness, in.: 1 to 999");
    EXPECT_EQ(dlg.hint(Control::Step1).text, "Layer 1 thickness step, in.: more than 0");
    EXPECT_EQ(dlg.hint(Control::DesignLife).text, "Design life, years: 0 or more (0: none)");
    EXPECT_EQ(dlg.hint(Control::Seed).text,
              "Seed: 0 to 4294967295 (the same seed repeats a search)");
}

TEST_F(ThicknessSearchDlg, RefusesABadGridWithAMessageAndRunsNothing) {
    dlg.maxThickness[0] = 2;
    dlg.search(host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Layer 1: the minimum 4 in. is larger than the maximum 2 in.");
    EXPECT_EQ(host.messages[0].caption, "Find Thicknesses");
    EXPECT_FALSE(dlg.result.has_value());
    EXPECT_FALSE(dlg.onUseDesign(host));
}

TEST_F(ThicknessSearchDlg, ListsPassingCandidatesFirstAndHandsTheWinnerBack) {
    dlg.cycles = 40;
    dlg.vary = {true, true, false, false};
    dlg.minThickness = {4, 2, 0, 0};
    dlg.maxThickness = {12, 6, 0, 0};
    dlg.step = {2, 2, 0.5, 0.5};
    dlg.search(host);
    ASSERT_TRUE(dlg.result.has_value());
    ASSERT_EQ(dlg.result->status, ThicknessSearchStatus::Found) << dlg.summary;
    EXPECT_EQ(dlg.columns, (std::vector<std::string>{"Layer 1 (in.)", "Layer 2 (in.)", "Cost",
                                                     "Pass/Fail?", "Cycles Run", "Fails"}));
    ASSERT_FALSE(dlg.rows.empty());
    EXPECT_EQ(dlg.rows.front()[3], "Pass");
    for (std::size_t i = 1; i < dlg.rows.size(); ++i)
        EXPECT_FALSE(dlg.rows[i - 1][3] == "Fail" && dlg.rows[i][3] == "Pass");
    EXPECT_EQ(dlg.summary.rfind("Cheapest passing design: layer 1 = ", 0), 0u) << dlg.summary;
    EXPECT_TRUE(host.isEnabled(id(Control::UseDesign)));
    ASSERT_TRUE(dlg.onUseDesign(host));
    EXPECT_EQ(*dlg.chosenThickness, dlg.result->best->candidate.thickness);
    EXPECT_EQ((*dlg.chosenThickness)[2], 12);  // the base keeps its thickness
    // The asphalt moduli handed back follow the winner's thicknesses (Temperature Correction on).
    ASSERT_TRUE(dlg.chosenProject.has_value());
    const CStenorDoc& chosen = *dlg.chosenProject;
    const double h1 = (*dlg.chosenThickness)[0];
    for (int season : {Summer, Fall, Winter, Spring}) {
        EXPECT_EQ(chosen.seasonalModulus[0][static_cast<std::size_t>(season)],
                  roundHalfUpWhole(acModulusFromTemperature(
                      chosen.meanAirTemperature[static_cast<std::size_t>(season)], h1 / 3,
                      chosen.pgHighIndex[0])));
    }
}

TEST_F(ThicknessSearchDlg, CancelledSearchChangesNothing) {
    auto options = dlg.prepareSearch(host);
    ASSERT_TRUE(options.has_value());
    dlg.cancelRequested = true;
    ThicknessSearchResult searched;
    std::optional<SearchVerification> verified;
    dlg.runSearch(*options, searched, verified);
    dlg.finishSearch(host, std::move(searched), std::move(verified));
    EXPECT_EQ(dlg.summary, "Search cancelled; nothing changed.");
    EXPECT_FALSE(dlg.result.has_value());
    EXPECT_TRUE(dlg.rows.empty());
    EXPECT_FALSE(dlg.onUseDesign(host));
}

}  // namespace
}  // namespace ardelon
