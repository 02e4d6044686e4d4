#include "solver/SolverInputRanges.h"

#include <cstdio>

namespace ardelon {
namespace {

std::string shortNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

}  // namespace

std::string checkSolverInput(const SolverInputRange& range, double value, const std::string& entry,
                             const char* name) {
    if (value >= range.low && value <= range.high)
        return {};
    const std::string unit = *range.unit ? std::string(" ") + range.unit : std::string();
    return entry + ": " + (name ? name : range.name) + " must lie between " +
           shortNumber(range.low) + " and " + shortNumber(range.high) + unit + " (got " +
           shortNumber(value) + ").";
}

std::string checkSolverInputs(const LayerSystem& system, const CircularLoad* loads, int loadCount,
                              const EvaluationPoint* points, int pointCount) {
    std::string problem;
    auto check = [&problem](const SolverInputRange& range, double value, const std::string& entry,
                            const char* name = nullptr) {
        if (problem.empty())
            problem = checkSolverInput(range, value, entry, name);
        return problem.empty();
    };
    for (std::size_t k = 0; k < system.modulus.size(); ++k) {
        const std::string entry = "layer " + std::to_string(k + 1);
        check(kModulusRange, system.modulus[k], entry);
        check(kPoissonRange, system.poisson[k], entry);
        if (k < system.thickness.size())
            check(kThicknessRange, system.thickness[k], entry);
    }
    for (std::size_t k = 0; k < system.bond.size(); ++k)
        check(kBondRange, system.bond[k], "interface " + std::to_string(k + 1));
    for (int j = 0; j < loadCount; ++j) {
        const std::string entry = "load " + std::to_string(j + 1);
        check(kRadiusRange, loads[j].radius, entry);
        check(kPressureRange, loads[j].pressure, entry);
        check(kPlanCoordinateRange, loads[j].x, entry, "x");
        check(kPlanCoordinateRange, loads[j].y, entry, "y");
    }
    for (int i = 0; i < pointCount; ++i) {
        const std::string entry = "point " + std::to_string(i + 1);
        check(kPlanCoordinateRange, points[i].x, entry, "x");
        check(kPlanCoordinateRange, points[i].y, entry, "y");
        check(kDepthRange, points[i].depth, entry);
    }
    return problem;
}

}  // namespace ardelon
