#include "charts/ChartParts.h"

#include <QBarCategoryAxis>
#include <QPen>
#include <cmath>

#include "criteria/ResponseType.h"

namespace ardelon::gui {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QLineSeries* line(const QString& name, std::initializer_list<QPointF> points, QColor colour) {
    auto* series = new QLineSeries;
    series->setName(name);
    for (const QPointF& p : points)
        series->append(p);
    QPen pen(colour);
    pen.setWidthF(1.6);
    series->setPen(pen);
    return series;
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

QValueAxis* valueAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

// Attaches every series of `chart` to the two axes.
void attach(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most `parts` intervals.
double niceStep(double span, int parts) {
    const double rough = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= rough)
            return m * power;
    }
    return 10.0 * power;
}

// Bars over the load bins `first` to `last` on a continuous weight axis: a hidden category axis
// places the bars, a value axis in kips or kN, its range on the bars' outer edges, labels them.
void attachBinAxes(QChart* chart, QAbstractBarSeries* series, int first, int last, int unitSystem,
                   QValueAxis* y) {
    auto* bins = new QBarCategoryAxis;
    for (int k = first; k <= last; ++k)
        bins->append(QString::number(k));
    chart->addAxis(bins, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(bins);
    series->attachAxis(y);
    bins->setVisible(false);
    const double factor = unitSystem == Metric ? kKipToKn : 1.0;
    auto* weight = new QValueAxis;
    weight->setTitleText(unitSystem == Metric ? QStringLiteral("Axle weight, kN")
                                              : QStringLiteral("Axle weight, kips"));
    weight->setLabelFormat(QStringLiteral("%g"));
    weight->setRange(2.0 * first * factor, 2.0 * (last + 1) * factor);
    weight->setTickType(QValueAxis::TicksDynamic);
    weight->setTickAnchor(0.0);
    weight->setTickInterval(niceStep(2.0 * (last + 1 - first) * factor, 10));
    weight->setMinorTickCount(1);
    chart->addAxis(weight, Qt::AlignBottom);
}

// The unit a metric project shows a response in (kPa, mm), from the unit the figure holds.
ShownUnit unitOf(const std::string& units, int unitSystem) {
    if (units == "psi")
        return shownUnit(HorizontalStress, unitSystem);
    if (units == "milli-in")
        return shownUnit(VerticalDeflection, unitSystem);
    return {};
}

// The response in shown units across, the share of loads at or below (or above) the value up.
void attachDistributionAxes(QChart* chart, const ResponseDistribution& f, const ShownUnit& shown,
                            double xMin, double xMax) {
    const QString sense = f.largerExceeds ? QStringLiteral("% of loads at or below")
                                          : QStringLiteral("% of loads at or above");
    const QString units =
        shown.label.empty()
            ? text(f.name.units)
            : QString::fromUtf8(shown.label.data(), static_cast<qsizetype>(shown.label.size()));
    auto* x = valueAxis(text(f.name.criterion + ", ") + units);
    x->setRange(xMin, xMax);
    x->applyNiceNumbers();
    auto* y = valueAxis(sense);
    y->setRange(0.0, 100.0);
    attach(chart, x, y);
}

}  // namespace ardelon::gui
