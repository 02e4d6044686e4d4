#include "traffic/WeightClassLabels.h"

#include <cmath>
#include <string_view>

namespace ardelon {
namespace {

constexpr std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Weight classes in kN shown beside the first 28 bins in metric units.
constexpr std::array<std::string_view, 28> kMetricBinLabels = {
    "0-9",     "9-18",    "18-27",   "27-36",   "36-44",   "44-53",   "53-62",
    "62-71",   "71-80",   "80-89",   "89-98",   "98-107",  "107-116", "116-125",
    "125-133", "133-142", "142-151", "151-160", "160-169", "169-178", "178-187",
    "187-196", "196-205", "205-214", "214-222", "222-231", "231-240", "240+"};

}  // namespace

std::string englishBinLabel(int bin) {
    if (bin == kBinCount - 1)
        return std::to_string(2 * bin) + "+";
    return std::to_string(2 * bin) + "-" + std::to_string(2 * bin + 2);
}

std::array<std::string, kBinCount> binLabelsFor(int unitSystem) {
    std::array<std::string, kBinCount> labels;
    if (unitSystem == Metric) {
        for (std::size_t k = 0; k < kMetricBinLabels.size(); ++k)
            labels[k] = kMetricBinLabels[k];
        return labels;
    }
    for (int k = 0; k < kBinCount; ++k)
        labels[at(k)] = englishBinLabel(k);
    return labels;
}

std::array<std::string, kBinCount> chartBinLabels(int unitSystem) {
    std::array<std::string, kBinCount> labels;
    const auto english = binLabelsFor(English);
    const auto shown = binLabelsFor(unitSystem);
    constexpr double kKipToKn = 4.4482216152605;
    const auto kn = [&](int kips) { return std::to_string(std::lround(kips * kKipToKn)); };
    for (int k = 0; k < kBinCount; ++k) {
        if (!shown[at(k)].empty())
            labels[at(k)] = shown[at(k)];
        else if (unitSystem == Metric)
            labels[at(k)] = k == kBinCount - 1 ? kn(2 * k) + "+" : kn(2 * k) + "-" + kn(2 * k + 2);
        else
            labels[at(k)] = english[at(k)];
    }
    return labels;
}

}  // namespace ardelon
