// Changing the number of layers asks before it clears anything; No leaves the module as it was.

#include <gtest/gtest.h>

#include "criteria/ResponseType.h"
#include "structure/CStructureDlg.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using testing::FakeHost;

// AC, AC, granular base, granular base and soil, with a criterion on every layer and thickness
// variability of their own on layers 2 to 4.
CStenorDoc fiveLayers() {
    CStenorDoc doc;
    doc.layerCountIndex = 3;
    doc.materialIndex = {0, 0, 6, 6, 1};
    doc.thickness = {4, 6, 8, 10};
    doc.thicknessCov = {0, 3, 4, 6};
    for (int layer = 1; layer <= kLayerCount; ++layer)
        doc.criteria[static_cast<std::size_t>(slotIndex(layer, Top))] = {1, VerticalStrain, 200};
    return doc;
}

struct Change {
    int toLayers;
    MessageAnswer answer;
    std::string question;  // "" when nothing is asked
    bool changed;
};

TEST(LayerCountQuestion, AsksBeforeClearingAndNoKeepsEverything) {
    const std::string toThree =
        "Going to 3 layers clears the thicknesses and thickness variability of layers 3 and 4, the "
        "performance criteria of layers 4 and 5 and the materials and moduli of layer 5. Continue?";
    const std::vector<Change> changes = {
        {3, MessageAnswer::Yes, toThree, true},
        {3, MessageAnswer::No, toThree, false},
        {4, MessageAnswer::Yes,
         "Going to 4 layers clears the thicknesses and thickness variability of layer 4, the "
         "performance criteria of layer 5 and the materials and moduli of layer 5. Continue?",
         true},
        {5, MessageAnswer::Yes, "", false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.question);
        CStructureDlg dlg;
        dlg.loadFrom(fiveLayers());
        FakeHost host;
        dlg.onInitDialog(host);
        CStenorDoc before;
        dlg.storeTo(before);
        host.answers = {change.answer};
        dlg.layerCountIndex = change.toLayers - 2;
        dlg.onLayerCountChanged(host);
        const testing::RecordedMessage question{change.question, "Change the Number of Layers",
                                                MessageIcon::Question, MessageButtons::YesNo};
        EXPECT_EQ(host.messages, change.question.empty() ? std::vector<testing::RecordedMessage>{}
                                                         : std::vector{question});
        CStenorDoc after;
        dlg.storeTo(after);
        EXPECT_EQ(after == before, !change.changed);
        EXPECT_EQ(dlg.layerCount(), change.changed ? change.toLayers : 5);
    }
}

// Going 5 -> 4 -> 3 -> 5 asks twice; the layers that come back get default thickness variability,
// while a layer that kept its thickness keeps its own.
TEST(LayerCountQuestion, LayersThatStayFiniteKeepTheirThicknessVariability) {
    CStructureDlg dlg;
    dlg.loadFrom(fiveLayers());
    FakeHost host;
    dlg.onInitDialog(host);
    for (int layers : {4, 3, 5})
        dlg.layerCountIndex = layers - 2, dlg.onLayerCountChanged(host);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(dlg.thicknessCov, (std::array<double, kThicknessCount>{0, 3, 15, 20}));
}

TEST(SeasonWeeks, RunningTotalCountsEveryDuration) {
    CStructureDlg dlg;
    dlg.seasonWeeks = {26, 8, 12, 0, 0};
    EXPECT_EQ(dlg.weeksTotalText(), "Total: 46 of 52 weeks");
    dlg.seasonWeeks = {26, 8, 12, 6, 0};
    EXPECT_EQ(dlg.weeksTotalText(), "Total: 52 of 52 weeks");
}

}  // namespace
}  // namespace ardelon
