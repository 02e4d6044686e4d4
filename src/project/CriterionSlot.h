#pragma once
// One performance criterion: the response watched at one evaluation location and its limit.

#include <array>

#include "project/Enumerations.h"

namespace ardelon {

enum SlotPosition : int { Top = 0, Middle = 1, Bottom = 2 };

// Slot index of a layer (1 to 5) and position: 3 × (layer − 1) + position.
constexpr int slotIndex(int layer, int position) {
    return 3 * (layer - 1) + position;
}
constexpr int slotLayer(int slot) {
    return slot / 3 + 1;
}
constexpr int slotPosition(int slot) {
    return slot % 3;
}

struct CriterionSlot {
    int active = 0;
    int responseType = -1;  // ResponseType, −1 = none chosen
    double threshold = 0.0;
    double k1 = 0.0;
    double k2 = 0.0;
    int useTransferFunction = 0;
    double damagePerMillion = 0.0;  // result of the last analysis; not saved
    // Allowable horizontal strain, microstrain, at the 95th, 85th, 75th, 65th, 55th percentile.
    std::array<double, kDistributionLevels> distribution{};
    double targetPercentile = 50.0;

    bool operator==(const CriterionSlot&) const = default;
};

using CriterionSlots = std::array<CriterionSlot, kSlotCount>;

}  // namespace ardelon
