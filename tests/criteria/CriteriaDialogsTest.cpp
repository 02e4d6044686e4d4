#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "criteria/EnduranceLimitDialog.h"
#include "criteria/LayerCriteriaDialog.h"
#include "criteria/ResponseType.h"
#include "criteria/TransferFunctionsDialog.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using Dlg = LayerCriteriaDialog;
using Control = LayerCriteriaDialog::Control;
using testing::exclamation;
using testing::FakeHost;
using testing::id;
using testing::RecordedMessage;

// Products of a limit with the two-decimal factors carry one rounding of the multiplication.
constexpr double kProductTolerance = 1e-12;

struct Opened {
    Opened(int layer, bool isLastLayer, const CriterionSlots& slots = {}, double limit = 0)
        : dlg(layer, isLastLayer, slots, limit) {
        dlg.onInitDialog(host);
    }
    // The engineer ticks or clears a position, chooses its type or its transfer function box.
    void setActive(int position, int on) {
        dlg.slot(position).active = on;
        dlg.onActiveChanged(host, position);
    }
    void setType(int position, int type) {
        dlg.slot(position).responseType = type;
        dlg.onResponseTypeChanged(host, position);
    }
    void setTransfer(int position, int on) {
        dlg.slot(position).useTransferFunction = on;
        dlg.onTransferFunctionChanged(host, position);
    }
    // A position's transfer function coefficients k1 and k2.
    std::pair<double, double> ks(int position) {
        return {dlg.slot(position).k1, dlg.slot(position).k2};
    }
    Dlg dlg;
    FakeHost host;
};

void activate(Opened& o, int position, int type) {
    o.setActive(position, 1);
    o.setType(position, type);
}

TEST(LayerCriteria, InactivePositionsShowOnlyTheirCheckBoxAndTheLastLayerOnlyTop) {
    Opened o(1, false);
    for (int p = Top; p <= Bottom; ++p) {
        EXPECT_EQ(o.host.visibleOf({Dlg::control(Control::ActiveTop, p),
                                    Dlg::control(Control::TypeTop, p),
                                    Dlg::control(Control::ThresholdTop, p),
                                    Dlg::control(Control::TargetPercentileTop, p)}),
                  "1000")
            << p;
    }
    EXPECT_EQ(o.host.visibleOf({Control::Distribution95, Control::LoadDefaultDistribution}), "00");

    // The last layer offers only its Top.
    Opened last(2, true);
    EXPECT_EQ(
        last.host.visibleOf({Control::ActiveTop, Control::ActiveMiddle, Control::ActiveBottom}),
        "100");
    last.setActive(Bottom, 1);
    EXPECT_EQ(last.dlg.slot(Bottom).active, 0);
    EXPECT_FALSE(last.host.isVisible(id(Control::Distribution95)));
    activate(last, Top, VerticalStrain);
    EXPECT_EQ(last.dlg.slot(Top).active, 1);
    EXPECT_TRUE(last.host.isVisible(id(Control::TypeTop)));
}

TEST(LayerCriteria, OpeningShowsTheSlotsTheProjectHoldsAndTypesSwapTheirControls) {
    CriterionSlots slots{};
    slots[3] = {.active = 1, .responseType = HorizontalStrain, .useTransferFunction = 1};
    slots[4] = {.active = 1, .responseType = VerticalStress};
    slots[5] = {.active = 1, .responseType = HorizontalStrainDistribution};
    Opened o(2, false, slots);
    // Top: a strain with its transfer function, whose k1 and k2 replace the percentile.
    EXPECT_EQ(o.host.visibleOf({Control::TransferTop, Control::K1Top, Control::K2Top,
                                Control::TargetPercentileTop}),
              "1110");
    EXPECT_EQ(o.dlg.unitLabel(Top), "microstrain");  // each type's unit is checked below
    // Middle: a stress with threshold, unit and percentile, and no transfer function.
    EXPECT_EQ(o.host.visibleOf({Control::ThresholdMiddle, Control::UnitMiddle,
                                Control::TargetPercentileMiddle, Control::TransferMiddle}),
              "1110");
    // Bottom: the strain distribution replaces threshold, unit, transfer box and percentile.
    EXPECT_EQ(o.host.visibleOf({Control::Distribution95, Control::Distribution55,
                                Control::LoadDefaultDistribution, Control::EnterEnduranceLimit,
                                Control::ThresholdBottom, Control::UnitBottom,
                                Control::TransferBottom, Control::TargetPercentileBottom}),
              "11110000");
    // The layer number is shown read-only.
    EXPECT_FALSE(o.host.isEnabled(id(Control::Layer)));

    // Another type at the Bottom swaps the distribution block back for the threshold.
    o.setType(Bottom, VerticalDeflection);
    EXPECT_EQ(o.host.visibleOf({Control::Distribution95, Control::ThresholdBottom}), "01");
}

TEST(LayerCriteria, StrainTypesOfferTransferFunctionsThatOnlyStrainsKeep) {
    Opened o(1, false);
    activate(o, Middle, HorizontalStrain);
    const auto transferControls = [&o] {
        return o.host.visibleOf({Control::TransferMiddle, Control::K1Middle, Control::K2Middle,
                                 Control::TargetPercentileMiddle});
    };
    EXPECT_EQ(transferControls(), "1001");

    o.setTransfer(Middle, 1);
    EXPECT_EQ(transferControls(), "1110");

    std::tie(o.dlg.slot(Middle).k1, o.dlg.slot(Middle).k2) = std::pair(0.0796, 3.291);
    o.setTransfer(Middle, 0);
    EXPECT_EQ(o.ks(Middle), std::pair(0.0, 0.0));
    EXPECT_EQ(transferControls(), "1001");

    // Switching a strain with its transfer function to a stress clears the function.
    activate(o, Top, HorizontalStrain);
    o.dlg.slot(Top).useTransferFunction = 1;
    std::tie(o.dlg.slot(Top).k1, o.dlg.slot(Top).k2) = std::pair(2.83e-06, 3.2);
    o.setType(Top, VerticalStress);
    EXPECT_EQ(std::pair(o.dlg.slot(Top).useTransferFunction, o.ks(Top)),
              std::pair(0, std::pair(0.0, 0.0)));
    EXPECT_EQ(o.host.visibleOf({Control::TransferTop, Control::K1Top}), "00");

    // Clearing a position drops its transfer function.
    activate(o, Bottom, VerticalStrain);
    o.dlg.slot(Bottom).useTransferFunction = 1;
    o.dlg.slot(Bottom).k1 = 5;
    o.setActive(Bottom, 0);
    EXPECT_EQ(std::pair(o.dlg.slot(Bottom).useTransferFunction, o.dlg.slot(Bottom).k1),
              std::pair(0, 0.0));
    EXPECT_FALSE(o.host.isVisible(id(Dlg::control(Control::TypeTop, Bottom))));
}

// A transfer function ticked anew starts from the project's K1, K2 (fatigue) or K3, K4 (rutting,
// K3 turned from microstrain to strain as a fraction); one cleared in any way and ticked again
// gets its own coefficients back, never zeros.
TEST(LayerCriteria, RetickedTransferFunctionsGetTheirCoefficientsBack) {
    struct Case {
        const char* name;
        int type;
        std::function<void(Opened&)> clearAndRetick;  // none: a new transfer function
        std::pair<double, double> expected;
    };
    const std::pair<double, double> own{0.0796, 3.291};
    const Case cases[] = {
        {"new fatigue", HorizontalStrain, {}, {1e-5, 3.5}},
        {"new rutting", VerticalStrain, {}, {5.5e15 * std::pow(1e-6, 4.0), 4.0}},
        {"Use cleared and ticked", HorizontalStrain,
         [](Opened& o) {
             o.setTransfer(Middle, 0);
             EXPECT_EQ(o.ks(Middle), std::pair(0.0, 0.0));  // written back so if accepted
             o.setTransfer(Middle, 1);
         },
         own},
        {"position cleared and ticked", VerticalStrain,
         [](Opened& o) {
             o.setActive(Middle, 0);
             o.setActive(Middle, 1);
         },
         own},
        {"type changed away and back", HorizontalStrain,
         [](Opened& o) {
             o.setType(Middle, VerticalStress);
             o.setType(Middle, HorizontalStrain);
             o.setTransfer(Middle, 1);
         },
         own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Opened o(1, false);
        o.dlg.transferCoefficient = {1e-5, 3.5, 5.5e15, 4.0};
        activate(o, Middle, c.type);
        if (c.clearAndRetick) {
            o.dlg.slot(Middle).useTransferFunction = 1;
            std::tie(o.dlg.slot(Middle).k1, o.dlg.slot(Middle).k2) = own;
            c.clearAndRetick(o);
        } else {
            o.setTransfer(Middle, 1);
        }
        EXPECT_EQ(o.dlg.slot(Middle).useTransferFunction, 1);
        EXPECT_EQ(o.ks(Middle), c.expected);
    }
}

// A metric project shows stress thresholds in kPa and deflections in mm; the slot keeps psi and
// milli-inches, exactly as held while the value shown is not changed.
TEST(LayerCriteria, MetricProjectsShowThresholdsInKpaAndMm) {
    struct Case {
        int type;
        double held, shown;
        const char* label;
        double typed, heldAfter;
    };
    const Case cases[] = {
        {VerticalStress, 10, 68.947573, "kPa", 100, 100 / 6.894757293168361},
        {VerticalDeflection, 20, 0.508, "mm", 0.25, 0.25 / 0.0254},
        {HorizontalStrain, -70, -70, "microstrain", -65, -65},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Opened o(1, false);
        o.dlg.unitSystem = Metric;
        activate(o, Top, c.type);
        o.dlg.slot(Top).threshold = c.held;
        EXPECT_EQ(o.dlg.unitLabel(Top), c.label);
        EXPECT_DOUBLE_EQ(o.dlg.shownThreshold(Top), c.shown);
        o.dlg.setShownThreshold(Top, o.dlg.shownThreshold(Top));
        EXPECT_EQ(o.dlg.slot(Top).threshold, c.held);
        o.dlg.setShownThreshold(Top, c.typed);
        EXPECT_DOUBLE_EQ(o.dlg.slot(Top).threshold, c.heldAfter);
        EXPECT_NE(o.dlg.hint(Control::ThresholdTop).text.find(c.label), std::string::npos);
    }
}

TEST(LayerCriteria, PositionOrLayerOutsideItsRangeTouchesNoOtherSlot) {
    CriterionSlots slots{};
    // Layer 1 Bottom and layer 3 Top, next to layer 2: their transfer data must survive.
    slots[2] = {.active = 0, .k1 = 5, .useTransferFunction = 1};
    slots[6] = {.active = 1, .responseType = VerticalStress, .k1 = 5, .useTransferFunction = 1};
    Opened o(2, false, slots);
    for (int position : {-1, 3}) {
        o.dlg.onActiveChanged(o.host, position);
        o.dlg.onResponseTypeChanged(o.host, position);
        o.dlg.onTransferFunctionChanged(o.host, position);
    }
    EXPECT_EQ(o.dlg.slots, slots);
    // A layer outside 1 to 5 is held to the nearest layer.
    slots[0].threshold = 1;
    slots[12].threshold = 5;
    EXPECT_EQ(Dlg(0, false, slots, 0).slot(Top).threshold, 1.0);
    EXPECT_EQ(Dlg(9, true, slots, 0).slot(Top).threshold, 5.0);
}

// The Bottom distribution comes from the test track default or from an endurance limit.
TEST(LayerCriteria, DistributionIsTheDefaultOrScaledByTheEnduranceLimitUnlessCancelled) {
    Opened o(1, false, {}, -50);
    // The endurance limit dialog opens on the limit held; the engineer types another into it and
    // accepts or cancels it.
    const auto enterLimit = [&o](double held, double limit, bool accept) {
        o.host.modalScript.push_back([=](ModalDialog& d) {
            auto& e = dynamic_cast<EnduranceLimitDialog&>(d);
            EXPECT_EQ(e.enduranceLimit, held);
            e.enduranceLimit = limit;
            return accept;
        });
        o.dlg.onEnterEnduranceLimit(o.host);
    };
    activate(o, Bottom, HorizontalStrainDistribution);
    o.dlg.onLoadDefaultDistribution(o.host);
    EXPECT_EQ(o.host.messages,
              std::vector{exclamation("You are selecting a default distribution from OMRA Test "
                                      "Track research. See full help file for more details.",
                                      "Default OMRA Test Track Distribution")});
    EXPECT_EQ(o.dlg.slot(Bottom).distribution,
              (std::array<double, 5>{-257, -194, -158, -131, -110}));
    EXPECT_EQ(o.host.lastFocus(), id(Control::Distribution95));
    EXPECT_TRUE(o.dlg.onAccept(o.host));
    EXPECT_EQ(o.host.messages.size(), 1u);

    enterLimit(-50, -100, true);
    EXPECT_EQ(o.host.modalCaptions, std::vector<std::string>{"Endurance Limit"});
    EXPECT_EQ(o.dlg.enduranceLimit, -100.0);
    const double expected[] = {-173, -131, -106, -88, -74};
    for (int i = 0; i < kDistributionLevels; ++i) {
        EXPECT_NEAR(o.dlg.slot(Bottom).distribution[i], expected[i], kProductTolerance);
    }
    EXPECT_EQ(o.host.lastMessage(),
              exclamation("You are selecting a default distribution from OMRA Test Track research "
                          "based on an endurance limit measured in the lab. See full help file "
                          "for more details.",
                          "Default OMRA Test Track Distribution"));
    EXPECT_EQ(o.host.lastFocus(), id(Control::Distribution95));
    EXPECT_TRUE(o.dlg.onAccept(o.host));

    // A positive limit gives a decreasing distribution, which passes too.
    enterLimit(-100, 70, true);
    EXPECT_NEAR(o.dlg.slot(Bottom).distribution[0], 121.1, kProductTolerance);
    EXPECT_TRUE(o.dlg.onAccept(o.host));

    // Cancelled, the endurance limit dialog changes nothing and says nothing.
    const CriterionSlots before = o.dlg.slots;
    const std::size_t messagesBefore = o.host.messages.size();
    enterLimit(70, -100, false);
    EXPECT_EQ(o.dlg.enduranceLimit, 70.0);
    EXPECT_EQ(o.dlg.slots, before);
    EXPECT_EQ(o.host.messages.size(), messagesBefore);
}

TEST(LayerCriteria, DistributionThatRisesThenFallsIsRefusedButEqualNeighboursPass) {
    Opened o(3, false);
    o.dlg.slot(Bottom).distribution = {-200, -150, -160, -120, -110};
    EXPECT_FALSE(o.dlg.onAccept(o.host));
    EXPECT_EQ(o.host.lastMessage(),
              exclamation(
                  "The cumulative strain distribution must be uniformly decreasing or increasing.",
                  "Invalid Cumulative Strain Distribution - Please Adjust"));
    EXPECT_EQ(o.host.lastFocus(), id(Control::Distribution95));
    // Equal neighbours are allowed.
    EXPECT_TRUE(isMonotonicDistribution({0, 0, 0, 0, 0}));
    EXPECT_TRUE(isMonotonicDistribution({-200, -200, -150, -150, -100}));
    EXPECT_TRUE(isMonotonicDistribution({300, 200, 200, 100, 0}));
    EXPECT_FALSE(isMonotonicDistribution({-100, -99, -100, -100, -100}));
}

TEST(LayerCriteria, EleventhActiveLocationIsRefusedAndLeftCleared) {
    CriterionSlots slots{};
    for (int s : {0, 1, 2, 3, 4, 5, 9, 10, 11})
        slots[s].active = 1;  // nine elsewhere
    Opened o(3, false, slots);
    o.setActive(Top, 1);  // the tenth is fine
    EXPECT_EQ(o.dlg.slot(Top).active, 1);
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_EQ(o.dlg.activeLocationCount(), 10);

    o.setActive(Middle, 1);  // the eleventh is not
    EXPECT_EQ(o.dlg.slot(Middle).active, 0);
    EXPECT_EQ(o.host.messages,
              std::vector{exclamation(
                  "At most 10 criterion locations can be active in one project: the analysis "
                  "evaluates five points at each active location and the layered elastic solver "
                  "takes at most 50 points. Clear another location before activating this one.",
                  "Too Many Criterion Locations")});
    EXPECT_EQ(o.host.lastFocus(), id(Control::ActiveMiddle));
    EXPECT_FALSE(o.host.isVisible(id(Control::TypeMiddle)));

    // Clearing one elsewhere makes room again.
    o.setActive(Top, 0);
    o.setActive(Middle, 1);
    EXPECT_EQ(o.dlg.slot(Middle).active, 1);
    EXPECT_EQ(o.host.messages.size(), 1u);
}

// The notes keep their established wording, misspelling and double spaces included: the help
// file and the engineers' habits quote them as they are, so a tidy-up must not slip through.
TEST(LayerCriteria, NotesKeepTheirEstablishedWording) {
    EXPECT_EQ(Dlg::kSignNote, "Note:  The following sign convetion is used...");
    EXPECT_EQ(Dlg::kTransferNote, "Note:  The transfer functions are for strain only.");
    EXPECT_EQ(Dlg::kPercentileLabels,
              (std::array<std::string_view, 5>{"95th", "85th", "75th", "65th", "55th"}));
}

TEST(LayerCriteria, HintsGiveTheUnitOfTheResponseTypeAndTheSignConvention) {
    Opened o(2, false);
    activate(o, Top, HorizontalStress);
    activate(o, Middle, VerticalDeflection);
    activate(o, Bottom, HorizontalStrainDistribution);
    const std::pair<Control, const char*> cases[] = {
        {Control::ThresholdTop, "Top threshold, psi: any number (tension negative)"},
        {Control::ThresholdMiddle, "Middle threshold, milli-inch: any number"},
        {Control::TargetPercentileBottom, "Bottom target percentile: any number"},
        {Control::Distribution85,
         "Allowable horizontal strain at the 85th percentile, microstrain: any number (tension "
         "negative)"},
        {Control::LoadDefaultDistribution, ""},
    };
    for (const auto& [control, text] : cases)
        EXPECT_EQ(o.dlg.hint(control).text, text) << id(control);
    EXPECT_EQ(EnduranceLimitDialog::hint(EnduranceLimitDialog::Control::EnduranceLimit).text,
              "Endurance limit, microstrain: any number (tension negative)");
}

// ----- response types ------------------------------------------------------------------------

// Types -1 (none) to 7: the criteria's unit label (that of the distribution type is hidden), and
// the result lists' name and unit, which the distribution type does not have.
TEST(ResponseType, UnitLabelsAndResultListNames) {
    const struct {
        std::string_view unitLabel, name, units;
    } types[] = {{"", "", ""},
                 {"psi", "Horizontal Stress", "psi"},
                 {"psi", "Vertical Stress", "psi"},
                 {"psi", "Principal Stress", "psi"},
                 {"microstrain", "Horizontal Strain", "microstrain"},
                 {"microstrain", "Vertical Strain", "microstrain"},
                 {"microstrain", "Principal Strain", "microstrain"},
                 {"milli-inch", "Vertical Deflection", "milli-in"},
                 {"milli-inch", "", ""}};
    for (int t = -1; t <= HorizontalStrainDistribution; ++t) {
        SCOPED_TRACE(t);
        const auto& row = types[t + 1];
        EXPECT_EQ(criterionUnitLabel(t), row.unitLabel);
        EXPECT_EQ(std::pair(responseName(t).name, responseName(t).units),
                  std::pair(row.name, row.units));
    }
    EXPECT_EQ(kResponseTypeNames[HorizontalStrainDistribution], "Horizontal Strain Distribution");
}

// ----- transfer functions --------------------------------------------------------------------

// Opening warns first; each reset restores only its own group.
TEST(TransferFunctions, OpeningWarnsAndEachResetRestoresOnlyItsGroup) {
    FakeHost host;
    TransferFunctionsDialog d(1, 2, 3, 4);
    d.onInitDialog(host);
    const RecordedMessage warning{
        "The transfer functions must be handled with care.\n"
        "Since they operate on a log scale, seemingly small\n"
        "changes in the coefficients can lead to large\n"
        "differences in damage and reliability calculations.\n"
        "Consult the Help file for further details.",
        "WARNING!", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(host.messages, std::vector<RecordedMessage>{warning});
    d.onResetFatigue();
    EXPECT_EQ(d.coefficient, (std::array<double, 4>{2.83e-06, 3.20596, 3, 4}));
    d = TransferFunctionsDialog(1, 2, 3, 4);
    d.onResetRutting();
    EXPECT_EQ(d.coefficient, (std::array<double, 4>{1, 2, 5500000000000000.0, 3.929}));
}

}  // namespace
}  // namespace ardelon
