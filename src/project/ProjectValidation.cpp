#include "project/ProjectValidation.h"

#include <algorithm>

namespace ardelon {
namespace {

constexpr std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

constexpr int kWeeksPerYear = 52;

std::string indexed(const char* name, int index) {
    return std::string(name) + "[" + std::to_string(index) + "]";
}

std::string refuse(const std::string& field, const std::string& problem) {
    return "field \"" + field + "\": " + problem;
}

// A flag of the file must be 0 or 1; anything else is damage.
std::string checkFlag(const std::string& field, int value) {
    if (value == 0 || value == 1)
        return {};
    return refuse(field, std::to_string(value) + " is neither 0 nor 1");
}

}  // namespace

std::string normalizeReadProject(CStenorDoc& doc) {
    if (auto e = checkFlag("unitSystem", doc.unitSystem); !e.empty())
        return e;
    if (auto e = checkFlag("valuesInEnglish", doc.valuesInEnglish); !e.empty())
        return e;
    for (int l = 0; l < kLayerCount; ++l) {
        if (auto e = checkFlag(indexed("modulusDistribution", l), doc.modulusDistribution[at(l)]);
            !e.empty())
            return e;
    }
    for (int l = 0; l < kThicknessCount; ++l) {
        if (auto e =
                checkFlag(indexed("thicknessDistribution", l), doc.thicknessDistribution[at(l)]);
            !e.empty())
            return e;
    }
    // Bounded weeks also keep the cumulative sums of the season draw far from overflow.
    for (int s = 0; s < kSeasonCount; ++s) {
        const int weeks = doc.seasonWeeks[at(s)];
        if (weeks < 0 || weeks > kWeeksPerYear) {
            return refuse(indexed("seasonWeeks", s),
                          std::to_string(weeks) + " weeks lies outside 0 to 52");
        }
    }

    doc.layerCountIndex = std::clamp(doc.layerCountIndex, 0, 3);
    if (doc.currentSeason < Summer || doc.currentSeason >= kSeasonCount)
        doc.currentSeason = Summer;
    if (doc.currentConfiguration < Single || doc.currentConfiguration >= kConfigurationCount)
        doc.currentConfiguration = Single;
    for (int l = 0; l < kThicknessCount; ++l) {
        doc.pgHighIndex[at(l)] =
            std::clamp(doc.pgHighIndex[at(l)], 0, static_cast<int>(kPgHighGrades.size()) - 1);
        doc.pgLowIndex[at(l)] =
            std::clamp(doc.pgLowIndex[at(l)], 0, static_cast<int>(kPgLowGrades.size()) - 1);
    }
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        int& index = doc.materialIndex[at(layer - 1)];
        if (index < 0 || index >= materialListSize(layer))
            index = materialIndexOf(layer, MaterialType::Other);
    }
    return {};
}

}  // namespace ardelon
