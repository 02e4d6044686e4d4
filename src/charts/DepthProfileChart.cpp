// The strains with depth at mean inputs: one chart per season and axle group, on a strain axis
// common to every season so that they can be compared.

#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStringList>
#include <QValueAxis>
#include <algorithm>

#include "charts/ChartParts.h"
#include "charts/FigureCharts.h"

namespace ardelon::gui {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

std::pair<double, double> commonStrainRange(const std::vector<DepthProfile>& profiles) {
    double lo = 0.0, hi = 0.0;
    for (const DepthProfile& p : profiles) {
        for (const DepthProfilePoint& q : p.points) {
            lo = std::min({lo, q.epsX, q.epsY, q.epsZ});
            hi = std::max({hi, q.epsX, q.epsY, q.epsZ});
        }
        for (const auto& limits : p.criterionLimits) {
            for (double v : limits) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    return {lo, hi};
}

QString depthLimitsName(const FigureRowName& name, const std::vector<double>& limits) {
    QStringList values;
    for (double v : limits)
        values << QString::number(v, 'g', 6);
    if (limits.size() == 1)
        return text(name.title) + QStringLiteral(" limit: ") + values.front();
    return text(name.title) + QStringLiteral(" limits: ") + values.join(QStringLiteral(", ")) +
           (static_cast<int>(limits.size()) == kDistributionLevels
                ? QStringLiteral(" (95th to 55th)")
                : QString());
}

QChart* depthProfileChart(const DepthProfile& p, int unitSystem, std::pair<double, double> range) {
    const QString unit = QString::fromLatin1(depthUnit(unitSystem));
    QChart* chart =
        newChart(QStringLiteral("%1: strains at mean inputs, %2 axle of %3 %4")
                     .arg(text(std::string(kSeasonNames[at(p.season)])),
                          text(std::string(kConfigurationNames[at(p.configuration)])))
                     .arg(unitSystem == Metric ? p.axleLoadPounds * 0.0044482216152605
                                               : p.axleLoadPounds / 1000.0,
                          0, 'f', 1)
                     .arg(unitSystem == Metric ? QStringLiteral("kN") : QStringLiteral("kips")));
    const std::array<std::pair<QString, double DepthProfilePoint::*>, 3> rows{
        {{QStringLiteral("Horizontal strain \u03b5x"), &DepthProfilePoint::epsX},
         {QStringLiteral("Horizontal strain \u03b5y"), &DepthProfilePoint::epsY},
         {QStringLiteral("Vertical strain \u03b5z"), &DepthProfilePoint::epsZ}}};
    const auto [lo, hi] = range;
    int colour = 0;
    for (const auto& [name, member] : rows) {
        auto* s = new QLineSeries;
        s->setName(name);
        for (const DepthProfilePoint& q : p.points)
            s->append(q.*member, displayDepth(q.depthInches, unitSystem));
        s->setPen(QPen(kConfigurationColours[at(colour++)], 2.0));
        chart->addSeries(s);
    }
    const double bottom =
        p.points.empty() ? 1.0 : displayDepth(p.points.back().depthInches, unitSystem);
    for (double d : p.interfaceDepthsInches) {
        auto* s =
            line(QString(), {{lo, displayDepth(d, unitSystem)}, {hi, displayDepth(d, unitSystem)}},
                 QColor(0x80, 0x80, 0x80));
        chart->addSeries(s);
        chart->legend()->markers(s).front()->setVisible(false);
    }
    // Each strain limit where it is: at its value, at the depth its criterion is evaluated, each
    // criterion with its own mark (named with its values, for the tooltip and the tests). Limits
    // of different criteria can share a depth (a distribution at the bottom of the asphalt and a
    // threshold at the top of the base below it): the first criterion at a depth is labelled
    // above its marks, the next ones below, so that the values stay apart. A distribution's five
    // marks sit side by side, so only its outer two carry their value.
    const std::array<QScatterSeries::MarkerShape, 4> shapes{
        QScatterSeries::MarkerShapeRectangle, QScatterSeries::MarkerShapeTriangle,
        QScatterSeries::MarkerShapeCircle, QScatterSeries::MarkerShapeStar};
    const std::array<QColor, 4> inks{QColor(0x20, 0x20, 0x20), QColor(0x80, 0x30, 0x90),
                                     QColor(0x90, 0x60, 0x10), QColor(0x10, 0x70, 0x70)};
    std::size_t shape = 0;
    std::vector<double> labelledDepths;
    for (std::size_t i = 0; i < p.criterionDepthsInches.size() && i < p.criterionLimits.size() &&
                            i < p.criterionNames.size();
         ++i) {
        const std::vector<double>& values = p.criterionLimits[i];
        if (values.empty())
            continue;
        auto* limits = new QScatterSeries;
        limits->setName(depthLimitsName(p.criterionNames[i], values));
        limits->setMarkerShape(shapes[shape % shapes.size()]);
        limits->setMarkerSize(10);
        limits->setColor(inks[shape % inks.size()]);
        limits->setBorderColor(inks[shape % inks.size()]);
        ++shape;
        const double depth = displayDepth(p.criterionDepthsInches[i], unitSystem);
        for (double v : values)
            limits->append(v, depth);
        chart->addSeries(limits);
        chart->legend()->markers(limits).front()->setVisible(false);
        // The labels hang on invisible anchors: at the marks (drawn above them) or, for a later
        // criterion at the same depth, far enough below the marks that the text clears them.
        const auto sameDepth = std::count(labelledDepths.begin(), labelledDepths.end(), depth);
        labelledDepths.push_back(depth);
        auto* labels = new QScatterSeries;
        labels->setName(limits->name());
        labels->setMarkerSize(1);
        labels->setColor(Qt::transparent);
        labels->setBorderColor(Qt::transparent);
        labels->setPointLabelsFormat(QStringLiteral("@xPoint"));
        labels->setPointLabelsColor(inks[(shape - 1) % inks.size()]);
        labels->setPointLabelsVisible(true);
        labels->setPointLabelsClipping(false);
        const double anchor = depth + 0.13 * static_cast<double>(sameDepth) * bottom;
        labels->append(values.front(), anchor);
        if (values.size() > 1)
            labels->append(values.back(), anchor);
        chart->addSeries(labels);
        chart->legend()->markers(labels).front()->setVisible(false);
    }
    auto* x = valueAxis(QStringLiteral("Strain, microstrain (tension negative)"));
    x->setRange(lo, hi);
    x->applyNiceNumbers();
    auto* y = valueAxis(QStringLiteral("Depth, ") + unit);
    y->setRange(0.0, bottom);
    y->applyNiceNumbers();
    y->setReverse(true);  // depth downward
    attach(chart, x, y);
    return chart;
}

}  // namespace ardelon::gui
