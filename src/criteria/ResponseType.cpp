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

namespace {

constexpr double kPsiToKpa = 6.894757293168361;
constexpr double kMilliInchToMm = 0.0254;

bool isStress(int responseType) {
    return responseType >= HorizontalStress && responseType <= PrincipalStress;
}

}  // namespace

ResponseName reportResponseName(int responseType, int unitSystem) {
    ResponseName name = responseName(responseType);
    if (unitSystem == Metric && isStress(responseType))
        name.units = "kPa";
    else if (unitSystem == Metric && responseType == VerticalDeflection)
        name.units = "mm";
    return name;
}

double reportResponseValue(int responseType, int unitSystem, double value) {
    if (unitSystem != Metric)
        return value;
    if (isStress(responseType))
        return value * kPsiToKpa;
    if (responseType == VerticalDeflection)
        return value * kMilliInchToMm;
    return value;
}

std::string_view criterionUnitLabel(int responseType) {
    if (responseType < 0)
        return "";
    if (responseType <= PrincipalStress)
        return "psi";
    if (responseType <= PrincipalStrain)
        return "microstrain";
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
