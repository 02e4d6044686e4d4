#include "project/Enumerations.h"

namespace ardelon {

int materialListSize(int layer) {
    if (layer == 1)
        return static_cast<int>(kLayer1Materials.size());
    if (layer == 5)
        return static_cast<int>(kLayer5Materials.size());
    return kMaterialTypeCount;
}

MaterialType materialOf(int layer, int materialIndex) {
    if (materialIndex < 0 || materialIndex >= materialListSize(layer))
        return MaterialType::Other;
    if (layer == 1)
        return kLayer1Materials[static_cast<size_t>(materialIndex)];
    if (layer == 5)
        return kLayer5Materials[static_cast<size_t>(materialIndex)];
    return static_cast<MaterialType>(materialIndex);
}

int materialIndexOf(int layer, MaterialType material) {
    for (int i = 0; i < materialListSize(layer); ++i) {
        if (materialOf(layer, i) == material)
            return i;
    }
    return -1;
}

std::string_view materialName(MaterialType material) {
    return kMaterialNames[static_cast<size_t>(material)];
}

}  // namespace ardelon
