#include "structure/AcModuliFollowThickness.h"

#include <gtest/gtest.h>

#include "structure/CStructureDlg.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using testing::FakeHost;

struct FollowCase {
    bool metric;
    int correction;
    int layer;  // the layer whose thickness the engineer types
    std::array<double, kThicknessCount> thickness;
};

// The rule a design candidate follows gives the moduli the Structure module gives when the
// engineer types the candidate's thicknesses, from the first changed layer down.
TEST(AcModuliFollowThickness, GivesTheStructureModulesModuliForTheTypedThicknesses) {
    const FollowCase cases[] = {
        {false, 1, 1, {11.5, 3.5, 12, 999}}, {false, 1, 2, {8, 2, 12, 999}},
        {false, 0, 1, {11.5, 3.5, 12, 999}}, {true, 1, 1, {29.21, 8.89, 30.48, 2537.46}},
        {false, 1, 3, {8, 6, 18, 999}},
    };
    for (const FollowCase& c : cases) {
        CStenorDoc project;
        project.layerCountIndex = 2;
        project.materialIndex = {0, 0, 6, 7, 1};  // AC, AC, granular base, soil
        project.thickness = {8, 6, 12, 999};
        project.pgHighIndex = {1, 3, 2, 2};
        project.meanAirTemperature = {80, 58, 34, 56, 70};
        project.seasonEnabled = {1, 1, 1, 1, 0};
        project.temperatureCorrection = c.correction;
        project.seasonalModulus[0] = {111111, 222222, 333333, 444444, 555555};
        project.seasonalModulus[1] = {111112, 222223, 333334, 444445, 555556};
        if (c.metric) {
            project.unitSystem = Metric;
            project.valuesInEnglish = 0;
            project.thickness = {20.32, 15.24, 30.48, 2537.46};
        }
        CStructureDlg dlg;
        FakeHost host;
        dlg.loadFrom(project);
        dlg.onInitDialog(host);
        for (int layer = c.layer; layer <= kThicknessCount; ++layer) {
            if (dlg.thickness[static_cast<std::size_t>(layer - 1)] ==
                c.thickness[static_cast<std::size_t>(layer - 1)])
                continue;
            dlg.thickness[static_cast<std::size_t>(layer - 1)] =
                c.thickness[static_cast<std::size_t>(layer - 1)];
            dlg.onThicknessChanged(host, layer);
        }
        CStenorDoc typed = project;
        dlg.storeTo(typed);

        CStenorDoc followed = project;
        followed.thickness = c.thickness;
        followAcModuliFromLayer(followed, c.layer);
        EXPECT_EQ(followed.seasonalModulus, typed.seasonalModulus)
            << c.metric << " " << c.correction << " " << c.layer;
        for (int layer = c.layer; layer <= 2 && c.correction == 1; ++layer) {
            const auto l = static_cast<std::size_t>(layer - 1);
            EXPECT_EQ(followed.layerModulus[l], typed.layerModulus[l]) << layer;
        }
        const bool kept = c.correction == 0 || c.layer > 2;
        EXPECT_EQ(followed.seasonalModulus[0] == project.seasonalModulus[0], kept || c.layer > 1);
        if (kept) {
            EXPECT_EQ(followed.seasonalModulus[1], project.seasonalModulus[1]);
        }
        // Spring 2 is not in use: left as it was.
        EXPECT_EQ(followed.seasonalModulus[1][Spring2], project.seasonalModulus[1][Spring2]);
    }
}

}  // namespace
}  // namespace ardelon
