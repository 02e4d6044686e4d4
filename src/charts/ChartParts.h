#pragma once
// The parts every figure chart is built from: series, axes, colours and the axle-weight axis of
// the load bins. Used by the chart sources of this folder only.

#include <QAbstractBarSeries>
#include <QChart>
#include <QColor>
#include <QLineSeries>
#include <QString>
#include <QValueAxis>
#include <array>
#include <initializer_list>
#include <string>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "project/Enumerations.h"

namespace ardelon::gui {

inline const QColor kCurve(0x1f, 0x5f, 0xa8);
inline const QColor kLimit(0xc0, 0x30, 0x30);
inline const QColor kTarget(0x3a, 0x8a, 0x3a);
inline const std::array<QColor, kConfigurationCount> kConfigurationColours{
    QColor(0x1f, 0x5f, 0xa8), QColor(0xc0, 0x30, 0x30), QColor(0x3a, 0x8a, 0x3a),
    QColor(0xe0, 0x90, 0x20)};

inline constexpr double kKipToKn = 4.4482216152605;

QString text(const std::string& s);
// A named line through `points`, drawn in `colour`.
QLineSeries* line(const QString& name, std::initializer_list<QPointF> points, QColor colour);
// A chart with its title and the legend below.
QChart* newChart(const QString& title);
QValueAxis* valueAxis(const QString& title);
// Attaches every series of `chart` to the two axes.
void attach(QChart* chart, QAbstractAxis* x, QAbstractAxis* y);
// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most `parts` intervals.
double niceStep(double span, int parts);
// Bars over the load bins `first` to `last` on a continuous weight axis in kips or kN.
void attachBinAxes(QChart* chart, QAbstractBarSeries* series, int first, int last, int unitSystem,
                   QValueAxis* y);
// The unit a metric project shows a response in (kPa, mm), from the unit the figure holds.
ShownUnit unitOf(const std::string& units, int unitSystem);
// The response in shown units across, the share of loads at or below (or above) the value up.
void attachDistributionAxes(QChart* chart, const ResponseDistribution& f, const ShownUnit& shown,
                            double xMin, double xMax);

}  // namespace ardelon::gui
