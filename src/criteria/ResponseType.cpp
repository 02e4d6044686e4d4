#include "criteria/ResponseType.h"

namespace ardelon {

ResponseName responseName(int responseType) {
    switch (responseType) {
        case HorizontalStress:
        case VerticalStress:
        case PrincipalStress:
            return {kResponseTypeNames[responseType], "psi"};
        case HorizontalStrain:
        case VerticalStrain:
        case PrincipalStrain:
            return {kResponseTypeNames[responseType], "microstrain"};
        case VerticalDeflection:
            return {kResponseTypeNames[responseType], "milli-in"};
        default:
            return {};
    }
}

std::string_view criterionUnitLabel(int responseType) {
    if (responseType < 0) return "";
    if (responseType <= PrincipalStress) return "psi";
    if (responseType <= PrincipalStrain) return "microstrain";
    return "milli-inch";
}

}  // namespace ardelon
