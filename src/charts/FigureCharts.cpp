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

#include "charts/ChartParts.h"
#include "criteria/ResponseType.h"

namespace ardelon::gui {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
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
