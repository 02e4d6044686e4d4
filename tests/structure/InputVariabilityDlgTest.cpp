#include <gtest/gtest.h>

#include "structure/CInputVariabilityDlg.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using Dlg = CInputVariabilityDlg;
using testing::FakeHost;

TEST(InputVariability, LabelNamesTheMaterialInFull) {
    const std::string_view labels[] = {"Layer: AC",
                                       "Layer: Cracked AC",
                                       "Layer: PCC",
                                       "Layer: Rubblized PCC",
                                       "Layer: Crack and Seat PCC",
                                       "Layer: Break and Seat PCC",
                                       "Layer: Granular Base",
                                       "Layer: Soil",
                                       "Layer: Rock",
                                       "Layer: Other"};
    Dlg d;
    for (int material = 0; material < kMaterialTypeCount; ++material) {
        d.materialType = material;
        EXPECT_EQ(d.materialLabel(), labels[material]);
    }
}

TEST(InputVariability, ThicknessControlsOnlyForLayersOfFiniteThickness) {
    struct Case {
        int layer, layerCountIndex;
        bool enabled;
    };
    for (const Case c :
         {Case{1, 0, true}, Case{2, 0, false}, Case{2, 1, true}, Case{3, 1, false},
          Case{3, 2, true}, Case{4, 2, false}, Case{4, 3, true}, Case{5, 3, false}}) {
        SCOPED_TRACE(::testing::Message() << "layer " << c.layer << " index " << c.layerCountIndex);
        FakeHost host;
        Dlg d;
        d.layer = c.layer;
        d.layerCountIndex = c.layerCountIndex;
        d.thicknessCov = 12.0;
        d.onInitDialog(host);
        EXPECT_EQ(host.enabledOf({Dlg::Control::ThicknessCov, Dlg::Control::ThicknessDistribution}),
                  c.enabled ? "11" : "00");
        EXPECT_EQ(d.thicknessCov, c.enabled ? 12.0 : 0.0);
        // The semi-infinite layer 5 shows no thickness distribution at all.
        EXPECT_EQ(d.thicknessDistribution == Dlg::kNoSelection, c.layer == 5);
    }
}

TEST(InputVariability, CovIsHeldBetweenZeroAndOneThousandPercent) {
    FakeHost host;
    Dlg d;
    d.modulusCov = 1000;
    d.onModulusCovChanged(host);
    EXPECT_EQ(d.modulusCov, 1000.0);
    d.modulusCov = 0;
    d.onModulusCovChanged(host);
    EXPECT_TRUE(host.messages.empty());

    d.modulusCov = 1000.5;
    d.onModulusCovChanged(host);
    EXPECT_EQ(d.modulusCov, 1000.0);
    EXPECT_EQ(host.lastMessage(),
              testing::exclamation("The value has been set to the maximum.", "Value Out of Range"));

    d.thicknessCov = -1;
    d.onThicknessCovChanged(host);
    EXPECT_EQ(d.thicknessCov, 0.0);
    EXPECT_EQ(host.lastMessage(),
              testing::exclamation("The value has been set to the minimum.", "Value Out of Range"));
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace ardelon
