#include "cli/ProjectSummary.h"

#include <cstdio>
#include <sstream>

#include "criteria/ResponseType.h"
#include "project/ShownUnits.h"

namespace ardelon::cli {
namespace {

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

const char* positionName(int position) {
    static const char* names[] = {"Top", "Middle", "Bottom"};
    return names[position];
}

}  // namespace

std::string projectSummary(const CStenorDoc& doc) {
    std::ostringstream out;
    const bool english = heldInEnglish(doc);
    const char* lengthUnit = english ? "in." : "cm";
    const int layers = doc.layerCountIndex + 2;

    out << "Units: " << (shownInEnglish(doc) ? "English" : "Metric")
        << " (structure values held in " << (english ? "English" : "metric") << " units)\n\n";

    out << "Structure: " << layers << " layers\n";
    out << "  Layer  Material     Thickness      Summer      Fall    Winter    Spring  Spring 2"
           "  Poisson  Modulus COV  Thickness COV\n";
    for (int layer = 1; layer <= layers; ++layer) {
        const auto i = static_cast<size_t>(layer - 1);
        char line[256];
        const std::string thickness = layer == layers
                                          ? std::string("Infinite")
                                          : format("%.2f ", doc.thickness[i]) + lengthUnit;
        std::snprintf(line, sizeof line, "  %5d  %-11s  %-11s", layer,
                      std::string(materialName(materialOf(layer, doc.materialIndex[i]))).c_str(),
                      thickness.c_str());
        out << line;
        for (int s = 0; s < kSeasonCount; ++s) {
            std::snprintf(line, sizeof line, " %9.0f",
                          doc.seasonalModulus[i][static_cast<size_t>(s)]);
            out << line;
        }
        const std::string thicknessCov =
            layer == layers
                ? std::string("-")
                : format("%g%%", doc.thicknessCov[i]) + " " +
                      std::string(kDistributionNames[doc.thicknessDistribution[i] == 1]);
        std::snprintf(line, sizeof line, "  %7.2f  %g%% %s  %s\n", doc.poisson[i],
                      doc.modulusCov[i],
                      std::string(kDistributionNames[doc.modulusDistribution[i] == 1]).c_str(),
                      thicknessCov.c_str());
        out << line;
    }
    out << "  (seasonal moduli in psi)\n\n";

    out << "Seasons:\n";
    for (int s = 0; s < kSeasonCount; ++s) {
        const auto i = static_cast<size_t>(s);
        if (s != Summer && !doc.seasonEnabled[i])
            continue;
        out << "  " << kSeasonNames[i] << ": " << doc.seasonWeeks[i] << " weeks, mean air "
            << format("%g", doc.meanAirTemperature[i]) << " F\n";
    }
    out << "\nTraffic:\n";
    out << "  Two-way AADT " << doc.aadt << ", trucks " << format("%g", doc.percentTrucks)
        << " %, in design lane " << format("%g", doc.percentTrucksDesignLane) << " %, directional "
        << format("%g", doc.directionalDistribution) << " %\n";
    out << "  Axle groups per day " << doc.axleGroupsPerDay << ", truck growth "
        << format("%g", doc.truckGrowthPercent) << " % per year\n";
    for (int c = 0; c < kConfigurationCount; ++c) {
        const auto i = static_cast<size_t>(c);
        if (!doc.configurationEnabled[i])
            continue;
        out << "  " << kConfigurationNames[i] << ": " << format("%g", doc.configurationPercent[i])
            << " % of axle groups\n";
    }

    out << "\nActive criteria:\n";
    int active = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CriterionSlot& c = doc.criteria[static_cast<size_t>(slot)];
        if (c.active != 1)
            continue;
        ++active;
        out << "  Layer " << slotLayer(slot) << " " << positionName(slotPosition(slot)) << ": ";
        if (c.responseType < 0 || c.responseType >= kResponseTypeCount) {
            out << "no response type chosen\n";
            continue;
        }
        out << kResponseTypeNames[c.responseType];
        if (c.responseType == HorizontalStrainDistribution) {
            out << ", limits";
            for (double d : c.distribution)
                out << " " << format("%g", d);
            out << " microstrain at the 95th to 55th percentile\n";
            continue;
        }
        out << ", threshold " << format("%g", c.threshold) << " "
            << criterionUnitLabel(c.responseType);
        if (c.useTransferFunction) {
            out << ", transfer function k1 " << format("%g", c.k1) << ", k2 " << format("%g", c.k2);
        } else {
            out << ", target percentile " << format("%g", c.targetPercentile);
        }
        out << "\n";
    }
    if (active == 0)
        out << "  none\n";
    return out.str();
}

}  // namespace ardelon::cli
