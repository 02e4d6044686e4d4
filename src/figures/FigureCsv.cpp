// The figures' data as CSV files, for engineers who plot in their own tools.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "figures/FigureData.h"
#include "project/ReplacingFile.h"
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
                  << ',' << number(displayDepth(q.depthInches, unitSystem)) << ',' << q.layer << ','
                  << number(q.epsX) << ',' << number(q.epsY) << ',' << number(q.epsZ) << ','
                  << number(displayDeflection(q.deflectionMils, unitSystem)) << '\n';
        }
    }
    // A strain distribution has one block per level, named by its percentile and limit.
    governing << head << "level,limit,exceedances,configuration,bin,weight_class_"
              << axleLoadUnit(unitSystem) << ",exceedance_percent,damage_percent\n";
    for (const LoadShares& s : figures.loadShares) {
        for (int c = 0; c < kConfigurationCount; ++c) {
            for (int k = 0; k < kBinCount; ++k) {
                const double e = s.exceedancePercent[at(c)][at(k)];
                const double d = s.damagePercent[at(c)][at(k)];
                if (e == 0.0 && d == 0.0)
                    continue;
                governing << rowColumns(s.name) << ','
                          << (s.level >= 0 ? kDistributionLevelNames[at(s.level)] : "") << ','
                          << number(s.limit) << ',' << s.exceedances << ','
                          << kConfigurationNames[at(c)] << ',' << k << ','
                          << figures.spectra.binLabels[at(k)] << ',' << number(e) << ','
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

    const std::array<std::pair<const char*, std::string>, kFigureFileNames.size()> files = {{
        {kFigureFileNames[0], distributions.str()},
        {kFigureFileNames[1], limits.str()},
        {kFigureFileNames[2], damage.str()},
        {kFigureFileNames[3], depth.str()},
        {kFigureFileNames[4], governing.str()},
        {kFigureFileNames[5], spectra.str()},
    }};
    // All or nothing: every file is written, synced and closed beside its target before any
    // replaces the previous one, so a full disk or a refused name leaves the previous set whole.
    // The names are the program's own: a link standing at one is replaced, never followed.
    std::array<ReplacingFile, kFigureFileNames.size()> written;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string path = (fs::path(folder) / files[i].first).string();
        std::string reason = written[i].open(path, LinkAtTarget::Replace);
        if (reason.empty()) {
            errno = 0;
            const std::string& text = files[i].second;
            int writeError = 0;
            if (std::fwrite(text.data(), 1, text.size(), written[i].stream()) != text.size())
                writeError = errno != 0 ? errno : EIO;
            reason = written[i].close(writeError);
        }
        if (!reason.empty())
            return {"Cannot write the figure data \"" + path + "\": " + reason +
                    "; the previous figure files were kept."};
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::string reason = written[i].commit(); !reason.empty())
            return {"Cannot write the figure data \"" +
                    (fs::path(folder) / files[i].first).string() + "\": " + reason + "."};
    }
    return {};
}

}  // namespace ardelon
