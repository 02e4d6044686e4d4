#pragma once
// What choosing a material sets for a layer: its seasonal moduli, modulus and Poisson ranges and
// the default variability of its modulus. All moduli in psi.

#include <array>

#include "project/Enumerations.h"

namespace ardelon {

struct MaterialProperties {
    // Seasonal moduli Summer to Spring 2; unused for AC, whose moduli follow the temperature.
    std::array<double, kSeasonCount> seasonalModulus;
    double minModulus;
    double maxModulus;
    double poisson;
    double minPoisson;
    double maxPoisson;
    int modulusDistribution;  // Distribution
    double modulusCov;        // percent
};

const MaterialProperties& materialProperties(MaterialType material);

// Only unbound materials and Other may form the semi-infinite bottom of the structure.
constexpr bool isBottomLayerMaterial(MaterialType material) {
    return static_cast<int>(material) >= static_cast<int>(MaterialType::GranBase);
}

}  // namespace ardelon
