#include "charts/FigureCharts.h"

#include <QAbstractBarSeries>
#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QFileDialog>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QPainter>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QStringList>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "criteria/ResponseType.h"

namespace ardelon::gui {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

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

const QColor kCurve(0x1f, 0x5f, 0xa8);
const QColor kLimit(0xc0, 0x30, 0x30);
const QColor kTarget(0x3a, 0x8a, 0x3a);
const std::array<QColor, kConfigurationCount> kConfigurationColours{
    QColor(0x1f, 0x5f, 0xa8), QColor(0xc0, 0x30, 0x30), QColor(0x3a, 0x8a, 0x3a),
    QColor(0xe0, 0x90, 0x20)};

constexpr double kKipToKn = 4.4482216152605;

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

}  // namespace

QChart* responseDistributionChart(const ResponseDistribution& f, int unitSystem) {
    QChart* chart = newChart(text(f.name.title));
    const ShownUnit shown = unitOf(f.name.units, unitSystem);
    const double k = shown.factor;
    auto* curve = new QLineSeries;
    curve->setName(QStringLiteral("Distribution"));
    for (const ChartPoint& p : f.curve)
        curve->append(p.x * k, p.y);
    curve->setPen(QPen(kCurve, 2.0));
    chart->addSeries(curve);
    double xMin = f.curve.empty() ? 0.0 : f.curve.front().x * k;
    double xMax = f.curve.empty() ? 1.0 : f.curve.back().x * k;
    auto* marks = new QScatterSeries;
    marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    marks->setMarkerSize(9);
    marks->setColor(QColor(0x20, 0x20, 0x20));
    if (f.limits.size() == 1) {
        const LimitMark& m = f.limits.front();
        chart->addSeries(
            line(QStringLiteral("Threshold"), {{m.value * k, 0.0}, {m.value * k, 100.0}}, kLimit));
        if (!std::isnan(m.targetPercentile)) {
            chart->addSeries(line(QStringLiteral("Target"),
                                  {{xMin, m.targetPercentile}, {xMax, m.targetPercentile}},
                                  kTarget));
        }
        marks->setName(QStringLiteral("Actual"));
        marks->append(m.value * k, m.actualPercentile);
    } else {
        marks->setName(QStringLiteral("Allowable strains"));
        for (const LimitMark& m : f.limits)
            marks->append(m.value * k, m.targetPercentile);
        // Each of the levels named by its percentile.
        marks->setPointLabelsFormat(QStringLiteral("@yPointth"));
        marks->setPointLabelsVisible(true);
        marks->setPointLabelsClipping(false);
    }
    chart->addSeries(marks);
    attachDistributionAxes(chart, f, shown, xMin, xMax);
    return chart;
}

QChart* distributionOverlayChart(const std::vector<std::string>& designs,
                                 const std::vector<ResponseDistribution>& figures, int unitSystem) {
    // Distinct lines for up to eight designs; the limits are those of the first design.
    static const QColor kDesignColours[] = {QColor(0x1f, 0x5f, 0xa8), QColor(0xd0, 0x7a, 0x10),
                                            QColor(0x2a, 0x8a, 0x4a), QColor(0x80, 0x40, 0xa0),
                                            QColor(0x60, 0x60, 0x60), QColor(0x10, 0x9a, 0xa0),
                                            QColor(0xa0, 0x60, 0x30), QColor(0xd0, 0x40, 0x90)};
    const ResponseDistribution& first = figures.front();
    QChart* chart = newChart(text(first.name.title));
    const ShownUnit shown = unitOf(first.name.units, unitSystem);
    const double k = shown.factor;
    double xMin = INFINITY, xMax = -INFINITY;
    for (std::size_t d = 0; d < figures.size(); ++d) {
        auto* curve = new QLineSeries;
        curve->setName(text(d < designs.size() ? designs[d] : std::string()));
        for (const ChartPoint& p : figures[d].curve) {
            curve->append(p.x * k, p.y);
            xMin = std::min(xMin, p.x * k);
            xMax = std::max(xMax, p.x * k);
        }
        curve->setPen(QPen(kDesignColours[d % 8], 2.0));
        chart->addSeries(curve);
    }
    if (!(xMin < xMax)) {
        xMin = std::isfinite(xMin) ? xMin - 1.0 : 0.0;
        xMax = std::isfinite(xMax) ? xMax + 1.0 : 1.0;
    }
    auto* marks = new QScatterSeries;
    marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    marks->setMarkerSize(9);
    marks->setColor(QColor(0x20, 0x20, 0x20));
    marks->setName(first.limits.size() == 1 ? QStringLiteral("Threshold and target")
                                            : QStringLiteral("Allowable strains"));
    for (const LimitMark& m : first.limits) {
        if (!std::isnan(m.targetPercentile))
            marks->append(m.value * k, m.targetPercentile);
    }
    chart->addSeries(marks);
    attachDistributionAxes(chart, first, shown, xMin, xMax);
    return chart;
}

QChart* damageChart(const DamageOverTime& f) {
    QChart* chart = newChart(text(f.name.title + ": damage"));
    if (f.curve.empty()) {
        chart->setTitle(chart->title() + QStringLiteral(" (none: never exceeded)"));
        return chart;
    }
    auto* curve = new QLineSeries;
    curve->setName(QStringLiteral("Damage"));
    for (const ChartPoint& p : f.curve)
        curve->append(p.x, p.y);
    curve->setPen(QPen(kCurve, 2.0));
    chart->addSeries(curve);
    const double first = f.curve.front().x, last = f.curve.back().x;
    chart->addSeries(line(QStringLiteral("D = 0.1"), {{first, 0.1}, {last, 0.1}}, kTarget));
    chart->addSeries(line(QStringLiteral("D = 1.0"), {{first, 1.0}, {last, 1.0}}, kLimit));
    auto* x = valueAxis(QStringLiteral("Years"));
    x->setRange(0.0, last);
    x->applyNiceNumbers();
    auto* y = new QLogValueAxis;
    y->setBase(10.0);
    y->setTitleText(QStringLiteral("Damage"));
    y->setLabelFormat(QStringLiteral("%g"));
    const double lowest = std::max(1e-6, std::min(0.01, f.curve.front().y));
    y->setRange(std::pow(10.0, std::floor(std::log10(lowest))),
                std::pow(10.0, std::ceil(std::log10(std::max(10.0, f.curve.back().y)))));
    attach(chart, x, y);
    return chart;
}

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

QChart* loadSharesChart(const LoadShares& f, int unitSystem, bool damage) {
    QChart* chart = newChart(text(f.name.title) +
                             (damage ? QStringLiteral(": share of damage")
                                     : QStringLiteral(": share of exceedances<br><small>%1</small>")
                                           .arg(text(f.limitNote).toHtmlEscaped())));
    const auto& table = damage ? f.damagePercent : f.exceedancePercent;
    // Every bin from the lightest to the heaviest that carries a share, the empty ones between
    // kept, and only the configurations that carry one.
    int first = kBinCount, last = -1;
    std::array<bool, kConfigurationCount> carries{};
    for (int k = 0; k < kBinCount; ++k) {
        for (int c = 0; c < kConfigurationCount; ++c) {
            if (table[at(c)][at(k)] > 0.0) {
                first = std::min(first, k);
                last = k;
                carries[at(c)] = true;
            }
        }
    }
    if (last < 0) {
        chart->setTitle(text(f.name.title) + QStringLiteral(": no exceedances<br><small>%1</small>")
                                                 .arg(text(f.limitNote).toHtmlEscaped()));
        return chart;
    }
    // At least five bins on the axis: a single governing bin would otherwise fill the whole width.
    while (last - first < 4 && (first > 0 || last + 1 < kBinCount)) {
        if (first > 0)
            --first;
        if (last - first < 4 && last + 1 < kBinCount)
            ++last;
    }
    auto* series = new QStackedBarSeries;
    series->setBarWidth(0.9);
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!carries[at(c)])
            continue;
        auto* set = new QBarSet(text(std::string(kConfigurationNames[at(c)])));
        set->setColor(kConfigurationColours[at(c)]);
        set->setBorderColor(kConfigurationColours[at(c)]);
        for (int k = first; k <= last; ++k)
            *set << table[at(c)][at(k)];
        series->append(set);
    }
    chart->addSeries(series);
    auto* y =
        valueAxis(damage ? QStringLiteral("% of damage") : QStringLiteral("% of exceedances"));
    attachBinAxes(chart, series, first, last, unitSystem, y);
    double highest = 0.0;
    for (int k = first; k <= last; ++k) {
        double stacked = 0.0;
        for (int c = 0; c < kConfigurationCount; ++c)
            stacked += table[at(c)][at(k)];
        highest = std::max(highest, stacked);
    }
    y->setRange(0.0, highest);
    y->applyNiceNumbers();
    return chart;
}

QChart* loadSpectraChart(const LoadSpectraFigure& f, int unitSystem) {
    QChart* chart = newChart(QStringLiteral("Load Spectra"));
    // From the lightest bin to the heaviest one in use, so that the bars are wide enough to see.
    int last = 0;
    double highest = 0.0;
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!f.configurationUsed[at(c)])
            continue;
        for (int k = 0; k < kBinCount; ++k) {
            if (f.percent[at(c)][at(k)] > 0.0)
                last = std::max(last, k);
            highest = std::max(highest, f.percent[at(c)][at(k)]);
        }
    }
    last = std::max(last + 1, 9);
    last = std::min(last, kBinCount - 1);
    auto* series = new QBarSeries;
    series->setBarWidth(0.95);
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!f.configurationUsed[at(c)])
            continue;
        auto* set = new QBarSet(text(std::string(kConfigurationNames[at(c)])));
        set->setColor(kConfigurationColours[at(c)]);
        set->setBorderColor(kConfigurationColours[at(c)]);
        for (int k = 0; k <= last; ++k)
            *set << f.percent[at(c)][at(k)];
        series->append(set);
    }
    chart->addSeries(series);
    auto* y = valueAxis(QStringLiteral("% of axle groups"));
    attachBinAxes(chart, series, 0, last, unitSystem, y);
    y->setRange(0.0, std::max(highest, 1.0));
    y->applyNiceNumbers();
    return chart;
}

QChartView* chartView(QChart* chart, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(440, 300);
    auto* save = new QAction(QStringLiteral("Save as PNG..."), view);
    QObject::connect(save, &QAction::triggered, view, [view] {
        const QString path = QFileDialog::getSaveFileName(
            view, QStringLiteral("Save Chart"), QString(), QStringLiteral("PNG Images (*.png)"));
        if (!path.isEmpty() && !saveChartPng(view, path)) {
            QMessageBox::warning(view, QStringLiteral("Save Chart"),
                                 QStringLiteral("Cannot write the picture \"%1\".").arg(path));
        }
    });
    view->addAction(save);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    return view;
}

bool saveChartPng(QChartView* view, const QString& path) {
    // At report resolution whatever the size on screen: the scene drawn anew, scaled, so that
    // lines and text stay sharp.
    constexpr int kPictureWidth = 1600;
    const QSize shown = view->viewport()->size();
    const int height = shown.width() > 0 ? kPictureWidth * shown.height() / shown.width() : 1000;
    QImage picture(kPictureWidth, height, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view->render(&painter, QRectF(picture.rect()), view->viewport()->rect());
    painter.end();
    return picture.save(path, "PNG");
}

QChart* sensitivityChart(const CriterionSensitivity& f, const FigureRowName& name) {
    QChart* chart = newChart(text(name.title) + QStringLiteral(": what drives it"));
    auto* correlation = new QBarSet(QStringLiteral("Rank correlation"));
    auto* share = new QBarSet(QStringLiteral("Variance share"));
    auto* inputs = new QBarCategoryAxis;
    // Categories run upward from the axis, so the largest share is added last.
    for (auto input = f.inputs.rbegin(); input != f.inputs.rend(); ++input) {
        *correlation << input->rankCorrelation.value_or(0.0);
        *share << input->share;
        inputs->append(text(input->input));
    }
    auto* series = new QHorizontalBarSeries;
    series->append(correlation);
    series->append(share);
    chart->addSeries(series);
    inputs->setTruncateLabels(false);  // the names are short; a narrow band must not elide them
    auto* value = valueAxis(QStringLiteral("Rank correlation, variance share"));
    value->setRange(-1.0, 1.0);
    attach(chart, value, inputs);
    return chart;
}

}  // namespace ardelon::gui
