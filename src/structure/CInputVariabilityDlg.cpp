#include "structure/CInputVariabilityDlg.h"

namespace ardelon {

std::string_view CInputVariabilityDlg::materialLabel() const {
    if (materialType < 0 || materialType >= kMaterialTypeCount)
        return kMaterialLabels.back();
    return kMaterialLabels[static_cast<size_t>(materialType)];
}

std::string CInputVariabilityDlg::layerHeading() const {
    // "Layer: AC" names the material; the heading puts the layer's number in.
    std::string label(materialLabel());
    if (label.rfind("Layer:", 0) == 0)
        label.insert(5, " " + std::to_string(layer));
    return label;
}

bool CInputVariabilityDlg::isThicknessEnabled() const {
    if (layer == 1)
        return true;
    if (layer >= kLayerCount)
        return false;
    // Layer k (2 to 4) is the semi-infinite bottom when the structure has k layers; the layers
    // below the bottom are not in use.
    return layer - 2 < layerCountIndex;
}

void CInputVariabilityDlg::onInitDialog(DialogHost& host) {
    const bool thickness = isThicknessEnabled();
    if (!thickness)
        thicknessCov = 0.0;
    if (layer >= kLayerCount)
        thicknessDistribution = kNoSelection;
    host.setEnabled(static_cast<int>(Control::ThicknessDistribution), thickness);
    host.setEnabled(static_cast<int>(Control::ThicknessCov), thickness);
}

void CInputVariabilityDlg::limitCov(DialogHost& host, double& cov) {
    if (cov < kMinCovPercent) {
        cov = kMinCovPercent;
        host.showMessage(kMinimumText, kOutOfRangeCaption, MessageIcon::Exclamation);
    } else if (cov > kMaxCovPercent) {
        cov = kMaxCovPercent;
        host.showMessage(kMaximumText, kOutOfRangeCaption, MessageIcon::Exclamation);
    }
}

void CInputVariabilityDlg::onModulusCovChanged(DialogHost& host) {
    limitCov(host, modulusCov);
}

void CInputVariabilityDlg::onThicknessCovChanged(DialogHost& host) {
    limitCov(host, thicknessCov);
}

}  // namespace ardelon
