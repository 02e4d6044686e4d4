#include "traffic/WeightClassLabels.h"

#include <cmath>

namespace ardelon {
namespace {

constexpr std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

}  // namespace

std::string englishBinLabel(int bin) {
    if (bin == kBinCount - 1)
        return std::to_string(2 * bin) + "+";
    return std::to_string(2 * bin) + "-" + std::to_string(2 * bin + 2);
}

std::array<std::string, kBinCount> binLabelsFor(int unitSystem) {
    std::array<std::string, kBinCount> labels;
    if (unitSystem != Metric) {
        for (int k = 0; k < kBinCount; ++k)
            labels[at(k)] = englishBinLabel(k);
        return labels;
    }
    // The bins are 2 kips wide in either system; metric labels name the same bins in whole kN.
    constexpr double kKipToKn = 4.4482216152605;
    const auto kn = [](int kips) { return std::to_string(std::lround(kips * kKipToKn)); };
    for (int k = 0; k + 1 < kBinCount; ++k)
        labels[at(k)] = kn(2 * k) + "-" + kn(2 * k + 2);
    labels[kBinCount - 1] = kn(2 * (kBinCount - 1)) + "+";
    return labels;
}

}  // namespace ardelon
