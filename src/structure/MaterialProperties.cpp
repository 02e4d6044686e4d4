#include "structure/MaterialProperties.h"

namespace ardelon {

const MaterialProperties& materialProperties(MaterialType material) {
    // Spring 2 of the unbound materials carries the spring thaw weakening of the subgrade: Soil
    // 12000 × 1.1 in double precision (13200.000000000002), as a new project holds it.
    static const std::array<MaterialProperties, kMaterialTypeCount> kTable = {{
        // AC: seasonal moduli come from the temperature relationship.
        {{0, 0, 0, 0, 0}, 50000, 4000000, 0.35, 0.15, 0.4, LogNormal, 30},
        // Cracked AC
        {{80000, 80000, 80000, 80000, 80000}, 50000, 500000, 0.35, 0.15, 0.4, LogNormal, 60},
        // PCC
        {{4000000, 4000000, 4000000, 4000000, 4000000},
         2000000,
         7000000,
         0.18,
         0.14,
         0.25,
         LogNormal,
         15},
        // Rubblized PCC
        {{500000, 500000, 500000, 500000, 500000}, 40000, 700000, 0.2, 0.14, 0.25, LogNormal, 25},
        // Crack and seat PCC
        {{500000, 500000, 500000, 500000, 500000}, 200000, 800000, 0.2, 0.14, 0.25, LogNormal, 25},
        // Break and seat PCC
        {{500000, 500000, 500000, 500000, 500000}, 300000, 700000, 0.2, 0.14, 0.25, LogNormal, 25},
        // Granular base
        {{20000, 26000, 40000, 10000, 16000}, 5000, 50000, 0.4, 0.35, 0.45, LogNormal, 40},
        // Soil
        {{12000, 15000, 24000, 15000, 12000 * 1.1}, 3000, 40000, 0.45, 0.2, 0.5, LogNormal, 50},
        // Rock
        {{1000000, 1000000, 1000000, 1000000, 1000000},
         500000,
         4000000,
         0.15,
         0.1,
         0.25,
         LogNormal,
         0},
        // Other
        {{1000000, 1000000, 1000000, 1000000, 1000000}, 50, 10000000, 0.35, 0.1, 0.5, Normal, 0},
    }};
    return kTable[static_cast<size_t>(material)];
}

}  // namespace ardelon
