#include "criteria/LayerCriteriaDialog.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "criteria/EnduranceLimitDialog.h"
#include "criteria/ResponseType.h"

namespace ardelon {
namespace {

using Control = LayerCriteriaDialog::Control;

// Transfer functions turn strains into damage, so only the two strain types offer one.
bool offersTransferFunction(int responseType) {
    return responseType == HorizontalStrain || responseType == VerticalStrain;
}

int toInt(Control c) {
    return static_cast<int>(c);
}

// A position outside Top to Bottom would address the next layer's slots, or none at all.
bool isPosition(int position) {
    return position >= Top && position <= Bottom;
}

}  // namespace

LayerCriteriaDialog::LayerCriteriaDialog(int layer, bool isLastLayer, const CriterionSlots& slots,
                                         double enduranceLimit)
    // A layer outside 1 to 5 would address slots that do not exist.
    : layer(std::clamp(layer, 1, kLayerCount)),
      isLastLayer(isLastLayer),
      slots(slots),
      enduranceLimit(enduranceLimit) {}

bool isMonotonicDistribution(const std::array<double, kDistributionLevels>& distribution) {
    bool rising = true;
    bool falling = true;
    for (size_t i = 1; i < distribution.size(); ++i) {
        if (distribution[i] < distribution[i - 1])
            rising = false;
        if (distribution[i] > distribution[i - 1])
            falling = false;
    }
    return rising || falling;
}

std::string_view LayerCriteriaDialog::unitLabel(int position) const {
    const ShownUnit shown = shownUnit(slot(position).responseType, unitSystem);
    return shown.label.empty() ? criterionUnitLabel(slot(position).responseType) : shown.label;
}

double LayerCriteriaDialog::shownThreshold(int position) const {
    const ShownUnit shown = shownUnit(slot(position).responseType, unitSystem);
    if (shown.factor == 1.0)
        return slot(position).threshold;
    constexpr double kDecimals = 1e6;
    return std::round(slot(position).threshold * shown.factor * kDecimals) / kDecimals;
}

void LayerCriteriaDialog::setShownThreshold(int position, double shown) {
    if (shown == shownThreshold(position))
        return;  // not changed: the value held stays exact
    slot(position).threshold = shown / shownUnit(slot(position).responseType, unitSystem).factor;
}

int LayerCriteriaDialog::activeLocationCount() const {
    int count = 0;
    for (const auto& s : slots)
        count += s.active != 0 ? 1 : 0;
    return count;
}

bool LayerCriteriaDialog::isVisible(Control c) const {
    const int id = toInt(c);
    if (c == Control::Layer || c == Control::Accept || c == Control::Cancel)
        return true;

    const CriterionSlot& bottom = slot(Bottom);
    const bool distributionShown = isPositionOffered(Bottom) && bottom.active != 0 &&
                                   bottom.responseType == HorizontalStrainDistribution;
    if (id >= toInt(Control::Distribution95))
        return distributionShown;  // block and its buttons

    const int row = id / 10 * 10;
    const int position = id - row;
    if (!isPositionOffered(position))
        return false;
    const CriterionSlot& s = slot(position);
    const bool active = s.active != 0;
    const bool usesDistribution =
        position == Bottom && s.responseType == HorizontalStrainDistribution;
    const bool transferShown =
        active && !usesDistribution && offersTransferFunction(s.responseType);
    const bool transferUsed = transferShown && s.useTransferFunction != 0;

    switch (static_cast<Control>(row)) {
        case Control::ActiveTop:
            return true;
        case Control::TypeTop:
            return active;
        case Control::ThresholdTop:
        case Control::UnitTop:
            return active && !usesDistribution;
        case Control::TargetPercentileTop:
            return active && !usesDistribution && !transferUsed;
        case Control::TransferTop:
            return transferShown;
        case Control::K1Top:
        case Control::K2Top:
            return transferUsed;
        default:
            return false;
    }
}

void LayerCriteriaDialog::showControlStates(DialogHost& host) const {
    static constexpr std::array kRows = {
        Control::ActiveTop,           Control::TypeTop,     Control::ThresholdTop, Control::UnitTop,
        Control::TargetPercentileTop, Control::TransferTop, Control::K1Top,        Control::K2Top};
    for (Control row : kRows) {
        for (int position = Top; position <= Bottom; ++position) {
            const Control c = control(row, position);
            host.setVisible(toInt(c), isVisible(c));
        }
    }
    for (int c = toInt(Control::Distribution95); c <= toInt(Control::EnterEnduranceLimit); ++c) {
        if (c > toInt(Control::Distribution55) && c < toInt(Control::LoadDefaultDistribution)) {
            continue;
        }
        host.setVisible(c, isVisible(static_cast<Control>(c)));
    }
    host.setEnabled(toInt(Control::Layer), false);
}

void LayerCriteriaDialog::onInitDialog(DialogHost& host) {
    // Inactive positions show only their check box; the last layer offers only its Top.
    showControlStates(host);
}

void LayerCriteriaDialog::onActiveChanged(DialogHost& host, int position) {
    if (!isPosition(position))
        return;
    CriterionSlot& s = slot(position);
    if (s.active != 0) {
        if (!isPositionOffered(position)) {
            s.active = 0;
        } else if (activeLocationCount() > kMaxActiveLocations) {
            s.active = 0;
            host.showMessage(kTooManyLocationsText, kTooManyLocationsCaption,
                             MessageIcon::Exclamation);
            host.setFocus(toInt(control(Control::ActiveTop, position)));
        }
        if (s.active != 0)
            bringBack(position);
    } else {
        setAside(position);
        s.useTransferFunction = 0;
    }
    showControlStates(host);
}

void LayerCriteriaDialog::setAside(int position) {
    CriterionSlot& s = slot(position);
    if (s.useTransferFunction != 0 || s.k1 != 0.0 || s.k2 != 0.0) {
        CriterionSlot& kept = setAside_[static_cast<size_t>(position)];
        kept.k1 = s.k1;
        kept.k2 = s.k2;
        kept.useTransferFunction = s.useTransferFunction;
    }
    s.k1 = 0.0;
    s.k2 = 0.0;
}

void LayerCriteriaDialog::bringBack(int position) {
    CriterionSlot& s = slot(position);
    CriterionSlot& kept = setAside_[static_cast<size_t>(position)];
    if (kept.useTransferFunction == 0 && kept.k1 == 0.0 && kept.k2 == 0.0)
        return;
    s.k1 = kept.k1;
    s.k2 = kept.k2;
    s.useTransferFunction = offersTransferFunction(s.responseType) ? kept.useTransferFunction : 0;
    kept = {};
}

std::pair<double, double> LayerCriteriaDialog::defaultCoefficients(int responseType) const {
    if (responseType == VerticalStrain) {
        return {transferCoefficient[2] * std::pow(1e-6, transferCoefficient[3]),
                transferCoefficient[3]};
    }
    return {transferCoefficient[0], transferCoefficient[1]};
}

void LayerCriteriaDialog::onResponseTypeChanged(DialogHost& host, int position) {
    if (!isPosition(position))
        return;
    CriterionSlot& s = slot(position);
    const bool usesDistribution =
        position == Bottom && s.responseType == HorizontalStrainDistribution;
    if (!offersTransferFunction(s.responseType) || usesDistribution) {
        setAside(position);
        s.useTransferFunction = 0;
    }
    showControlStates(host);
}

void LayerCriteriaDialog::onTransferFunctionChanged(DialogHost& host, int position) {
    if (!isPosition(position))
        return;
    CriterionSlot& s = slot(position);
    if (s.useTransferFunction == 0) {
        setAside(position);
    } else {
        bringBack(position);
        s.useTransferFunction = 1;
        if (s.k1 == 0.0 && s.k2 == 0.0)
            std::tie(s.k1, s.k2) = defaultCoefficients(s.responseType);
    }
    showControlStates(host);
}

void LayerCriteriaDialog::fillDistribution(const std::array<double, kDistributionLevels>& values) {
    slot(Bottom).distribution = values;
}

void LayerCriteriaDialog::onLoadDefaultDistribution(DialogHost& host) {
    host.showMessage(kDefaultDistributionText, kDefaultDistributionCaption,
                     MessageIcon::Exclamation);
    fillDistribution(kTestTrackDistribution);
    host.setFocus(toInt(Control::Distribution95));
}

void LayerCriteriaDialog::onEnterEnduranceLimit(DialogHost& host) {
    EnduranceLimitDialog dialog(enduranceLimit);
    if (!host.runModal(dialog))
        return;
    enduranceLimit = dialog.enduranceLimit;
    std::array<double, kDistributionLevels> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = kEnduranceLimitFactors[i] * enduranceLimit;
    }
    fillDistribution(values);
    host.showMessage(kEnduranceDistributionText, kDefaultDistributionCaption,
                     MessageIcon::Exclamation);
    host.setFocus(toInt(Control::Distribution95));
}

bool LayerCriteriaDialog::onAccept(DialogHost& host) {
    // Checked whatever the Bottom type, so a distribution left behind is still well-formed.
    if (!isMonotonicDistribution(slot(Bottom).distribution)) {
        host.showMessage(kInvalidDistributionText, kInvalidDistributionCaption,
                         MessageIcon::Exclamation);
        host.setFocus(toInt(Control::Distribution95));
        return false;
    }
    return true;
}

}  // namespace ardelon
