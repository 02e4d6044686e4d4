#include "charts/FigureCharts.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QFileDialog>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

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

}  // namespace

QChart* responseDistributionChart(const ResponseDistribution& f) {
    QChart* chart = newChart(text(f.name.title));
    auto* curve = new QLineSeries;
    curve->setName(QStringLiteral("Distribution"));
    for (const ChartPoint& p : f.curve)
        curve->append(p.x, p.y);
    curve->setPen(QPen(kCurve, 2.0));
    chart->addSeries(curve);
    double xMin = f.curve.empty() ? 0.0 : f.curve.front().x;
    double xMax = f.curve.empty() ? 1.0 : f.curve.back().x;
    auto* marks = new QScatterSeries;
    marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    marks->setMarkerSize(9);
    marks->setColor(QColor(0x20, 0x20, 0x20));
    if (f.limits.size() == 1) {
        const LimitMark& m = f.limits.front();
        chart->addSeries(
            line(QStringLiteral("Threshold"), {{m.value, 0.0}, {m.value, 100.0}}, kLimit));
        if (!std::isnan(m.targetPercentile)) {
            chart->addSeries(line(QStringLiteral("Target"),
                                  {{xMin, m.targetPercentile}, {xMax, m.targetPercentile}},
                                  kTarget));
        }
        marks->setName(QStringLiteral("Actual"));
        marks->append(m.value, m.actualPercentile);
    } else {
        marks->setName(QStringLiteral("Allowable strains"));
        for (const LimitMark& m : f.limits)
            marks->append(m.value, m.targetPercentile);
    }
    chart->addSeries(marks);
    const QString sense = f.largerExceeds ? QStringLiteral("% of loads at or below")
                                          : QStringLiteral("% of loads at or above");
    auto* x = valueAxis(text(f.name.criterion + ", " + f.name.units));
    x->setRange(xMin, xMax);
    x->applyNiceNumbers();
    auto* y = valueAxis(sense);
    y->setRange(0.0, 100.0);
    attach(chart, x, y);
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

QChart* depthProfileChart(const DepthProfile& p, int unitSystem) {
    const QString unit = QString::fromLatin1(depthUnit(unitSystem));
    QChart* chart =
        newChart(QStringLiteral("%1: strains at mean inputs, %2 axle of %3 %4")
                     .arg(text(std::string(kSeasonNames[at(p.season)])),
                          text(std::string(kConfigurationNames[at(p.configuration)])))
                     .arg(unitSystem == Metric ? p.axleLoadPounds * 0.0044482216152605
                                               : p.axleLoadPounds / 1000.0,
                          0, 'f', 1)
                     .arg(unitSystem == Metric ? QStringLiteral("kN") : QStringLiteral("kips")));
    const std::array<std::pair<const char*, double DepthProfilePoint::*>, 3> rows{
        {{"Eps x", &DepthProfilePoint::epsX},
         {"Eps y", &DepthProfilePoint::epsY},
         {"Eps z", &DepthProfilePoint::epsZ}}};
    double lo = 0.0, hi = 0.0;
    int colour = 0;
    for (const auto& [name, member] : rows) {
        auto* s = new QLineSeries;
        s->setName(QString::fromLatin1(name));
        for (const DepthProfilePoint& q : p.points) {
            s->append(q.*member, displayDepth(q.depthInches, unitSystem));
            lo = std::min(lo, q.*member);
            hi = std::max(hi, q.*member);
        }
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
    auto* locations = new QScatterSeries;
    locations->setName(QStringLiteral("Criteria"));
    locations->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    locations->setMarkerSize(8);
    locations->setColor(QColor(0x20, 0x20, 0x20));
    for (double d : p.criterionDepthsInches)
        locations->append(0.0, displayDepth(d, unitSystem));
    chart->addSeries(locations);
    auto* x = valueAxis(QStringLiteral("Strain, microstrain"));
    x->setRange(lo, hi);
    x->applyNiceNumbers();
    auto* y = valueAxis(QStringLiteral("Depth, ") + unit);
    y->setRange(0.0, bottom);
    y->applyNiceNumbers();
    y->setReverse(true);  // depth downward
    attach(chart, x, y);
    return chart;
}

QChart* loadSharesChart(const LoadShares& f, const LoadSpectraFigure& spectra, bool damage) {
    QString title = text(f.name.title) + (damage ? QStringLiteral(": share of damage")
                                                 : QStringLiteral(": share of exceedances"));
    if (!f.levelName.empty())
        title += QStringLiteral(" (%1)").arg(text(f.levelName));
    QChart* chart = newChart(title);
    const auto& table = damage ? f.damagePercent : f.exceedancePercent;
    // Only the bins that carry a share, so that the bars stay readable.
    std::vector<int> bins;
    for (int k = 0; k < kBinCount; ++k) {
        for (int c = 0; c < kConfigurationCount; ++c) {
            if (table[at(c)][at(k)] > 0.0) {
                bins.push_back(k);
                break;
            }
        }
    }
    if (bins.empty()) {
        chart->setTitle(chart->title() + QStringLiteral(" (none)"));
        return chart;
    }
    auto* series = new QStackedBarSeries;
    for (int c = 0; c < kConfigurationCount; ++c) {
        auto* set = new QBarSet(text(std::string(kConfigurationNames[at(c)])));
        set->setColor(kConfigurationColours[at(c)]);
        for (int k : bins)
            *set << table[at(c)][at(k)];
        series->append(set);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    for (int k : bins)
        x->append(text(spectra.binLabels[at(k)]));
    x->setTitleText(QStringLiteral("Load bin"));
    x->setLabelsAngle(-90);
    auto* y =
        valueAxis(damage ? QStringLiteral("% of damage") : QStringLiteral("% of exceedances"));
    attach(chart, x, y);
    double highest = 0.0;
    for (int k : bins) {
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
    // The bins up to the heaviest that carries axle groups: the empty tail only thins the bars.
    int bins = 1;
    for (int c = 0; c < kConfigurationCount; ++c) {
        for (int k = 0; k < kBinCount; ++k) {
            if (f.configurationUsed[at(c)] && f.percent[at(c)][at(k)] != 0.0)
                bins = std::max(bins, k + 1);
        }
    }
    auto* series = new QBarSeries;
    series->setBarWidth(0.9);
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!f.configurationUsed[at(c)])
            continue;
        auto* set = new QBarSet(text(std::string(kConfigurationNames[at(c)])));
        set->setColor(kConfigurationColours[at(c)]);
        set->setBorderColor(kConfigurationColours[at(c)]);
        for (int k = 0; k < bins; ++k)
            *set << f.percent[at(c)][at(k)];
        series->append(set);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    for (int k = 0; k < bins; ++k)
        x->append(text(f.binLabels[at(k)]));
    x->setTruncateLabels(false);
    x->setTitleText(unitSystem == Metric ? QStringLiteral("Axle weight, kN")
                                         : QStringLiteral("Axle weight, kips"));
    x->setLabelsAngle(-90);
    QFont small = x->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    x->setLabelsFont(small);
    auto* y = valueAxis(QStringLiteral("% of axle groups"));
    attach(chart, x, y);
    double highest = 0.0;
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (f.configurationUsed[at(c)])
            highest = std::max(highest,
                               *std::max_element(f.percent[at(c)].begin(), f.percent[at(c)].end()));
    }
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
    return view->grab().save(path, "PNG");
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
