#include "criteria/ResponseType.h"

#include "project/Enumerations.h"

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

ShownUnit shownUnit(int responseType, int unitSystem) {
    constexpr double kPsiToKpa = 6.894757293168361;
    constexpr double kMilliInchToMm = 0.0254;
    if (unitSystem != Metric || responseType < 0)
        return {};
    if (responseType <= PrincipalStress)
        return {"kPa", kPsiToKpa};
    if (responseType == VerticalDeflection)
        return {"mm", kMilliInchToMm};
    return {};
}

}  // namespace ardelon
