#pragma once
// The response types a criterion can watch, their names and unit texts.

#include <string_view>

namespace ardelon {

enum ResponseType : int {
    HorizontalStress = 0,
    VerticalStress = 1,
    PrincipalStress = 2,
    HorizontalStrain = 3,
    VerticalStrain = 4,
    PrincipalStrain = 5,
    VerticalDeflection = 6,
    HorizontalStrainDistribution = 7,
};
inline constexpr int kResponseTypeCount = 8;

// The criteria dialog's combo-box texts, in index order.
inline constexpr std::string_view kResponseTypeNames[kResponseTypeCount] = {
    "Horizontal Stress",   "Vertical Stress",
    "Principal Stress",    "Horizontal Strain",
    "Vertical Strain",     "Principal Strain",
    "Vertical Deflection", "Horizontal Strain Distribution"};

struct ResponseName {
    std::string_view name;   // empty for types without a table entry
    std::string_view units;  // "psi", "microstrain", "milli-in"
};

// The name and units of the result lists and the report for types 0 to 6; nothing for 7 and for
// any other value (the strain-distribution rows carry their own texts).
ResponseName responseName(int responseType);

// The report's name and units of a response type in a project's unit system: in metric projects
// stresses in "kPa" and deflections in "mm" (strains stay "microstrain"); English projects, and
// the result lists of the Output and Design module, keep `responseName`.
ResponseName reportResponseName(int responseType, int unitSystem);
// A criterion value (psi, microstrain or milli-in, as criteria are held) in the report's units.
double reportResponseValue(int responseType, int unitSystem, double value);

// The unit label the criteria dialog shows beside a threshold: nothing for −1, "psi" for 0 to 2,
// "microstrain" for 3 to 5, "milli-inch" for 6 and above.
std::string_view criterionUnitLabel(int responseType);

// How a metric project shows a response the project holds in English units: stresses in kPa,
// deflections in mm, strains as they are. `factor` turns the held value into the shown one; an
// English project (and a strain) shows the value as held, with an empty `label`.
struct ShownUnit {
    std::string_view label;
    double factor = 1.0;
};
ShownUnit shownUnit(int responseType, int unitSystem);

}  // namespace ardelon
