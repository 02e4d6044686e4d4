#include "structure/CStructureDlg.h"

#include <string>
#include <vector>

#include "project/Units.h"
#include "structure/AcTemperature.h"
#include "structure/MaterialProperties.h"
#include "structure/StructureDlgSupport.h"

namespace ardelon {

using namespace structure_detail;

// ----- layer edits ---------------------------------------------------------------------------

void CStructureDlg::onThicknessChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kThicknessCount)
        return;
    double& h = thickness[at(layer - 1)];
    const bool inRange = isMetric() ? (h >= kMinThicknessCm && h <= kMaxThicknessCm)
                                    : (h >= kMinThicknessIn && h <= kMaxThicknessIn);
    if (!inRange) {
        // The value typed is kept: the engineer is told, not overruled.
        host.showMessage(isMetric() ? kHeightMetricText : kHeightText, kHeightCaption,
                         MessageIcon::Exclamation);
        host.setFocus(toInt(thicknessEdit(layer)));
    }
    h = roundHalfUpTwoDecimals(h);
    recomputeDepths();
    if (temperatureCorrection != 0) {
        // A thicker layer moves every layer below it deeper, where the asphalt is cooler.
        for (int j = layer; j <= kThicknessCount; ++j) {
            if (isAc(j))
                recomputeAcModuli(j);
        }
    }
    refreshModulusRow();
}

void CStructureDlg::onModulusChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const size_t l = at(layer - 1);
    const double value = layerModulus[l];
    if (!(value >= minModulus[l] && value <= maxModulus[l])) {
        host.showMessage(kModulusText, kModulusCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(modulusEdit(layer)));
        return;
    }
    const double psi = modulusPsi(value);
    seasonalModulus[l][at(currentSeason)] = psi;
    // The layers below the bottom layer are the same semi-infinite material.
    if (layer == layerCount()) {
        for (int j = layer + 1; j <= kLayerCount; ++j) {
            seasonalModulus[at(j - 1)][at(currentSeason)] = psi;
        }
    }
    refreshModulusRow();
}

void CStructureDlg::onPoissonChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const size_t l = at(layer - 1);
    if (!(poisson[l] >= minPoisson[l] && poisson[l] <= maxPoisson[l])) {
        host.showMessage(kPoissonText, kPoissonCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(poissonEdit(layer)));
        if (layer == 1)
            poisson[l] = roundHalfUpTwoDecimals(poisson[l]);
        return;
    }
    poisson[l] = roundHalfUpTwoDecimals(poisson[l]);
    if (layer == layerCount()) {
        for (int j = layer + 1; j <= kLayerCount; ++j)
            poisson[at(j - 1)] = poisson[l];
    }
}

void CStructureDlg::setMaterialProperties(int layer) {
    const size_t l = at(layer - 1);
    const MaterialType type = materialTypeOf(layer);
    const MaterialProperties& p = materialProperties(type);
    minModulus[l] = displayModulus(p.minModulus);
    maxModulus[l] = displayModulus(p.maxModulus);
    poisson[l] = p.poisson;
    minPoisson[l] = p.minPoisson;
    maxPoisson[l] = p.maxPoisson;
    if (type == MaterialType::AC) {
        // Without temperature correction the layer keeps the moduli it had.
        recomputeDepths();
        if (temperatureCorrection != 0 && isAc(layer))
            recomputeAcModuli(layer);
    } else {
        seasonalModulus[l] = p.seasonalModulus;
    }
}

void CStructureDlg::copyLayerDownwards(int from, bool withVariability) {
    const size_t f = at(from - 1);
    const MaterialType type = materialTypeOf(from);
    for (int j = from + 1; j <= kLayerCount; ++j) {
        const size_t l = at(j - 1);
        setMaterialIndex(j, type);
        layerModulus[l] = layerModulus[f];
        seasonalModulus[l] = seasonalModulus[f];
        minModulus[l] = minModulus[f];
        maxModulus[l] = maxModulus[f];
        poisson[l] = poisson[f];
        minPoisson[l] = minPoisson[f];
        maxPoisson[l] = maxPoisson[f];
        if (withVariability) {
            modulusDistribution[l] = modulusDistribution[f];
            modulusCov[l] = modulusCov[f];
        }
    }
}

void CStructureDlg::onMaterialChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const MaterialType type = materialTypeOf(layer);
    const bool isBottom = layer == layerCount();
    if (isBottom && !isBottomLayerMaterial(type) && layer >= 2 && layer <= kThicknessCount) {
        // A bound layer cannot be semi-infinite. The selection stays for the engineer to adjust;
        // nothing of the layer changes.
        const std::string text = std::string(kMaterialMessageNames[at(static_cast<int>(type))]) +
                                 std::string(kBottomMaterialSuffix[at(layer - 2)]);
        host.showMessage(text, kMaterialCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(materialList(layer)));
        showControlStates(host);
        return;
    }
    const MaterialProperties& p = materialProperties(type);
    modulusDistribution[at(layer - 1)] = p.modulusDistribution;
    modulusCov[at(layer - 1)] = p.modulusCov;
    setMaterialProperties(layer);
    refreshModulusRow();
    if (isBottom && isBottomLayerMaterial(type))
        copyLayerDownwards(layer, true);
    showControlStates(host);
}

namespace {

// "layer 3", "layers 3 and 4", "layers 2 to 4", "layers 2, 3 and 5".
std::string layerList(const std::vector<int>& layers) {
    if (layers.size() == 1)
        return "layer " + std::to_string(layers.front());
    const bool contiguous = layers.back() - layers.front() + 1 == static_cast<int>(layers.size());
    if (contiguous && layers.size() > 2)
        return "layers " + std::to_string(layers.front()) + " to " + std::to_string(layers.back());
    std::string text = "layers ";
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (i > 0)
            text += i + 1 == layers.size() ? " and " : ", ";
        text += std::to_string(layers[i]);
    }
    return text;
}

}  // namespace

std::string CStructureDlg::layerCountQuestion() const {
    CStructureDlg changed = *this;
    changed.applyLayerCount();
    std::vector<int> thicknessLayers;
    std::vector<int> criteriaLayers;
    std::vector<int> materialLayers;
    // Only the layers the engineer has count; those below the bottom copy it.
    for (int layer = 1; layer <= appliedLayerCountIndex_ + 2; ++layer) {
        const std::size_t l = at(layer - 1);
        if (layer <= kThicknessCount && changed.thickness[l] != thickness[l])
            thicknessLayers.push_back(layer);
        for (int position = Top; position <= Bottom; ++position) {
            const std::size_t slot = at(slotIndex(layer, position));
            if (changed.criteria[slot] != criteria[slot]) {
                criteriaLayers.push_back(layer);
                break;
            }
        }
        if (changed.materialIndex[l] != materialIndex[l] ||
            changed.seasonalModulus[l] != seasonalModulus[l] || changed.poisson[l] != poisson[l])
            materialLayers.push_back(layer);
    }
    std::vector<std::string> losses;
    if (!thicknessLayers.empty())
        losses.push_back("the thicknesses and thickness variability of " +
                         layerList(thicknessLayers));
    if (!criteriaLayers.empty())
        losses.push_back("the performance criteria of " + layerList(criteriaLayers));
    if (!materialLayers.empty())
        losses.push_back("the materials and moduli of " + layerList(materialLayers));
    if (losses.empty())
        return {};
    std::string text = "Going to " + std::to_string(layerCount()) + " layers clears ";
    for (std::size_t i = 0; i < losses.size(); ++i) {
        if (i > 0)
            text += i + 1 == losses.size() ? " and " : ", ";
        text += losses[i];
    }
    return text + ". Continue?";
}

bool CStructureDlg::applyLayerCount() {
    const int n = layerCount();
    const int before = appliedLayerCountIndex_ + 2;
    bool bottomAcceptable = true;
    if (n < kLayerCount) {
        if (!isBottomLayerMaterial(materialTypeOf(n))) {
            bottomAcceptable = false;
        } else {
            copyLayerDownwards(n, false);
            // The layers below the bottom are one material: nothing can slip between them.
            for (int i = n - 1; i < kInterfaceCount; ++i) {
                slipValue[at(i)] = 1.0;
                interfaceBond[at(i)] = FullBond;
            }
        }
    }
    // The bottom layer and those below it are semi-infinite.
    for (int j = n; j <= kThicknessCount; ++j) {
        thickness[at(j - 1)] = isMetric() ? kMaxThicknessCm : kMaxThicknessIn;
    }
    // A layer that was the bottom or below it gets a thickness variability of its own; the
    // layers that already had one keep theirs.
    for (int j = std::max(2, before); j < n; ++j)
        thicknessCov[at(j - 1)] = kDefaultThicknessCov[at(j - 2)];
    // Criteria inside or below the semi-infinite bottom layer have no location any more.
    if (n < kLayerCount) {
        for (int slot = slotIndex(n, Middle); slot < kSlotCount; ++slot) {
            criteria[at(slot)].active = 0;
            criteria[at(slot)].responseType = -1;
            criteria[at(slot)].threshold = 0.0;
        }
    }
    appliedLayerCountIndex_ = layerCountIndex;
    return bottomAcceptable;
}

void CStructureDlg::onLayerCountChanged(DialogHost& host) {
    layerCountIndex = std::clamp(layerCountIndex, 0, 3);
    if (const std::string question = layerCountQuestion(); !question.empty()) {
        if (host.showMessage(question, kLayerCountCaption, MessageIcon::Question,
                             MessageButtons::YesNo) != MessageAnswer::Yes) {
            layerCountIndex = appliedLayerCountIndex_;  // everything stays as it was
            showControlStates(host);
            return;
        }
    }
    if (!applyLayerCount()) {
        const int n = layerCount();
        host.showMessage(kLayerCountMaterialText[at(n - 2)], kMaterialCaption,
                         MessageIcon::Exclamation);
        host.setFocus(toInt(materialList(n)));
    }
    recomputeDepths();
    refreshModulusRow();
    showControlStates(host);
}

void CStructureDlg::onPgHighChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kThicknessCount)
        return;
    recomputeDepths();
    if (temperatureCorrection != 0 && isAc(layer))
        recomputeAcModuli(layer);
    refreshModulusRow();
    showControlStates(host);
}

}  // namespace ardelon
