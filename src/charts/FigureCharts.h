#pragma once
// Qt Charts of the figure data of a run, shared by the Charts view, the Load Spectra module and
// any later chart of the desktop: one function per figure, each returning a chart the caller
// places in a QChartView (which takes ownership).

#include <QChart>
#include <QChartView>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "figures/FigureData.h"
#include "sensitivity/Sensitivity.h"

namespace ardelon::gui {

// Stresses and deflections in kPa and mm in a metric project.
QChart* responseDistributionChart(const ResponseDistribution& figure, int unitSystem);
// One criterion's distributions in several designs (named in `designs`) on one chart, with the
// first design's limits and targets marked.
QChart* distributionOverlayChart(const std::vector<std::string>& designs,
                                 const std::vector<ResponseDistribution>& figures, int unitSystem);
QChart* damageChart(const DamageOverTime& figure);
// The strains of every season drawn on one strain range, so that the seasons compare.
std::pair<double, double> commonStrainRange(const std::vector<DepthProfile>& profiles);
QChart* depthProfileChart(const DepthProfile& figure, int unitSystem,
                          std::pair<double, double> strainRange);
// The legend entry of a criterion's strain limits on that chart, in microstrain:
// "Layer 2 Bottom, Tensile Strain limits: -121.1, -91.7, -74.2, -61.6, -51.8 (95th to 55th)",
// "Layer 3 Top, Horizontal Strain limit: -70".
QString depthLimitsName(const FigureRowName& name, const std::vector<double>& limits);
// Bars on a continuous axis of axle weight in kips or kN.
QChart* loadSharesChart(const LoadShares& figure, int unitSystem, bool damage);
QChart* loadSpectraChart(const LoadSpectraFigure& figure, int unitSystem);
// A tornado chart of what drives one criterion: each input's rank correlation (signed; none for
// season and configuration) and variance share, the largest share on top.
QChart* sensitivityChart(const CriterionSensitivity& figure, const FigureRowName& name);

// A view of `chart` with antialiasing, a minimum size fit for a grid of charts and a context menu
// entry "Save as PNG...".
QChartView* chartView(QChart* chart, QWidget* parent = nullptr);
// Writes the view's picture as a PNG file; false when the file cannot be written.
bool saveChartPng(QChartView* view, const QString& path);

}  // namespace ardelon::gui
