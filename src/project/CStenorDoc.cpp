#include "project/CStenorDoc.h"

#include <cmath>

namespace ardelon {

CStenorDoc::CStenorDoc() {
    // AC over Soil: the AC modulus is the same in every season; the soil follows the seasons,
    // Spring 2 being 10 % stiffer than Summer (12000 × 1.1 in double precision).
    const std::array<double, kSeasonCount> soil{12000, 15000, 24000, 15000, 12000 * 1.1};
    for (int s = 0; s < kSeasonCount; ++s) {
        seasonalModulus[0][static_cast<size_t>(s)] = 522958;
        for (int layer = 1; layer < kLayerCount; ++layer) {
            seasonalModulus[static_cast<size_t>(layer)][static_cast<size_t>(s)] =
                soil[static_cast<size_t>(s)];
        }
    }

    vehicleTypeValue = {1.2,  9.4, 3.3,  0.5,  7.4,  68.9, 1.2,  6.1,  0.8,  1.2,
                        1.62, 2.0, 1.02, 1.0,  2.38, 1.13, 1.19, 4.29, 3.52, 2.15,
                        0.39, 0,   0.99, 0.26, 0.67, 1.93, 1.09, 0.26, 1.14, 2.13,
                        0,    0,   0,    0.83, 0,    0,    0.89, 0.06, 0.06, 0.35};

    // Tire contact radius at 100 psi for the bin weight shared by the tires of the group:
    // r = sqrt(W / n / (100 pi)), with the program's multiplier for 1 / (100 pi).
    constexpr double kInverseHundredPi = 0.0031830988614222804;
    for (int k = 0; k < kBinCount; ++k) {
        binAxleWeight[static_cast<size_t>(k)] = 1000.0 + 2000.0 * k;
    }
    for (int c = 0; c < kConfigurationCount; ++c) {
        const double tires = kTiresPerConfiguration[static_cast<size_t>(c)];
        for (int k = 0; k < kBinCount; ++k) {
            contactRadius[static_cast<size_t>(c)][static_cast<size_t>(k)] =
                std::sqrt(binAxleWeight[static_cast<size_t>(k)] / tires * kInverseHundredPi);
        }
    }
    spectraLibrary = builtInSpectraLibrary();
}

}  // namespace ardelon
