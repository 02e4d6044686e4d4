#include "support/ExampleProjects.h"

#include "criteria/LayerCriteriaDialog.h"
#include "criteria/ResponseType.h"
#include "project/Rounding.h"
#include "structure/AcTemperature.h"
#include "structure/MaterialProperties.h"
#include "traffic/CEsalDataDlg.h"
#include "traffic/VehicleTypes.h"

namespace ardelon::testing {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Material, Poisson's ratio, ranges and modulus variability as choosing the material sets them.
void setMaterial(CStenorDoc& doc, int layer, MaterialType material) {
    const MaterialProperties& p = materialProperties(material);
    const std::size_t i = at(layer - 1);
    doc.materialIndex[i] = materialIndexOf(layer, material);
    doc.minModulus[i] = p.minModulus;
    doc.maxModulus[i] = p.maxModulus;
    doc.poisson[i] = p.poisson;
    doc.minPoisson[i] = p.minPoisson;
    doc.maxPoisson[i] = p.maxPoisson;
    doc.modulusDistribution[i] = p.modulusDistribution;
    doc.modulusCov[i] = p.modulusCov;
    if (material != MaterialType::AC)
        doc.seasonalModulus[i] = p.seasonalModulus;
}

// AC moduli from the seasons' mean air temperatures at one third into each AC layer.
void temperatureModuli(CStenorDoc& doc) {
    const auto depth = evaluationDepths(doc.thickness);
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        if (materialOf(layer, doc.materialIndex[at(layer - 1)]) != MaterialType::AC)
            continue;
        for (int s = 0; s < kSeasonCount; ++s) {
            doc.seasonalModulus[at(layer - 1)][at(s)] = roundHalfUpWhole(
                acModulusFromTemperature(doc.meanAirTemperature[at(s)], depth[at(layer - 1)],
                                         doc.pgHighIndex[at(layer - 1)]));
        }
    }
    for (int layer = 0; layer < kLayerCount; ++layer) {
        doc.layerModulus[at(layer)] = doc.seasonalModulus[at(layer)][at(doc.currentSeason)];
    }
}

// Horizontal strain against `microstrain` with the project's fatigue transfer function.
CriterionSlot fatigueCriterion(const CStenorDoc& doc, double microstrain) {
    return {.active = 1,
            .responseType = HorizontalStrain,
            .threshold = microstrain,
            .k1 = doc.transferCoefficient[0],
            .k2 = doc.transferCoefficient[1],
            .useTransferFunction = 1};
}

}  // namespace

CStenorDoc perpetualInterstateExample() {
    CStenorDoc doc;
    doc.layerCountIndex = 2;  // four layers
    doc.thickness = {8, 6, 12, 999};
    doc.pgHighIndex = {1, 3, 2, 2};  // PG 76-22 surface, PG 64-22 rich bottom
    doc.meanAirTemperature = {80, 58, 34, 56, 70};
    setMaterial(doc, 1, MaterialType::AC);
    setMaterial(doc, 2, MaterialType::AC);
    setMaterial(doc, 3, MaterialType::GranBase);
    setMaterial(doc, 4, MaterialType::Soil);
    setMaterial(doc, 5, MaterialType::Soil);
    temperatureModuli(doc);
    doc.thicknessCov = {5, 5, 10, 0};
    // Material costs: dense-graded AC about 145 pcf (polymer-modified surface dearer than the
    // rich-bottom mix), crushed aggregate base about 135 pcf; dollars per ton in place.
    doc.density = {145, 145, 135, 0};
    doc.costPerTon = {95, 85, 30, 0};

    doc.aadt = 30000;
    doc.percentTrucks = 25;
    doc.truckGrowthPercent = 3;
    doc.vehicleTypeRoadClass = 0;  // Rural Interstate: the default class mix
    applyVehicleTypeRoute(doc);

    auto& c = doc.criteria;
    doc.enduranceLimit = -70;
    c[5].active = 1;  // bottom of layer 2: the bottom of the asphalt
    c[5].responseType = HorizontalStrainDistribution;
    for (int n = 0; n < kDistributionLevels; ++n) {
        c[5].distribution[at(n)] =
            LayerCriteriaDialog::kEnduranceLimitFactors[at(n)] * doc.enduranceLimit;
    }
    // Fatigue at the top of layer 3: the bonded interface gives it the horizontal strain of the
    // bottom of the asphalt above, whose slot holds the distribution. Then the top of layer 4
    // (the soil) and the surface.
    c[6] = fatigueCriterion(doc, -70);
    c[9] = {.active = 1, .responseType = VerticalStrain, .threshold = 200, .targetPercentile = 95};
    c[0] = {
        .active = 1, .responseType = VerticalDeflection, .threshold = 15, .targetPercentile = 85};
    return doc;
}

CStenorDoc metricInterstateExample() {
    CStenorDoc doc = perpetualInterstateExample();
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    for (double& h : doc.thickness)
        h *= 2.54;
    return doc;
}

CStenorDoc esalRouteExample() {
    CStenorDoc doc;
    doc.thickness = {8, 999, 999, 999};
    doc.meanAirTemperature = {78, 55, 30, 55, 70};
    temperatureModuli(doc);
    doc.thicknessCov = {6, 0, 0, 0};
    // The ESAL Data route: 2 million ESALs as single axles of 17 and 19 kips, half and half.
    doc.useLoadSpectra = 0;
    doc.expectedEsals = 2000000;
    applyEsalData(doc);
    doc.axleGroupsPerDay = 400;
    doc.truckGrowthPercent = 2;

    auto& c = doc.criteria;
    // Bottom of the AC (fatigue), top of the soil, surface.
    c[2] = fatigueCriterion(doc, -100);
    c[3] = {.active = 1, .responseType = VerticalStrain, .threshold = 300, .targetPercentile = 90};
    c[0] = {
        .active = 1, .responseType = VerticalDeflection, .threshold = 25, .targetPercentile = 90};
    return doc;
}

}  // namespace ardelon::testing
