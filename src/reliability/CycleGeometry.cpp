#include "reliability/CycleGeometry.h"

#include <algorithm>

#include "criteria/ResponseType.h"
#include "reliability/CycleEvaluation.h"
#include "reliability/MonteCarloSampler.h"

namespace ardelon {
namespace {

constexpr std::array<std::array<double, 2>, 2> kSingleWheels{{{0, 0}, {13.5, 0}}};
constexpr std::array<std::array<double, 2>, 4> kTandemWheels{
    {{0, 0}, {13.5, 0}, {13.5, 54}, {0, 54}}};
constexpr std::array<std::array<double, 2>, 6> kTridemWheels{
    {{0, 0}, {13.5, 0}, {13.5, 54}, {0, 54}, {0, 108}, {13.5, 108}}};
constexpr std::array<std::array<double, 2>, 1> kSteerWheels{{{0, 0}}};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

bool isEvaluatedSlot(const CriterionSlot& criterion, int slot) {
    return criterion.active == 1 && slot >= 0 && slot <= kLastReportedSlot &&
           criterion.responseType >= 0 && criterion.responseType < kResponseTypeCount;
}

EvaluatedSlots evaluatedSlots(const CriterionSlots& criteria) {
    EvaluatedSlots slots;
    for (int i = 0; i < kSlotCount; ++i) {
        if (isEvaluatedSlot(criteria[at(i)], i))
            slots.slot[at(slots.count++)] = i;
    }
    return slots;
}

std::span<const std::array<double, 2>> wheelLayout(int configuration) {
    switch (configuration) {
        case Tandem:
            return kTandemWheels;
        case Tridem:
            return kTridemWheels;
        case Steer:
            return kSteerWheels;
        default:
            return kSingleWheels;
    }
}

double slotDepth(int slot, const std::array<double, kThicknessCount>& h) {
    if (slot >= kLastReportedSlot)
        return h[0] + h[1] + h[2] + h[3] + kLayer5TopOffsetInches;
    const int layer = slot / 3;  // 0-based
    double top = 0.0;
    for (int i = 0; i < layer; ++i)
        top += h[at(i)];
    switch (slot % 3) {
        case Top:
            return top;
        case Middle:
            return top + h[at(layer)] * 0.5;
        default:
            return top + h[at(layer)];
    }
}

int slotLayerNumber(int slot) {
    return std::min(slot / 3 + 1, kLayerCount);
}

CycleGeometry cycleGeometry(const CycleSample& s, const CStenorDoc& work,
                            const EvaluatedSlots& slots) {
    CycleGeometry g;
    g.system.modulus = s.modulus;
    g.system.thickness = s.thickness;
    g.system.poisson = work.poisson;
    for (int i = 0; i < 3; ++i)
        g.system.bond[at(i)] = work.slipValue[at(i)];

    const int tires = kTiresPerConfiguration[at(s.configuration)];
    std::array<double, 6> pressure{}, radius{};
    g.loadCount = MonteCarloSampler::contactCircles(s.loadPerTire, tires, pressure, radius);
    const auto wheels = wheelLayout(s.configuration);
    for (int i = 0; i < g.loadCount; ++i) {
        g.loads[at(i)] = {pressure[at(i)], radius[at(i)], wheels[at(i)][0], wheels[at(i)][1]};
    }

    for (int k = 0; k < slots.count; ++k) {
        const int slot = slots.slot[at(k)];
        const double depth = slotDepth(slot, s.thickness);
        const ResponseMask responses = criterionResponses(work.criteria[at(slot)]);
        for (const auto& xy : kEvaluationPlanPositions) {
            g.points[at(g.pointCount++)] = {xy[0], xy[1], depth, slotLayerNumber(slot), responses};
        }
    }
    return g;
}

}  // namespace ardelon
