#include "charts/PdfReport.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "charts/FigureCharts.h"
#include "charts/PdfPages.h"
#include "project/ReplacingFile.h"

namespace ardelon::charts {
namespace {

using namespace pdf;

const QColor kPassColour(0x2a, 0x7a, 0x2a);
const QColor kFailColour(0xb0, 0x20, 0x20);

// A Qt application must exist before fonts, pictures and charts can be used. The command line
// has none: it gets one on the offscreen platform (unless the caller chose a platform).
void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The platform's notes (a missing runtime folder, fonts) are not the engineer's business.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    static int argc = 1;
    static char name[] = "ardelon-cli";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

QColor materialColour(const std::string& material) {
    if (material == "AC" || material == "Cracked AC")
        return QColor(0x4a, 0x4a, 0x4a);
    if (material.find("PCC") != std::string::npos)
        return QColor(0xc8, 0xc8, 0xc0);
    if (material == "Gran Base" || material == "GB")
        return QColor(0xc9, 0xa8, 0x6a);
    if (material == "Soil")
        return QColor(0x9c, 0x7a, 0x52);
    if (material == "Rock")
        return QColor(0x8a, 0x8a, 0x9a);
    return QColor(0xb0, 0xc4, 0xd8);
}

// The cross-section, drawn to scale down to the subgrade, whose depth is shown cut off; its
// labels stay within `bandWidth` from the left margin.
void crossSection(Pages& pages, const std::vector<ReportLayer>& layers, double bandWidth) {
    constexpr double kDrawingHeight = 150.0;
    constexpr double kSubgradeShare = 0.22;
    const double width = 110.0;
    pages.ensureRoom(kDrawingHeight + 10);
    if (pages.drawing()) {
        QPainter& p = *pages.painter();
        double finite = 0.0;
        for (const ReportLayer& l : layers)
            finite += l.thicknessInches;
        const double scale = finite > 0 ? kDrawingHeight * (1 - kSubgradeShare) / finite : 0.0;
        double top = pages.y();
        p.setFont(font(8));
        for (const ReportLayer& l : layers) {
            const bool bottom = l.thicknessInches <= 0.0;
            const double h =
                bottom ? kDrawingHeight * kSubgradeShare : std::max(l.thicknessInches * scale, 9.0);
            const QRectF box(kMargin, top, width, h);
            p.fillRect(box, materialColour(l.material));
            p.setPen(QPen(kInk, 0.5));
            p.drawRect(box);
            if (bottom) {
                // The subgrade continues downward: a broken edge.
                p.setPen(QPen(Qt::white, 2.0, Qt::DashLine));
                p.drawLine(QPointF(kMargin, top + h), QPointF(kMargin + width, top + h));
            }
            p.setPen(kInk);
            p.drawText(
                QRectF(kMargin + width + 8, top, bandWidth - width - 8, h),
                Qt::AlignVCenter | Qt::AlignLeft,
                QStringLiteral("Layer %1: %2, %3")
                    .arg(l.layer)
                    .arg(q(l.material.empty() ? std::string("(unknown material)") : l.material),
                         q(l.thickness)));
            top += h;
        }
    }
    pages.advance(kDrawingHeight + 10);
}

// A cell text whose words stay on one line ("88.29 to 98.55 %"): no-break spaces.
std::string unbroken(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == ' ' ? std::string("\u00a0") : std::string(1, c);
    return out;
}

// 40, 22.5: a number without trailing zeros or point.
std::string plainNumber(double value) {
    return QString::number(value, 'g', 6).toStdString();
}

void summaryPage(Pages& pages, const DesignReport& r) {
    const ReportDetails& d = r.details;
    pages.paragraph(q(d.title.empty() ? std::string("Pavement Design Report") : d.title),
                    font(18, true), 2.0);
    pages.paragraph(QStringLiteral("Perpetual pavement design report, Ardelon"), font(9), 6.0);
    if (!d.description.empty())
        pages.paragraph(q(d.description), font(9.5), 6.0);

    // Who the report is for and the signature block.
    pages.table(ReportTable{"",
                            {"Client", "Engineer", "Prepared by", "Checked by", "Date"},
                            {{d.client.empty() ? "-" : d.client,
                              d.engineer.empty() ? "-" : d.engineer, "", "", r.date}}},
                8.5);

    // The design on the left, the run record beside it.
    pages.heading(QStringLiteral("Design and run record"));
    constexpr double kDesignBand = 250.0;
    const double top = pages.y();
    crossSection(pages, r.layers, kDesignBand);
    const double belowDrawing = pages.y();
    pages.moveTo(top);
    // The project's path is long: it gets the full width below.
    ReportTable record{"", {"Run record", ""}, {}};
    std::string projectPath;
    for (const auto& [label, value] : r.runRecord) {
        if (label == "Project File")
            projectPath = value;
        else
            record.rows.push_back({label, value});
    }
    pages.table(record, 7.5, kMargin + kDesignBand + 10, kBodyWidth - kDesignBand - 10);
    pages.moveTo(std::max(belowDrawing, pages.y()));
    pages.paragraph(QStringLiteral("Project File  %1").arg(q(projectPath)), font(7.5), 4.0);

    pages.heading(QStringLiteral("Verdict"));
    const bool pass = r.overallVerdict == "Pass";
    pages.paragraph(QStringLiteral("Overall: %1").arg(q(r.overallVerdict)), font(13, true), 4.0,
                    r.overallVerdict == "Fail" ? kFailColour
                    : pass                     ? kPassColour
                                               : kInk);
    pages.paragraph(q(r.overallStatement), font(8.5), 4.0);
    const std::string interval = r.confidence + " interval";
    ReportTable rows{
        "", {"Criterion", "Target", "Actual percentile", "Settled verdict", interval}, {}};
    for (const ReportVerdictRow& v : r.verdicts)
        rows.rows.push_back(
            {v.name, unbroken(v.target), v.actual, v.verdict, unbroken(v.interval)});
    if (!rows.rows.empty())
        pages.table(rows, 8);
    if (!r.lives.empty()) {
        const bool life = r.designLifeYears > 0;
        ReportTable lives{"",
                          {"Transfer function", "Years to D=0.1", "Years to D=1.0",
                           life ? unbroken("Against " + plainNumber(r.designLifeYears) + " years")
                                : std::string(),
                           interval + " of years to D=1.0"},
                          {}};
        for (const ReportLife& l : r.lives)
            lives.rows.push_back({l.name, l.years01, l.years10, l.verdict, unbroken(l.interval)});
        if (!life) {
            lives.columns.erase(lives.columns.begin() + 3);
            for (auto& row : lives.rows)
                row.erase(row.begin() + 3);
        }
        pages.table(lives, 8);
    }
    pages.paragraph(QStringLiteral("Cost: %1").arg(q(r.cost)), font(9.5, true), 6.0);
}

// The chart of a figure drawn into `target`: the chart is laid out at a screen size and scaled,
// so its text keeps the proportions the desktop shows.
void drawChart(Pages& pages, QChart* chart, const QRectF& target) {
    std::unique_ptr<QChart> owned(chart);
    if (!pages.drawing())
        return;
    QGraphicsScene scene;
    chart->setAnimationOptions(QChart::NoAnimation);
    const QSizeF logical(720, 430);
    scene.addItem(owned.release());  // the scene owns it now
    chart->resize(logical);
    scene.setSceneRect(QRectF(QPointF(0, 0), logical));
    QCoreApplication::processEvents();  // the chart lays out its axes and series
    scene.render(pages.painter(), target, scene.sceneRect(), Qt::KeepAspectRatio);
}

// Adds the design life as a vertical line on a damage chart.
void markDesignLife(QChart* chart, double years) {
    if (years <= 0.0 || chart->series().isEmpty())
        return;
    const auto horizontal = chart->axes(Qt::Horizontal);
    const auto vertical = chart->axes(Qt::Vertical);
    if (horizontal.isEmpty() || vertical.isEmpty())
        return;
    auto* x = qobject_cast<QValueAxis*>(horizontal.front());
    if (x && years > x->max())
        x->setMax(years * 1.05);
    auto* life = new QLineSeries;
    life->setName(QStringLiteral("Design life"));
    // Spans the logarithmic damage axis from its floor to its top.
    life->append(years, 1e-9);
    life->append(years, 1e9);
    life->setPen(QPen(QColor(0x70, 0x30, 0x90), 1.6, Qt::DashLine));
    chart->addSeries(life);
    life->attachAxis(horizontal.front());
    life->attachAxis(vertical.front());
}

// The settled verdict of a criterion's rows for its distribution chart: "Fail" when any row
// settled Fail, "Pass" when all settled Pass, otherwise "Undecided"; "transfer function" for a
// criterion without percentile rows.
std::string chartVerdict(const DesignReport& r, int slot) {
    bool judged = false, pass = true, fail = false;
    for (const ReportVerdictRow& v : r.verdicts) {
        if (v.slot != slot)
            continue;
        judged = true;
        pass = pass && v.settled == Verdict::Pass;
        fail = fail || v.settled == Verdict::Fail;
    }
    if (!judged)
        return "transfer function";
    return fail ? "Fail" : pass ? "Pass" : "Undecided";
}

std::vector<std::function<QChart*()>> chartMakers(const DesignReport& r, const RunFigures& f,
                                                  int unitSystem) {
    std::vector<std::function<QChart*()>> makers;
    for (const ResponseDistribution& d : f.distributions) {
        makers.push_back([&d, &r, unitSystem] {
            QChart* chart = gui::responseDistributionChart(d, unitSystem);
            chart->setTitle(chart->title() + QStringLiteral(": ") +
                            q(chartVerdict(r, d.name.slot)));
            return chart;
        });
    }
    for (const DamageOverTime& d : f.damage) {
        makers.push_back([&d, life = r.designLifeYears] {
            QChart* chart = gui::damageChart(d);
            markDesignLife(chart, life);
            return chart;
        });
    }
    const auto strainRange = gui::commonStrainRange(f.depthProfiles);
    for (const DepthProfile& p : f.depthProfiles) {
        makers.push_back([&p, unitSystem, strainRange] {
            return gui::depthProfileChart(p, unitSystem, strainRange);
        });
    }
    for (const LoadShares& s : f.loadShares) {
        // A limit no load exceeds has nothing to show: the lists say so already.
        if (s.exceedances > 0)
            makers.push_back(
                [&s, unitSystem] { return gui::loadSharesChart(s, unitSystem, false); });
        if (s.hasDamage)
            makers.push_back(
                [&s, unitSystem] { return gui::loadSharesChart(s, unitSystem, true); });
    }
    makers.push_back([&f, unitSystem] { return gui::loadSpectraChart(f.spectra, unitSystem); });
    return makers;
}

// The whole report; returns the number of pages.
int layOut(Pages& pages, const DesignReport& r, const RunFigures& figures, int unitSystem) {
    summaryPage(pages, r);

    pages.newPage();
    pages.paragraph(QStringLiteral("Inputs"), font(15, true), 4.0);
    for (const ReportTable& t : r.inputs)
        pages.table(t);

    pages.newPage();
    pages.paragraph(QStringLiteral("Results"), font(15, true), 4.0);
    pages.table(r.transferFunctionList);
    pages.table(r.percentileList);
    if (!r.trials.rows.empty()) {
        pages.newPage();
        pages.paragraph(QStringLiteral("Trial Designs"), font(15, true), 4.0);
        pages.table(r.trials);
    }

    // Two charts to a page.
    const auto makers = chartMakers(r, figures, unitSystem);
    const double chartHeight = (kBodyBottom - kBodyTop - 30) / 2;
    for (std::size_t i = 0; i < makers.size(); ++i) {
        if (i % 2 == 0) {
            pages.newPage();
            if (i == 0)
                pages.paragraph(QStringLiteral("Charts"), font(15, true), 4.0);
        }
        const QRectF target(kMargin, pages.y(), kBodyWidth, chartHeight);
        drawChart(pages, makers[i](), target);
        pages.advance(chartHeight + 8);
    }
    pages.finishPage();
    return pages.page();
}

std::string failure(const std::string& path, const std::string& reason) {
    return "Cannot write the PDF report \"" + path + "\": " + reason + ".";
}

ReportTable reportTable(std::string title, const TrialTable& t) {
    return {std::move(title), t.headings, t.rows};
}

int layOutTrials(Pages& pages, const std::string& heading, const TrialTable& sideBySide,
                 const std::vector<TrialTable>& differences,
                 const std::vector<DistributionOverlay>& overlays, int unitSystem) {
    pages.paragraph(q(heading), font(15, true), 4.0);
    pages.paragraph(QStringLiteral("Every design analysed from the same seed for the same "
                                   "cycles: the same season, moduli, thicknesses and load in "
                                   "each cycle."),
                    font(8.5), 6.0);
    pages.table(reportTable("Designs Side by Side", sideBySide));
    for (const TrialTable& d : differences) {
        pages.table(reportTable(
            "Paired Differences, " + d.headings[1] + " - " + d.headings[2] + " (percentage points)",
            d));
    }
    // Two overlays to a page.
    const double chartHeight = (kBodyBottom - kBodyTop - 30) / 2;
    for (std::size_t i = 0; i < overlays.size(); ++i) {
        if (i % 2 == 0) {
            pages.newPage();
            if (i == 0)
                pages.paragraph(QStringLiteral("Distributions Across the Designs"), font(15, true),
                                4.0);
        }
        const QRectF target(kMargin, pages.y(), kBodyWidth, chartHeight);
        drawChart(
            pages,
            gui::distributionOverlayChart(overlays[i].designs, overlays[i].figures, unitSystem),
            target);
        pages.advance(chartHeight + 8);
    }
    pages.finishPage();
    return pages.page();
}

}  // namespace

namespace {

// Lays the pages out twice, once to count them for the footers and once to draw them, and puts
// the document in place of `path` whole.
FileResult writePages(const std::string& path, const std::string& title, const std::string& footer,
                      const std::function<int(Pages&)>& layOutPages) {
    if (path.empty())
        return {"Cannot write the PDF report: no file name was given."};
    ensureApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(q(title));
    writer.setCreator(QStringLiteral("Ardelon"));

    Pages counting(&writer, nullptr, footer, 0);
    const int pageCount = layOutPages(counting);

    QPainter painter;
    if (!painter.begin(&writer))
        return {failure(path, "the PDF could not be started")};
    painter.setRenderHint(QPainter::Antialiasing);
    Pages drawing(&writer, &painter, footer, pageCount);
    layOutPages(drawing);
    painter.end();
    buffer.close();

    if (std::string reason =
            replaceFileContents(path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        !reason.empty()) {
        return {failure(path, reason)};
    }
    return {};
}

}  // namespace

FileResult writeTrialsPdf(const std::string& heading, const TrialTable& sideBySide,
                          const std::vector<TrialTable>& differences,
                          const std::vector<DistributionOverlay>& overlays, int unitSystem,
                          const std::string& footer, const std::string& path) {
    return writePages(path, heading, footer, [&](Pages& pages) {
        return layOutTrials(pages, heading, sideBySide, differences, overlays, unitSystem);
    });
}

FileResult writePdfReport(const DesignReport& report, const RunFigures& figures, int unitSystem,
                          const std::string& path) {
    const std::string footer =
        report.projectName + "  |  " +
        (report.details.title.empty() ? std::string() : report.details.title + "  |  ") +
        report.date;
    return writePages(
        path, report.details.title.empty() ? "Pavement Design Report" : report.details.title,
        footer, [&](Pages& pages) { return layOut(pages, report, figures, unitSystem); });
}

}  // namespace ardelon::charts
