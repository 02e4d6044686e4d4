#include "ExampleProjects.h"

#include <cmath>

#include "criteria/LayerCriteriaDialog.h"
#include "criteria/ResponseType.h"
#include "project/Rounding.h"
#include "structure/AcTemperature.h"
#include "structure/MaterialProperties.h"

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

// The AASHTO load equivalency factor of an axle group (SN 5, pt 3), as the Load Spectra module
// computes the ESAL factor.
double loadEquivalency(double kips, int axles) {
    const double g = std::log10((4.2 - 3.0) * 0.37037037037037035);
    auto beta = [](double l, int n) {
        return 0.4 + 0.081 * std::pow(l + n, 3.23) / (std::pow(6.0, 5.19) * std::pow(n, 3.23));
    };
    const double x = 6.1252 - 4.79 * std::log10(kips + axles) + 4.33 * std::log10(axles) +
                     g / beta(kips, axles) - g / beta(18, 1);
    return 1.0 / std::pow(10.0, x);
}

// Accepting the Load Spectra module: cumulative distributions, totals, fractions, ESAL factor.
void acceptLoading(CStenorDoc& doc) {
    const int axles[4] = {1, 2, 3, 1};
    std::array<double, 4> total{};
    for (int c = 0; c < 4; ++c) {
        if (doc.configurationEnabled[at(c)] != 1)
            continue;
        for (double v : doc.loadSpectra[at(c)])
            total[at(c)] += v;
        if (total[at(c)] <= 0)
            continue;
        double sum = 0;
        for (int k = 0; k < kBinCount; ++k) {
            sum += doc.loadSpectra[at(c)][at(k)];
            doc.loadCdf[at(c)][at(k)] = sum / total[at(c)];
        }
    }
    doc.totalAxlePercent = total[0] + total[1] + total[2] + total[3];
    double esals = 0;
    for (int c = 0; c < 4; ++c) {
        doc.axleTypeFraction[at(c)] = doc.configurationPercent[at(c)] * 0.01;
        if (doc.configurationEnabled[at(c)] != 1)
            continue;
        for (int k = 0; k < kBinCount; ++k) {
            esals += loadEquivalency(2 * k + 1, axles[c]) * doc.loadSpectra[at(c)][at(k)];
        }
    }
    doc.esalFactor = esals / doc.totalAxlePercent;
    doc.shownLoadPercent = doc.loadSpectra[at(doc.currentConfiguration)];
}

// The vehicle class mix route: axle groups per truck, configuration shares and the Single,
// Tandem and Tridem spectra mixed from the built-in class distributions.
void applyVehicleTypeMix(CStenorDoc& doc) {
    const auto& v = doc.vehicleTypeValue;
    std::array<double, 3> a{};
    for (int g = 0; g < 3; ++g) {
        double sum = 0;
        for (int k = 0; k < 10; ++k)
            sum += v[at(k)] * v[at(10 + 10 * g + k)];
        a[at(g)] = sum * 0.01;
    }
    doc.axlesPerTruck = {a[0], a[1], a[2], 0};
    const double all = a[0] + a[1] + a[2];
    for (int g = 0; g < 3; ++g) {
        doc.configurationPercent[at(g)] = roundHalfUpTwoDecimals(a[at(g)] / all * 100);
        for (int i = 0; i < kBinCount; ++i) {
            double sum = 0;
            for (int k = 0; k < 10; ++k) {
                sum +=
                    doc.spectraLibrary[at(10 * g + k)][at(i)] * v[at(k)] * v[at(10 + 10 * g + k)];
            }
            doc.loadSpectra[at(g)][at(i)] =
                a[at(g)] > 0 ? roundHalfUpTwoDecimals(sum * 0.01 / a[at(g)]) : 0.0;
        }
    }
    doc.configurationPercent[3] = 0;
    for (int c = 0; c < 4; ++c)
        doc.configurationEnabled[at(c)] = doc.configurationPercent[at(c)] > 0 ? 1 : 0;
    doc.currentConfiguration = Single;
    const double groups = (a[0] + a[1] + a[2]) * (doc.percentTrucksDesignLane * 0.01) *
                          (doc.directionalDistribution * 0.01) * (doc.percentTrucks * 0.01) *
                          doc.aadt;
    doc.axleGroupsPerDay = std::max(1, static_cast<int>(groups));
    acceptLoading(doc);
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

    doc.aadt = 30000;
    doc.percentTrucks = 25;
    doc.truckGrowthPercent = 3;
    doc.vehicleTypeRoadClass = 0;  // Rural Interstate: the default class mix
    applyVehicleTypeMix(doc);

    auto& c = doc.criteria;
    doc.enduranceLimit = -70;
    c[2].active = 1;  // bottom of layer 1
    c[2].responseType = HorizontalStrainDistribution;
    for (int n = 0; n < kDistributionLevels; ++n) {
        c[2].distribution[at(n)] =
            LayerCriteriaDialog::kEnduranceLimitFactors[at(n)] * doc.enduranceLimit;
    }
    c[5].active = 1;  // bottom of layer 2, the lower AC layer
    c[5].responseType = HorizontalStrain;
    c[5].threshold = -70;
    c[5].useTransferFunction = 1;
    c[5].k1 = doc.transferCoefficient[0];
    c[5].k2 = doc.transferCoefficient[1];
    c[9].active = 1;  // top of layer 4, the soil
    c[9].responseType = VerticalStrain;
    c[9].threshold = 200;
    c[9].targetPercentile = 95;
    c[0].active = 1;  // surface
    c[0].responseType = VerticalDeflection;
    c[0].threshold = 15;
    c[0].targetPercentile = 85;
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
    doc.axleTypeFraction = {1, 0, 0, 0};
    doc.configurationEnabled = {1, 0, 0, 0};
    doc.configurationPercent = {100, 0, 0, 0};
    for (int k = 0; k < kBinCount; ++k)
        doc.loadCdf[0][at(k)] = k < 8 ? 0.0 : (k == 8 ? 0.5 : 1.0);
    doc.loadSpectra[0][8] = doc.loadSpectra[0][9] = std::trunc(doc.expectedEsals * 0.5);
    doc.totalAxlePercent = doc.expectedEsals;
    doc.axleGroupsPerDay = 400;
    doc.truckGrowthPercent = 2;

    auto& c = doc.criteria;
    c[2].active = 1;  // bottom of the AC: fatigue
    c[2].responseType = HorizontalStrain;
    c[2].threshold = -100;
    c[2].useTransferFunction = 1;
    c[2].k1 = doc.transferCoefficient[0];
    c[2].k2 = doc.transferCoefficient[1];
    c[3].active = 1;  // top of the soil
    c[3].responseType = VerticalStrain;
    c[3].threshold = 300;
    c[3].targetPercentile = 90;
    c[0].active = 1;
    c[0].responseType = VerticalDeflection;
    c[0].threshold = 25;
    c[0].targetPercentile = 90;
    return doc;
}

}  // namespace ardelon::testing
