#include <gtest/gtest.h>

#include "criteria/LayerCriteriaDialog.h"
#include "project/Rounding.h"
#include "structure/AcTemperature.h"
#include "structure/CInputVariabilityDlg.h"
#include "structure/CStructureDlg.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using Dlg = CStructureDlg;
using Control = CStructureDlg::Control;
using testing::exclamation;
using testing::FakeHost;
using testing::id;
using testing::RecordedMessage;

// A layer's tabled properties: modulus range, Poisson's ratio and its range, distribution, COV.
using Props = std::tuple<double, double, double, double, double, int, double>;
Props props(const Dlg& d, int layer) {
    const size_t l = static_cast<size_t>(layer - 1);
    return {d.minModulus[l], d.maxModulus[l],          d.poisson[l],   d.minPoisson[l],
            d.maxPoisson[l], d.modulusDistribution[l], d.modulusCov[l]};
}
constexpr auto kMaterialCaption = "Improper Material Selection - Please Adjust";

// Modulus of an AC layer computed the way the dialog must: whole psi.
double acModulus(double airF, double depthIn, int pgHighIndex) {
    return roundHalfUpWhole(acModulusFromTemperature(airF, depthIn, pgHighIndex));
}

// The modulus, thickness and temperature unit labels, as the form shows them side by side.
std::string unitLabels(const Dlg& d) {
    return std::string(d.modulusUnitLabel()) + " " + std::string(d.thicknessUnitLabel()) + " " +
           std::string(d.temperatureUnitLabel());
}

constexpr int kPg70 = 2;

// The Structure module opened on a project, as the Structure command does.
struct Opened {
    explicit Opened(const CStenorDoc& doc = CStenorDoc()) : doc(doc) {
        dlg.loadFrom(doc);
        dlg.onInitDialog(host);
    }
    // The engineer types a value into a layer's edit and leaves it.
    void thickness(int layer, double inches) {
        dlg.thickness[static_cast<size_t>(layer - 1)] = inches;
        dlg.onThicknessChanged(host, layer);
    }
    void modulus(int layer, double value) {
        dlg.layerModulus[static_cast<size_t>(layer - 1)] = value;
        dlg.onModulusChanged(host, layer);
    }
    CStenorDoc doc;
    Dlg dlg;
    FakeHost host;
};

void setLayerCount(Opened& o, int layers) {
    o.dlg.layerCountIndex = layers - 2;
    o.dlg.onLayerCountChanged(o.host);
}

void chooseMaterial(Opened& o, int layer, MaterialType material) {
    o.dlg.materialIndex[static_cast<size_t>(layer - 1)] = materialIndexOf(layer, material);
    o.dlg.onMaterialChanged(o.host, layer);
}

// ----- opening ------------------------------------------------------------------------------

TEST(StructureOpening, NewProjectShowsTenInchesOfAcOverSoil) {
    Opened o;
    EXPECT_EQ(o.dlg.layerModulus, (std::array<double, 5>{522958, 12000, 12000, 12000, 12000}));
    EXPECT_EQ(unitLabels(o.dlg), "(psi) (in) F");
    // PG lists only for the asphalt surface; the semi-infinite soil has none.
    EXPECT_EQ(o.host.visibleOf({Control::PgHigh1, Control::PgLow1, Control::PgHigh2}), "110");
    // Two layers: only layer 1 has a thickness to edit; layers 3 to 5 are not in use; Spring 2
    // is off, so its edits are disabled.
    EXPECT_EQ(o.host.enabledOf({Control::Thickness1, Control::Thickness2, Control::Material2,
                                Control::Material3, Control::Criteria5, Control::DurationFall,
                                Control::DurationSpring2, Control::TemperatureSpring2}),
              "10100100");
    EXPECT_TRUE(o.host.messages.empty());
    // The asphalt surface temperature mirrors the current season: Fall 50 F, Winter 32 F.
    CStenorDoc doc;
    doc.currentSeason = Fall;
    EXPECT_EQ(Opened(doc).dlg.acSurfaceTemperature, 50.0);
    doc.currentSeason = Winter;
    doc.unitSystem = Metric;
    EXPECT_EQ(Opened(doc).dlg.acSurfaceTemperature, 0.0);
}

TEST(StructureOpening, AcceptingUnchangedReturnsTheProjectAsItWas) {
    CStenorDoc doc;
    doc.slipValue = {0.0, 1.0, 0.5, 1.0};
    doc.interfaceBond = {0, 1, 0, 1};
    doc.fatigueLayer = 3;
    doc.acTempCoefficient = {1, 2, 3};
    doc.criteria[4].damagePerMillion = 17.5;
    Opened o(doc);
    ASSERT_TRUE(o.dlg.onOk(o.host));
    CStenorDoc after = doc;
    o.dlg.storeTo(after);
    EXPECT_EQ(after, doc);
}

TEST(StructureOpening, MetricProjectConvertsDisplayValuesAndBackWithoutDriftAndEditsInPsi) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.thickness = {3.33, 7.5, 999, 999};
    doc.materialIndex[1] = 6;  // granular base
    doc.unitSystem = Metric;
    Opened metric(doc);
    EXPECT_EQ(unitLabels(metric.dlg), "(MPa) (cm) C");
    EXPECT_EQ(std::tuple(metric.dlg.minModulus[0], metric.dlg.maxModulus[0],
                         metric.dlg.layerModulus[0], metric.dlg.layerModulus[1]),
              std::tuple(344.738, 27579.04, 3605.67, 82.737));
    EXPECT_EQ(metric.dlg.thickness, (std::array<double, 4>{8.46, 19.05, 2537.46, 2537.46}));
    EXPECT_DOUBLE_EQ(metric.dlg.acSurfaceTemperature, 29.444444444444446);  // 85 F
    // Seasonal moduli stay in psi.
    EXPECT_EQ(metric.dlg.seasonalModulus[0][Summer], 522958.0);

    CStenorDoc stored = doc;
    metric.dlg.storeTo(stored);
    stored.unitSystem = English;
    Opened english(stored);
    EXPECT_EQ(english.dlg.valuesInEnglish, 1);
    EXPECT_EQ(std::tie(english.dlg.minModulus, english.dlg.maxModulus, english.dlg.thickness,
                       english.dlg.layerModulus),
              std::tie(doc.minModulus, doc.maxModulus, doc.thickness, doc.layerModulus));
    EXPECT_EQ(english.dlg.acSurfaceTemperature, 85.0);

    // A modulus typed in MPa is stored as whole psi and shown again in MPa.
    metric.modulus(2, 82.737);
    EXPECT_EQ(metric.dlg.seasonalModulus[1][Summer], 12000.0);
    EXPECT_EQ(metric.dlg.layerModulus[1], 82.737);
    // 25.4 cm of asphalt is the 10 in. layer: the same modulus.
    metric.thickness(1, 25.4);
    EXPECT_EQ(metric.dlg.seasonalModulus[0][Summer], 522958.0);
    // 2537.46 cm is the longest thickness in metric units; just beyond it is refused.
    metric.thickness(1, 2537.47);
    EXPECT_EQ(
        metric.host.lastMessage(),
        exclamation("Please enter a height between 2.54 cm and 2530 cm", "Height Out of Range"));
}

// Texts whose odd forms are established: the check box says "Spring2" where the list says
// "Spring 2" (the metric height message, naming 2530 cm although 2537.46 cm is accepted, is
// checked where it is shown).
TEST(StructureOpening, LabelsKeepTheirEstablishedForms) {
    EXPECT_EQ(Dlg::kSeasonCheckLabels[Spring2], "Spring2");
    EXPECT_EQ(kSeasonNames[Spring2], "Spring 2");
    EXPECT_EQ(Dlg::kCaption, "Structural and Seasonal Information   (F1 for Help)");
}

// ----- thickness, modulus, Poisson's ratio ---------------------------------------------------

TEST(StructureThickness, LimitsPassSilentlyAndAnOutOfRangeValueIsKeptRoundedAndUsed) {
    Opened o;
    for (double h : {1.0, 999.0})
        o.thickness(1, h);
    EXPECT_TRUE(o.host.messages.empty());

    o.thickness(1, 999.014);
    EXPECT_EQ(o.host.messages,
              std::vector<RecordedMessage>{exclamation(
                  "Please enter a height between 1.0 in. and 999.0 in.", "Height Out of Range")});
    EXPECT_EQ(o.host.lastFocus(), id(Control::Thickness1));
    EXPECT_EQ(o.dlg.thickness[0], 999.01);
    EXPECT_EQ(o.dlg.seasonalModulus[0][Summer], acModulus(70, 999.01 / 3, kPg70));

    o.thickness(1, 0.99);
    EXPECT_EQ(o.host.messages.size(), 2u);
    EXPECT_EQ(o.dlg.thickness[0], 0.99);

    // A negative thickness is kept too, but the asphalt modulus stays a number.
    o.thickness(1, -12);
    EXPECT_EQ(o.host.messages.size(), 3u);
    EXPECT_EQ(o.dlg.thickness[0], -12.0);
    EXPECT_EQ(o.dlg.seasonalModulus[0][Summer], acModulus(70, 0.0, kPg70));
}

TEST(StructureThickness, ThickerSurfaceStiffensTheAsphaltBelowInEverySeasonInUse) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.materialIndex = {0, 0, 7, 7, 1};  // AC over AC over soil
    doc.thickness = {4, 6, 999, 999};
    doc.meanAirTemperature = {85, 60, 30, 55, 65};
    Opened o(doc);
    o.thickness(1, 6.0);
    for (int s : {Summer, Fall, Winter, Spring}) {
        EXPECT_EQ(o.dlg.seasonalModulus[0][s], acModulus(doc.meanAirTemperature[s], 2.0, kPg70));
        EXPECT_EQ(o.dlg.seasonalModulus[1][s], acModulus(doc.meanAirTemperature[s], 8.0, kPg70));
    }
    // Spring 2 is not in use: left as it was.
    EXPECT_EQ(o.dlg.seasonalModulus[1][Spring2], doc.seasonalModulus[1][Spring2]);
    EXPECT_EQ(o.dlg.layerModulus[1], o.dlg.seasonalModulus[1][Summer]);
}

TEST(StructureModulus, RangeLimitsAreAcceptedAndTheBottomCopiesDownwards) {
    Opened o;
    o.dlg.currentSeason = Winter;
    o.dlg.onCurrentSeasonChanged(o.host);
    for (double value : {3000.0, 40000.0, 20000.4})
        o.modulus(2, value);
    EXPECT_TRUE(o.host.messages.empty());
    for (size_t l = 1; l < 5; ++l) {
        SCOPED_TRACE(l);
        EXPECT_EQ(std::tuple(o.dlg.seasonalModulus[l][Winter], o.dlg.layerModulus[l],
                             o.dlg.seasonalModulus[l][Summer]),
                  std::tuple(20000.0, 20000.0, 12000.0));
    }

    o.modulus(2, 2999.0);
    EXPECT_EQ(o.host.lastMessage(),
              exclamation("Please enter a modulus in range.", "Modulus Out of Range"));
    EXPECT_EQ(o.host.lastFocus(), id(Control::Modulus2));
    EXPECT_EQ(o.dlg.seasonalModulus[2][Winter], 20000.0);
    // The refused value does not reach the project on accept.
    ASSERT_TRUE(o.dlg.onOk(o.host));
    CStenorDoc accepted;
    o.dlg.storeTo(accepted);
    EXPECT_EQ(std::tie(accepted.layerModulus[1], accepted.seasonalModulus[1][Winter]),
              std::tuple(20000.0, 20000.0));

    // Above the bottom only the layer changes.
    setLayerCount(o, 3);
    o.modulus(2, 30000);
    EXPECT_EQ(o.dlg.seasonalModulus[1][Winter], 30000.0);
    EXPECT_EQ(o.dlg.seasonalModulus[2][Winter], 20000.0);
}

// An accepted ratio is rounded and copied below the bottom; a refused one is kept (rounded for
// the surface only) and copied nowhere.
TEST(StructurePoisson, RangeMessageRoundingAndCopyFromTheBottom) {
    struct Case {
        int layer;
        double typed;
        bool refused;
        std::array<double, 5> after;
    };
    const Case cases[] = {
        {2, 0.456, false, {0.35, 0.46, 0.46, 0.46, 0.46}},
        {2, 0.55, true, {0.35, 0.55, 0.45, 0.45, 0.45}},
        {1, 0.456, true, {0.46, 0.45, 0.45, 0.45, 0.45}},   // AC allows 0.15 to 0.4
        {2, 0.555, true, {0.35, 0.555, 0.45, 0.45, 0.45}},  // soil allows 0.2 to 0.5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Opened o;
        o.dlg.poisson[static_cast<size_t>(c.layer - 1)] = c.typed;
        o.dlg.onPoissonChanged(o.host, c.layer);
        EXPECT_EQ(o.dlg.poisson, c.after);
        EXPECT_EQ(o.host.messages,
                  testing::refusalOrNone(c.refused ? "Please enter a ratio in range." : "",
                                         "Poisson's Ratio Out of Range"));
        if (c.refused) {
            EXPECT_EQ(o.host.lastFocus(), id(Dlg::poissonEdit(c.layer)));
        }
    }
}

// ----- materials ----------------------------------------------------------------------------

TEST(StructureMaterial, SoilForTheBottomOfTwoLayersCopiesToLayersThreeToFive) {
    CStenorDoc doc;
    doc.materialIndex = {0, 8, 8, 8, 2};  // AC over rock
    Opened o(doc);
    chooseMaterial(o, 2, MaterialType::Soil);
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_EQ(o.dlg.materialIndex, (std::array<int, 5>{0, 7, 7, 7, 1}));
    for (int layer = 2; layer <= 5; ++layer) {
        SCOPED_TRACE(layer);
        const size_t l = static_cast<size_t>(layer - 1);
        EXPECT_EQ(o.dlg.seasonalModulus[l],
                  (std::array<double, 5>{12000, 15000, 24000, 15000, 12000 * 1.1}));
        EXPECT_EQ(o.dlg.layerModulus[l], 12000.0);
        EXPECT_EQ(props(o.dlg, layer), (Props{3000, 40000, 0.45, 0.2, 0.5, LogNormal, 50}));
    }
}

// A bound material cannot be the bottom layer: each of the eighteen refusals names the material
// and the position, and leaves the layers as they were.
TEST(StructureMaterial, BoundMaterialRefusedAsTheBottomLayerWithItsOwnMessage) {
    const std::pair<MaterialType, std::string_view> names[] = {
        {MaterialType::AC, "AC"},
        {MaterialType::CrackedAC, "Cracked AC"},
        {MaterialType::PCC, "PCC"},
        {MaterialType::RubbPCC, "Rubblized PCC"},
        {MaterialType::CandSPCC, "Crack and Seat PCC"},
        {MaterialType::BandSPCC, "Break and Seat PCC"}};
    const std::string_view positions[] = {
        " is not acceptable as 2nd layer in a two layer pavement.",
        " is not acceptable as 3rd layer in a three layer pavement.",
        " is not acceptable as 4th layer in a four layer pavement."};
    for (int layers = 2; layers <= 4; ++layers) {
        for (const auto& [material, name] : names) {
            CStenorDoc doc;
            doc.layerCountIndex = layers - 2;
            Opened o(doc);
            const CStructureDlg before = o.dlg;
            chooseMaterial(o, layers, material);
            EXPECT_EQ(o.host.messages, std::vector{exclamation(
                                           std::string(name) + std::string(positions[layers - 2]),
                                           kMaterialCaption)});
            EXPECT_EQ(o.host.lastFocus(), id(Dlg::materialList(layers)));
            // The selection stays for the engineer to adjust; nothing else of the layers changes.
            const size_t l = static_cast<size_t>(layers - 1);
            EXPECT_EQ(o.dlg.materialIndex[l], materialIndexOf(layers, material));
            EXPECT_EQ(o.dlg.materialIndex[l + 1], before.materialIndex[l + 1]);
            EXPECT_EQ(std::tie(o.dlg.minModulus, o.dlg.seasonalModulus, o.dlg.modulusCov),
                      std::tie(before.minModulus, before.seasonalModulus, before.modulusCov));
            EXPECT_FALSE(o.host.isVisible(id(Dlg::pgHighList(layers))));
        }
    }
}

TEST(StructureMaterial, EveryMaterialSetsItsTabledProperties) {
    struct Row {
        MaterialType material;
        std::array<double, 5> seasonal;  // Summer to Spring 2, psi
        Props props;
    };
    // clang-format off
    const Row rows[] = {
        {MaterialType::CrackedAC, {80000, 80000, 80000, 80000, 80000}, {50000, 500000, 0.35, 0.15, 0.4, LogNormal, 60}},
        {MaterialType::PCC, {4e6, 4e6, 4e6, 4e6, 4e6}, {2000000, 7000000, 0.18, 0.14, 0.25, LogNormal, 15}},
        {MaterialType::RubbPCC, {5e5, 5e5, 5e5, 5e5, 5e5}, {40000, 700000, 0.2, 0.14, 0.25, LogNormal, 25}},
        {MaterialType::CandSPCC, {5e5, 5e5, 5e5, 5e5, 5e5}, {200000, 800000, 0.2, 0.14, 0.25, LogNormal, 25}},
        {MaterialType::BandSPCC, {5e5, 5e5, 5e5, 5e5, 5e5}, {300000, 700000, 0.2, 0.14, 0.25, LogNormal, 25}},
        {MaterialType::GranBase, {20000, 26000, 40000, 10000, 16000}, {5000, 50000, 0.4, 0.35, 0.45, LogNormal, 40}},
        {MaterialType::Soil, {12000, 15000, 24000, 15000, 12000 * 1.1}, {3000, 40000, 0.45, 0.2, 0.5, LogNormal, 50}},
        {MaterialType::Rock, {1e6, 1e6, 1e6, 1e6, 1e6}, {500000, 4000000, 0.15, 0.1, 0.25, LogNormal, 0}},
        {MaterialType::Other, {1e6, 1e6, 1e6, 1e6, 1e6}, {50, 10000000, 0.35, 0.1, 0.5, Normal, 0}},
    };
    // clang-format on
    CStenorDoc doc;
    doc.layerCountIndex = 1;  // layer 2 lies above the bottom and may be any material
    Opened o(doc);
    for (const Row& r : rows) {
        SCOPED_TRACE(materialName(r.material));
        chooseMaterial(o, 2, r.material);
        EXPECT_EQ(o.dlg.seasonalModulus[1], r.seasonal);
        EXPECT_EQ(o.dlg.layerModulus[1], r.seasonal[Summer]);
        EXPECT_EQ(props(o.dlg, 2), r.props);
        EXPECT_FALSE(o.host.isVisible(id(Control::PgHigh2)));
    }
    // Asphalt: its own ranges and variability; its moduli follow the temperature at 10 + 999/3 in.
    chooseMaterial(o, 2, MaterialType::AC);
    EXPECT_EQ(props(o.dlg, 2), (Props{50000, 4000000, 0.35, 0.15, 0.4, LogNormal, 30}));
    EXPECT_EQ(o.dlg.seasonalModulus[1][Winter], acModulus(70, 10 + 999.0 / 3, kPg70));
    EXPECT_EQ(o.host.visibleOf({Control::PgHigh2, Control::PgLow2}), "11");
    // Layer 2 is not the bottom: the soil below kept its own properties throughout.
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_EQ(o.dlg.materialIndex[2], 7);
    EXPECT_EQ(o.dlg.seasonalModulus[2][Summer], 12000.0);

    // The surface list offers AC and Other: position 1 is Other, not Cracked AC.
    o.dlg.materialIndex[0] = 1;
    o.dlg.onMaterialChanged(o.host, 1);
    EXPECT_EQ(o.dlg.modulusDistribution[0], Normal);
    EXPECT_EQ(o.dlg.minModulus[0], 50.0);
    EXPECT_FALSE(o.host.isVisible(id(Control::PgHigh1)));
}

TEST(StructureMaterial, AcFollowsTheTemperatureOnlyWhileCorrectionIsOn) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.thickness = {4, 6, 999, 999};
    doc.seasonalModulus[0] = {300000, 300000, 300000, 300000, 300000};
    Opened o(doc);
    chooseMaterial(o, 2, MaterialType::GranBase);
    o.dlg.temperatureCorrection = 0;
    o.dlg.onTemperatureCorrectionChanged(o.host);
    chooseMaterial(o, 2, MaterialType::AC);
    EXPECT_EQ(o.dlg.seasonalModulus[1][Summer], 20000.0);
    EXPECT_EQ(o.dlg.seasonalModulus[1][Winter], 40000.0);
    EXPECT_TRUE(o.host.isVisible(id(Control::PgHigh2)));

    o.dlg.temperatureCorrection = 1;
    o.dlg.onTemperatureCorrectionChanged(o.host);
    // Layer 2 is evaluated 4 + 6/3 = 6 in. down.
    EXPECT_EQ(o.dlg.seasonalModulus[1][Summer], acModulus(70, 6.0, kPg70));
    EXPECT_EQ(o.dlg.layerModulus[1], acModulus(70, 6.0, kPg70));
    EXPECT_EQ(o.dlg.seasonalModulus[1][Spring2], 16000.0);  // Spring 2 is off
    // The surface too gets the temperature modulus in every season in use, at 4/3 in.
    const double surface = acModulus(70, 4.0 / 3, kPg70);
    EXPECT_EQ(o.dlg.seasonalModulus[0],
              (std::array<double, 5>{surface, surface, surface, surface, 300000}));
}

// ----- layer count --------------------------------------------------------------------------

TEST(StructureLayerCount, TwoToFourLayersSetsThicknessCovsAndTheSemiInfiniteBottom) {
    Opened o;
    setLayerCount(o, 4);
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_EQ(o.dlg.thicknessCov[1], 8.0);
    EXPECT_EQ(o.dlg.thicknessCov[2], 15.0);
    EXPECT_EQ(o.dlg.thickness[3], 999.0);
    EXPECT_EQ(o.host.enabledOf({Control::Thickness3, Control::Thickness4, Control::Material4,
                                Control::Material5, Control::Variability5}),
              "10100");

    setLayerCount(o, 5);
    EXPECT_EQ(o.dlg.thicknessCov, (std::array<double, 4>{5, 8, 15, 20}));
    EXPECT_TRUE(o.host.isEnabled(id(Control::Criteria5)));
}

// A bound bottom is reported, naming its position, but the count still changes and nothing is
// copied below it.
TEST(StructureLayerCount, BoundBottomIsReportedButTheCountStillChanges) {
    const std::string_view texts[] = {"Unacceptable 2nd layer material in two layer pavement.",
                                      "Unacceptable 3rd layer material in three layer pavement.",
                                      "Unacceptable 4th layer material in four layer pavement."};
    for (int layers = 2; layers <= 4; ++layers) {
        CStenorDoc doc;
        doc.layerCountIndex = 3;
        doc.materialIndex = {0, 2, 2, 2, 1};  // AC over three PCC layers over soil
        doc.slipValue = {0, 0, 0, 0};
        Opened o(doc);
        setLayerCount(o, layers);
        EXPECT_EQ(o.host.messages, std::vector{exclamation(texts[layers - 2], kMaterialCaption)});
        EXPECT_EQ(o.host.lastFocus(), id(CStructureDlg::materialList(layers)));
        EXPECT_EQ(o.dlg.layerCountIndex, layers - 2);
        EXPECT_EQ(o.dlg.thickness[static_cast<size_t>(layers - 1)], 999.0);
        EXPECT_EQ(o.dlg.materialIndex, doc.materialIndex);
        EXPECT_EQ(o.dlg.slipValue, doc.slipValue);
    }
}

TEST(StructureLayerCount, UnboundBottomCopiesDownAndBondsTheInterfacesBelow) {
    CStenorDoc doc;
    doc.layerCountIndex = 2;
    doc.materialIndex = {0, 6, 3, 7, 1};  // AC, granular base, rubblized PCC, soil
    doc.thickness = {4, 8, 6, 999};
    doc.slipValue = {0, 0, 0, 0};
    doc.interfaceBond = {0, 0, 0, 0};
    Opened o(doc);
    setLayerCount(o, 2);                    // granular base becomes the bottom
    EXPECT_EQ(o.host.messages.size(), 1u);  // the question only
    EXPECT_EQ(o.dlg.materialIndex, (std::array<int, 5>{0, 6, 6, 6, 0}));
    EXPECT_EQ(o.dlg.seasonalModulus[4], o.dlg.seasonalModulus[1]);
    EXPECT_EQ(o.dlg.minModulus[4], o.dlg.minModulus[1]);
    // Only the interfaces below the bottom layer become bonded.
    EXPECT_EQ(o.dlg.slipValue, (std::array<double, 4>{0, 1, 1, 1}));
    EXPECT_EQ(o.dlg.interfaceBond, (std::array<int, 4>{0, 1, 1, 1}));
    // The variability is not copied by the layer count.
    EXPECT_EQ(o.dlg.modulusCov[4], 50.0);
}

TEST(StructureLayerCount, CriteriaBelowTheBottomAreCleared) {
    CStenorDoc doc;
    doc.layerCountIndex = 3;
    for (auto& slot : doc.criteria) {
        slot.active = 1;
        slot.responseType = 4;
        slot.threshold = 200;
    }
    Opened o(doc);
    setLayerCount(o, 3);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool kept = slot < 7;  // layers 1, 2 and the Top of layer 3
        const CriterionSlot& c = o.dlg.criteria[static_cast<size_t>(slot)];
        EXPECT_EQ(std::tuple(c.active, c.responseType, c.threshold),
                  kept ? std::tuple(1, 4, 200.0) : std::tuple(0, -1, 0.0))
            << "slot " << slot;
    }
}

// ----- seasons ------------------------------------------------------------------------------

TEST(StructureSeasons, DurationsMustBeNonNegativeAndAddToFiftyTwoWeeksCountingEverySeason) {
    const struct {
        std::array<int, 5> weeks;
        std::string_view text;
        Control focus;
    } cases[] = {
        // Spring 2 is off, but its week still counts.
        {{26, 8, 12, 6, 1},
         "Seasonal durations do not add to 52 weeks/year",
         Control::DurationSummer},
        {{30, -4, 14, 12, 0}, "Seasonal durations cannot be negative", Control::DurationFall},
    };
    for (const auto& c : cases) {
        Opened o;
        o.dlg.seasonWeeks = c.weeks;
        EXPECT_FALSE(o.dlg.onOk(o.host));
        EXPECT_EQ(o.host.messages,
                  std::vector{exclamation(c.text, "Invalid Seasonal Durations - Please Adjust")});
        EXPECT_EQ(o.host.lastFocus(), id(c.focus));
    }
}

TEST(StructureSeasons, TurningASeasonOffZeroesItAndOnMakesItCurrentWithFreshModuli) {
    Opened o;
    o.dlg.seasonEnabled[Winter] = 0;
    o.dlg.onSeasonCheckChanged(o.host, Winter);
    EXPECT_EQ(o.dlg.seasonWeeks[Winter], 0);
    EXPECT_EQ(o.dlg.currentSeason, Summer);
    EXPECT_EQ(o.host.enabledOf({Control::DurationWinter, Control::TemperatureWinter}), "00");

    o.dlg.onSeasonEditFocused(o.host, Fall);  // the current season shows its moduli
    EXPECT_EQ(o.dlg.layerModulus[1], 15000.0);
    EXPECT_TRUE(o.host.messages.empty());

    // Spring 2 is off while the surface grows to 12 in.; turning it on must not show the
    // modulus of the old 10 in. layer.
    o.thickness(1, 12);
    o.dlg.seasonEnabled[Spring2] = 1;
    o.dlg.onSeasonCheckChanged(o.host, Spring2);
    EXPECT_EQ(o.dlg.currentSeason, Spring2);
    EXPECT_TRUE(o.host.isEnabled(id(Control::DurationSpring2)));
    EXPECT_EQ(o.host.lastFocus(), id(Control::DurationSpring2));
    EXPECT_EQ(o.dlg.layerModulus[1], 13200.0);
    EXPECT_EQ(o.dlg.seasonalModulus[0][Spring2], acModulus(70, 4.0, kPg70));
    EXPECT_EQ(o.dlg.layerModulus[0], acModulus(70, 4.0, kPg70));
}

TEST(StructureSeasons, ChoosingASeasonNotInUseFallsBackToSummer) {
    CStenorDoc doc;
    doc.seasonEnabled = {1, 0, 0, 0, 0};
    Opened o(doc);
    const std::pair<int, std::string_view> cases[] = {
        {Fall, "Fall Season has not been selected."},
        {Winter, "Winter Season has not been selected."},
        {Spring, "Spring Season has not been selected"},
        {Spring2, "2nd Spring Season has not been selected"}};
    for (const auto& [season, text] : cases) {
        o.dlg.currentSeason = season;
        o.dlg.onCurrentSeasonChanged(o.host);
        EXPECT_EQ(o.host.lastMessage(), exclamation(text, "Season Error"));
        EXPECT_EQ(o.dlg.currentSeason, Summer);
    }
    o.dlg.onSeasonEditFocused(o.host, Winter);
    EXPECT_EQ(o.dlg.currentSeason, Summer);
    EXPECT_EQ(o.host.messages.size(), 5u);
}

// Which grades share a curve is checked with the curves; here the chosen grade reaches them.
TEST(StructureSeasons, GradeAndColdAirGiveTheAsphaltItsModulusOnlyInThatSeason) {
    Opened o;
    o.dlg.pgHighIndex[0] = 3;  // PG 64
    o.dlg.onPgHighChanged(o.host, 1);
    const double summer = acModulus(70, 10.0 / 3, 3);
    EXPECT_EQ(std::pair(o.dlg.seasonalModulus[0][Summer], o.dlg.layerModulus[0]),
              std::pair(summer, summer));
    o.dlg.meanAirTemperature[Fall] = 40;
    o.dlg.onMeanAirTemperatureChanged(o.host, Fall);
    EXPECT_EQ(o.dlg.currentSeason, Fall);
    EXPECT_EQ(o.dlg.seasonalModulus[0][Fall], acModulus(40, 10.0 / 3, 3));
    EXPECT_EQ(o.dlg.seasonalModulus[0][Summer], summer);
    EXPECT_EQ(o.dlg.layerModulus[0], o.dlg.seasonalModulus[0][Fall]);
    EXPECT_EQ(o.dlg.layerModulus[1], 15000.0);
}

// ----- nested dialogs -----------------------------------------------------------------------

TEST(StructureNested, VariabilityOfTheBottomOfThreeLayersHasNoThicknessCov) {
    CStenorDoc doc;
    doc.layerCountIndex = 1;
    doc.thicknessCov = {5, 8, 15, 0};
    Opened o(doc);
    FakeHost inner;
    o.host.modalScript.push_back([&inner](ModalDialog& d) {
        auto& v = dynamic_cast<CInputVariabilityDlg&>(d);
        EXPECT_EQ(std::tie(v.layer, v.layerCountIndex, v.materialType),
                  std::tuple(3, 1, static_cast<int>(MaterialType::Soil)));
        v.onInitDialog(inner);
        v.modulusCov = 1000;
        v.modulusDistribution = Normal;
        return true;
    });
    o.dlg.onVariability(o.host, 3);
    EXPECT_EQ(o.host.modalCaptions, std::vector<std::string>{"Input Variability"});
    EXPECT_EQ(o.dlg.thicknessCov[2], 0.0);
    EXPECT_EQ(o.dlg.modulusCov[2], 1000.0);
    EXPECT_EQ(o.dlg.modulusDistribution[2], Normal);
}

TEST(StructureNested, VariabilityOfLayerFiveCarriesNoThicknessAndCancelChangesNothing) {
    CStenorDoc doc;
    doc.layerCountIndex = 3;
    doc.materialIndex[4] = 2;  // rock in the layer 5 list
    doc.thicknessCov = {5, 8, 15, 20};
    Opened o(doc);
    o.host.modalScript.push_back([](ModalDialog& d) {
        auto& v = dynamic_cast<CInputVariabilityDlg&>(d);
        EXPECT_EQ(v.materialType, static_cast<int>(MaterialType::Rock));
        EXPECT_EQ(v.layer, 5);
        EXPECT_EQ(v.thicknessDistribution, CInputVariabilityDlg::kNoSelection);
        EXPECT_EQ(v.thicknessCov, 0.0);
        v.modulusCov = 12;
        v.thicknessDistribution = LogNormal;
        v.thicknessCov = 9;
        return true;
    });
    o.dlg.onVariability(o.host, 5);
    EXPECT_EQ(o.dlg.modulusCov[4], 12.0);
    EXPECT_EQ(o.dlg.thicknessCov, doc.thicknessCov);
    EXPECT_EQ(o.dlg.thicknessDistribution, doc.thicknessDistribution);

    // Cancelled, the dialog changes nothing.
    o.host.modalScript.push_back([](ModalDialog& d) {
        dynamic_cast<CInputVariabilityDlg&>(d).modulusCov = 7;
        return false;
    });
    o.dlg.onVariability(o.host, 1);
    EXPECT_EQ(o.dlg.modulusCov[0], 30.0);
}

TEST(StructureNested, CriteriaComeBackOnlyWhenAccepted) {
    Opened o;
    auto activateTop = [](bool accept) {
        return [accept](ModalDialog& d) {
            auto& c = dynamic_cast<LayerCriteriaDialog&>(d);
            EXPECT_EQ(c.layer, 2);
            EXPECT_TRUE(c.isLastLayer);
            c.slot(Top).active = 1;
            c.slot(Top).responseType = 4;
            c.enduranceLimit = -70;
            return accept;
        };
    };
    o.host.modalScript.push_back(activateTop(false));
    o.dlg.onCriteria(o.host, 2);
    EXPECT_EQ(o.dlg.criteria[3].active, 0);
    EXPECT_EQ(o.dlg.enduranceLimit, 0.0);

    o.host.modalScript.push_back(activateTop(true));
    o.dlg.onCriteria(o.host, 2);
    EXPECT_EQ(o.host.modalCaptions.back(), "Layer Performance Criteria (Press F1 for Help)");
    EXPECT_EQ(o.dlg.criteria[3].active, 1);
    EXPECT_EQ(o.dlg.criteria[3].responseType, 4);
    EXPECT_EQ(o.dlg.enduranceLimit, -70.0);
}

// ----- hints ----------------------------------------------------------------------------------

TEST(StructureHints, NameTheUnitOfTheProjectAndTheRangeTheChecksHold) {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    const Opened english, metric(doc);
    const std::tuple<const Dlg*, Control, const char*> cases[] = {
        {&english.dlg, Control::Modulus1, "Layer 1 modulus, psi: 50000 to 4000000"},
        {&metric.dlg, Control::Modulus1, "Layer 1 modulus, MPa: 344.738 to 27579.04"},
        {&english.dlg, Control::Poisson2, "Layer 2 Poisson's ratio: 0.2 to 0.5"},
        {&english.dlg, Control::Thickness1, "Layer 1 thickness, in.: 1 to 999"},
        {&metric.dlg, Control::Thickness4, "Layer 4 thickness, cm: 2.54 to 2537.46"},
        {&metric.dlg, Control::DurationWinter,
         "Winter duration, weeks: 0 to 52 (the durations total 52)"},
        {&metric.dlg, Control::TemperatureSpring2,
         "Spring 2 mean air temperature, \u00b0F: any number"},
        {&english.dlg, Control::Variability1, ""},
    };
    for (const auto& [dlg, control, text] : cases)
        EXPECT_EQ(dlg->hint(control).text, text) << id(control);
    EXPECT_EQ(CInputVariabilityDlg::hint(CInputVariabilityDlg::Control::ThicknessCov).text,
              "Thickness coefficient of variation, %: 0 to 1000");
}

}  // namespace
}  // namespace ardelon
