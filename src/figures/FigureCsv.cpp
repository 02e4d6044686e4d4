// The figures' data as CSV files, for engineers who plot in their own tools.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "figures/FigureData.h"
#include "project/Units.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Shortest text that reads back as the same double; empty for a value that is not finite.
std::string number(double v) {
    if (!std::isfinite(v))
        return std::isinf(v) && v > 0 ? "inf" : "";
    char buffer[32];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, v);
        if (std::strtod(buffer, nullptr) == v)
            break;
    }
    return buffer;
}

const char* const kLevelNames[kDistributionLevels] = {"95th", "85th", "75th", "65th", "55th"};

std::string rowColumns(const FigureRowName& n) {
    return std::to_string(n.layer) + "," + n.location + "," + n.criterion + "," + n.units;
}

}  // namespace

double displayDepth(double inches, int unitSystem) {
    return unitSystem == Metric ? inches * units::kInchToCm : inches;
}

const char* depthUnit(int unitSystem) {
    return unitSystem == Metric ? "cm" : "in.";
}

double displayAxleLoad(double pounds, int unitSystem) {
    constexpr double kPoundToKn = 0.0044482216152605;
    return unitSystem == Metric ? pounds * kPoundToKn : pounds / 1000.0;
}

const char* axleLoadUnit(int unitSystem) {
    return unitSystem == Metric ? "kN" : "kips";
}

double displayDeflection(double mils, int unitSystem) {
    return unitSystem == Metric ? mils * 0.0254 : mils;
}

const char* deflectionUnit(int unitSystem) {
    return unitSystem == Metric ? "mm" : "milli-in";
}

FileResult writeFigureCsv(const RunFigures& figures, int unitSystem, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return {"Cannot write the figures: \"" + folder + "\" is not a folder."};
    const auto write = [&folder](const char* name, const std::string& text) -> FileResult {
        const fs::path path = fs::path(folder) / name;
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        if (!out)
            return {"Cannot write the figure data \"" + path.string() + "\"."};
        return {};
    };
    const std::string head = "layer,location,criterion,units,";

    std::ostringstream distributions, limits, damage, depth, governing, spectra;
    distributions << head << "value,percent_at_or_below\n";
    limits << head << "limit,target_percentile,actual_percentile,verdict\n";
    for (const ResponseDistribution& d : figures.distributions) {
        for (const ChartPoint& p : d.curve)
            distributions << rowColumns(d.name) << ',' << number(p.x) << ',' << number(p.y) << '\n';
        for (const LimitMark& m : d.limits) {
            limits << rowColumns(d.name) << ',' << number(m.value) << ','
                   << number(m.targetPercentile) << ',' << number(m.actualPercentile) << ','
                   << (std::isnan(m.targetPercentile) ? ""
                       : m.pass                       ? "Pass"
                                                      : "Fail")
                   << '\n';
        }
    }
    damage << head << "years,damage\n";
    for (const DamageOverTime& d : figures.damage) {
        for (const ChartPoint& p : d.curve)
            damage << rowColumns(d.name) << ',' << number(p.x) << ',' << number(p.y) << '\n';
    }
    const bool metric = unitSystem == Metric;
    depth << "season,configuration," << (metric ? "axle_load_kN,depth_cm" : "axle_load_lb,depth_in")
          << ",layer,eps_x_microstrain,eps_y_microstrain,eps_z_microstrain,"
          << (metric ? "deflection_mm" : "deflection_mils") << '\n';
    for (const DepthProfile& p : figures.depthProfiles) {
        for (const DepthProfilePoint& q : p.points) {
            depth << kSeasonNames[at(p.season)] << ',' << kConfigurationNames[at(p.configuration)]
                  << ','
                  << number(metric ? displayAxleLoad(p.axleLoadPounds, unitSystem)
                                   : p.axleLoadPounds)
                  << ',' << number(displayDepth(q.depthInches, unitSystem)) << ',' << q.layer
                  << ',' << number(q.epsX) << ',' << number(q.epsY) << ',' << number(q.epsZ) << ','
                  << number(displayDeflection(q.deflectionMils, unitSystem)) << '\n';
        }
    }
    // A strain distribution has one block per level, named by its percentile and limit.
    governing << head
              << "level,limit,exceedances,configuration,bin,weight_class_"
              << axleLoadUnit(unitSystem) << ",exceedance_percent,damage_percent\n";
    for (const LoadShares& s : figures.loadShares) {
        for (int c = 0; c < kConfigurationCount; ++c) {
            for (int k = 0; k < kBinCount; ++k) {
                const double e = s.exceedancePercent[at(c)][at(k)];
                const double d = s.damagePercent[at(c)][at(k)];
                if (e == 0.0 && d == 0.0)
                    continue;
                governing << rowColumns(s.name) << ','
                          << (s.level >= 0 ? kLevelNames[at(s.level)] : "") << ','
                          << number(s.limit) << ',' << s.exceedances << ','
                          << kConfigurationNames[at(c)] << ',' << k
                          << ',' << figures.spectra.binLabels[at(k)] << ',' << number(e) << ','
                          << number(d) << '\n';
            }
        }
    }
    // Percent of each configuration's axle groups.
    spectra << "bin,weight_class_" << axleLoadUnit(unitSystem);
    for (auto name : kConfigurationNames)
        spectra << ',' << name << "_percent";
    spectra << '\n';
    for (int k = 0; k < kBinCount; ++k) {
        spectra << k << ',' << figures.spectra.binLabels[at(k)];
        for (int c = 0; c < kConfigurationCount; ++c)
            spectra << ',' << number(figures.spectra.percent[at(c)][at(k)]);
        spectra << '\n';
    }

    for (const auto& [name, text] : {std::pair{"response-distributions.csv", distributions.str()},
                                     std::pair{"response-limits.csv", limits.str()},
                                     std::pair{"damage-over-time.csv", damage.str()},
                                     std::pair{"depth-profiles.csv", depth.str()},
                                     std::pair{"governing-loads.csv", governing.str()},
                                     std::pair{"load-spectra.csv", spectra.str()}}) {
        if (FileResult r = write(name, text); !r.ok())
            return r;
    }
    return {};
}

}  // namespace ardelon
