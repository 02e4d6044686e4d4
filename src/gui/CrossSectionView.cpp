#include "gui/CrossSectionView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/QtDialogHost.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "project/Units.h"

namespace ardelon::gui {

namespace {

QString numberText(double value) {
    return QString::number(value, 'g', 7);
}

struct MaterialLook {
    QColor fill;
    Qt::BrushStyle texture;
    QColor textureColor;
};

MaterialLook lookOf(int materialType) {
    switch (static_cast<MaterialType>(materialType)) {
        case MaterialType::AC:
            return {QColor(58, 58, 60), Qt::NoBrush, {}};
        case MaterialType::CrackedAC:
            return {QColor(84, 84, 86), Qt::BDiagPattern, QColor(30, 30, 30)};
        case MaterialType::PCC:
            return {QColor(204, 204, 196), Qt::NoBrush, {}};
        case MaterialType::RubbPCC:
            return {QColor(186, 184, 174), Qt::Dense6Pattern, QColor(120, 118, 110)};
        case MaterialType::CandSPCC:
            return {QColor(194, 192, 182), Qt::VerPattern, QColor(140, 138, 130)};
        case MaterialType::BandSPCC:
            return {QColor(178, 176, 166), Qt::CrossPattern, QColor(130, 128, 120)};
        case MaterialType::GranBase:
            return {QColor(214, 186, 140), Qt::Dense6Pattern, QColor(150, 120, 80)};
        case MaterialType::Soil:
            return {QColor(150, 112, 76), Qt::Dense7Pattern, QColor(110, 80, 50)};
        case MaterialType::Rock:
            return {QColor(128, 124, 120), Qt::DiagCrossPattern, QColor(90, 88, 84)};
        case MaterialType::Other:
            return {QColor(170, 196, 214), Qt::NoBrush, {}};
    }
    return {Qt::white, Qt::NoBrush, {}};
}

// A round step for the depth ruler: about six ticks over the drawn depth.
double rulerStep(double depth) {
    const double raw = std::max(depth / 6.0, 1e-9);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (raw <= factor * magnitude)
            return factor * magnitude;
    }
    return 10 * magnitude;
}

void drawTirePair(QPainter& p, double centreX, double groundY, double tireWidth,
                  double tireHeight) {
    for (double offset : {-tireWidth * 0.6, tireWidth * 0.6}) {
        QRectF tire(centreX + offset - tireWidth / 2, groundY - tireHeight, tireWidth, tireHeight);
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(QColor(35, 35, 38));
        p.drawRoundedRect(tire, tireWidth * 0.25, tireWidth * 0.25);
        p.setPen(QPen(QColor(80, 80, 84), 1));
        for (int groove = 1; groove < 4; ++groove) {
            const double x = tire.left() + tire.width() * groove / 4.0;
            p.drawLine(QPointF(x, tire.top() + 4), QPointF(x, tire.bottom() - 4));
        }
    }
}

}  // namespace

std::vector<SectionBand> sectionBands(const CStenorDoc& project) {
    // The drawing follows the units the engineer chose, whatever units the values are held in
    // until the Structure module converts them.
    const bool english = shownInEnglish(project);
    const bool heldEnglish = heldInEnglish(project);
    const QString lengthUnit = english ? QStringLiteral("in") : QStringLiteral("cm");
    const QString modulusUnit = english ? QStringLiteral("psi") : QStringLiteral("MPa");
    const double lengthFactor =
        english == heldEnglish ? 1.0 : (english ? 1.0 / units::kInchToCm : units::kInchToCm);
    const double modulusFactor =
        english == heldEnglish ? 1.0 : (english ? 1.0 / units::kPsiToMpa : units::kPsiToMpa);
    const int layers = std::clamp(project.layerCountIndex, 0, 3) + 2;

    std::vector<SectionBand> bands;
    double depth = 0;
    for (int layer = 1; layer <= layers; ++layer) {
        SectionBand band;
        const MaterialType material = materialOf(layer, project.materialIndex[layer - 1]);
        band.materialType = static_cast<int>(material);
        band.material = toQString(materialName(material));
        if (material == MaterialType::AC && layer <= kThicknessCount) {
            const int high = std::clamp(project.pgHighIndex[layer - 1], 0, 6);
            const int low = std::clamp(project.pgLowIndex[layer - 1], 0, 5);
            band.material += QStringLiteral(" (PG %1%2)")
                                 .arg(toQString(kPgHighGrades[high]), toQString(kPgLowGrades[low]));
        }
        band.modulus = QStringLiteral("E = %1 %2")
                           .arg(numberText(roundHalfUpTwoDecimals(project.layerModulus[layer - 1] *
                                                                  modulusFactor)),
                                modulusUnit);
        band.depthTop = depth;
        if (layer == layers) {
            band.infinite = true;
            band.thickness = QStringLiteral("Infinite");
            band.depthBottom = depth;
        } else {
            const double thickness =
                roundHalfUpTwoDecimals(std::max(project.thickness[layer - 1], 0.0) * lengthFactor);
            band.thickness = numberText(thickness) + QLatin1Char(' ') + lengthUnit;
            depth += thickness;
            band.depthBottom = depth;
        }
        bands.push_back(band);
    }
    return bands;
}

CrossSectionView::CrossSectionView(const CStenorDoc& project, QWidget* parent)
    : QWidget(parent), project_(project) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 247));
    setPalette(palette);
}

namespace {

// Where the drawing goes in a widget of the given size, and the depth scale of the layers.
struct SectionGeometry {
    double margin = 16;
    double rulerWidth = 56;
    double left = 0, sectionWidth = 0, right = 0;
    double axleHeight = 0, surfaceY = 0, bottomY = 0;
    double finiteDepth = 0;  // the depth of the top of the semi-infinite layer
    double scale = 0;        // pixels per unit of depth

    SectionGeometry(double width, double height, const std::vector<SectionBand>& bands) {
        left = margin + rulerWidth;
        sectionWidth = std::max(200.0, width * 0.52);
        right = left + sectionWidth;
        axleHeight = std::clamp(height * 0.24, 90.0, 150.0);
        surfaceY = margin + axleHeight;
        bottomY = height - margin - 18;
        const double available = std::max(60.0, bottomY - surfaceY);
        // The finite layers share the height left above a fixed band for the bottom layer.
        finiteDepth = bands.empty() ? 0.0 : bands.back().depthTop;
        const double infiniteHeight = std::max(56.0, available * 0.22);
        scale = finiteDepth > 0 ? (available - infiniteHeight) / finiteDepth : 0.0;
    }
    double yOf(double depth) const { return surfaceY + depth * scale; }
};

// A layer's label to the right of the section, and the mid-height of the layer it names.
struct SectionLabel {
    double anchorY;
    double y;
    const SectionBand* band;
};

void drawTitle(QPainter& p, const SectionGeometry& g, double width, const QFont& font,
               const CStenorDoc& project, std::size_t layers) {
    QFont titleFont = font;
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRectF(g.right + 24, g.margin, width - g.right - 24 - g.margin, 24),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pavement cross-section"));
    p.setFont(font);
    QStringList axles;
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (project.configurationEnabled[c])
            axles << toQString(kConfigurationNames[c]);
    }
    p.setPen(QColor(90, 90, 90));
    p.drawText(
        QRectF(g.right + 24, g.margin + 26, width - g.right - 24 - g.margin, 40),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        QStringLiteral("%1 layers, drawn to scale\nAxle groups: %2")
            .arg(layers)
            .arg(axles.isEmpty() ? QStringLiteral("none") : axles.join(QStringLiteral(", "))));
}

// The layers to scale; gives each layer's label at its mid-height.
std::vector<SectionLabel> drawLayers(QPainter& p, const SectionGeometry& g,
                                     const std::vector<SectionBand>& bands) {
    std::vector<SectionLabel> labels;
    for (const SectionBand& band : bands) {
        const double top = g.yOf(band.depthTop);
        const double bottom = band.infinite ? g.bottomY : g.yOf(band.depthBottom);
        QRectF rect(g.left, top, g.sectionWidth, std::max(bottom - top, 1.0));
        const MaterialLook look = lookOf(band.materialType);
        p.setPen(Qt::NoPen);
        p.setBrush(look.fill);
        p.drawRect(rect);
        if (look.texture != Qt::NoBrush) {
            p.setBrush(QBrush(look.textureColor, look.texture));
            p.drawRect(rect);
        }
        p.setPen(QPen(QColor(30, 30, 30), 1));
        p.drawLine(QPointF(g.left, top), QPointF(g.right, top));
        labels.push_back({(top + bottom) / 2, (top + bottom) / 2, &band});
    }
    // The semi-infinite layer fades out at the bottom instead of ending in a line.
    QLinearGradient fade(0, g.bottomY - 30, 0, g.bottomY);
    fade.setColorAt(0, QColor(250, 250, 247, 0));
    fade.setColorAt(1, QColor(250, 250, 247, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawRect(QRectF(g.left, g.bottomY - 30, g.sectionWidth, 31));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawLine(QPointF(g.left, g.surfaceY), QPointF(g.left, g.bottomY - 10));
    p.drawLine(QPointF(g.right, g.surfaceY), QPointF(g.right, g.bottomY - 10));
    return labels;
}

// The depth ruler over the finite layers.
void drawRuler(QPainter& p, const SectionGeometry& g, const QString& lengthUnit) {
    if (g.finiteDepth <= 0)
        return;
    const double step = rulerStep(g.finiteDepth);
    p.setPen(QColor(60, 60, 60));
    const double rulerX = g.left - 10;
    p.drawLine(QPointF(rulerX, g.surfaceY), QPointF(rulerX, g.yOf(g.finiteDepth)));
    for (double d = 0; d <= g.finiteDepth + step * 1e-9; d += step) {
        const double y = g.yOf(d);
        p.drawLine(QPointF(rulerX - 5, y), QPointF(rulerX, y));
        p.drawText(QRectF(g.margin - 6, y - 8, g.rulerWidth - 16, 16),
                   Qt::AlignRight | Qt::AlignVCenter, numberText(d));
    }
    p.drawText(QRectF(g.margin - 6, g.surfaceY - 30, g.rulerWidth + 40, 16),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Depth, %1").arg(lengthUnit));
}

// The labels to the right, spread so that they never overlap, with leader lines to their layer.
void drawLabels(QPainter& p, const SectionGeometry& g, const QFont& font,
                std::vector<SectionLabel> labels) {
    const QFontMetricsF metrics(font);
    const double labelHeight = metrics.height() * 2 + 6;
    for (std::size_t i = 1; i < labels.size(); ++i)
        labels[i].y = std::max(labels[i].y, labels[i - 1].y + labelHeight);
    const double lastAllowed = g.bottomY - labelHeight / 2;
    if (!labels.empty() && labels.back().y > lastAllowed) {
        labels.back().y = lastAllowed;
        for (std::size_t i = labels.size() - 1; i-- > 0;)
            labels[i].y = std::min(labels[i].y, labels[i + 1].y - labelHeight);
    }
    const double labelX = g.right + 40;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const SectionLabel& label = labels[i];
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawLine(QPointF(g.right - 14, label.anchorY), QPointF(g.right + 14, label.anchorY));
        p.drawLine(QPointF(g.right + 14, label.anchorY), QPointF(labelX - 6, label.y));
        // The anchor dot stays visible on dark asphalt and on light concrete alike.
        p.setPen(QPen(Qt::white, 1.2));
        p.setBrush(QColor(200, 40, 30));
        p.drawEllipse(QPointF(g.right - 14, label.anchorY), 3.5, 3.5);

        QFont bold = font;
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(QColor(25, 25, 25));
        const QString heading =
            QStringLiteral("Layer %1  %2").arg(static_cast<int>(i) + 1).arg(label.band->material);
        p.drawText(QPointF(labelX, label.y - 2), heading);
        p.setFont(font);
        p.setPen(QColor(70, 70, 70));
        p.drawText(QPointF(labelX, label.y + metrics.height()),
                   QStringLiteral("%1,  %2").arg(label.band->thickness, label.band->modulus));
    }
}

// The axle on the surface: dual tires on both ends, a load arrow over each tire pair.
void drawAxle(QPainter& p, const SectionGeometry& g) {
    const double tireHeight = std::min(g.axleHeight * 0.55, 64.0);
    const double tireWidth = tireHeight * 0.38;
    const double centre = (g.left + g.right) / 2;
    const double track = g.sectionWidth * 0.30;
    const double surfaceY = g.surfaceY;
    p.setPen(QPen(QColor(70, 70, 75), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(centre - track, surfaceY - tireHeight / 2),
               QPointF(centre + track, surfaceY - tireHeight / 2));
    p.setBrush(QColor(110, 110, 116));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawRoundedRect(QRectF(centre - 22, surfaceY - tireHeight / 2 - 12, 44, 24), 6, 6);
    for (double side : {-1.0, 1.0}) {
        const double x = centre + side * track;
        drawTirePair(p, x, surfaceY, tireWidth, tireHeight);
        const double arrowTop = surfaceY - tireHeight - 40;
        const double arrowTip = surfaceY - tireHeight - 6;
        p.setPen(QPen(QColor(170, 40, 30), 2));
        p.drawLine(QPointF(x, arrowTop), QPointF(x, arrowTip));
        QPainterPath head;
        head.moveTo(x, arrowTip + 2);
        head.lineTo(x - 6, arrowTip - 9);
        head.lineTo(x + 6, arrowTip - 9);
        head.closeSubpath();
        p.fillPath(head, QColor(170, 40, 30));
    }
}

}  // namespace

void CrossSectionView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<SectionBand> bands = sectionBands(project_);
    const bool english = project_.unitSystem != Metric;
    const SectionGeometry geometry(width(), height(), bands);
    const QFont small = font();
    drawTitle(p, geometry, width(), small, project_, bands.size());
    std::vector<SectionLabel> labels = drawLayers(p, geometry, bands);
    p.setFont(small);
    drawRuler(p, geometry, english ? QStringLiteral("in") : QStringLiteral("cm"));
    drawLabels(p, geometry, small, std::move(labels));
    drawAxle(p, geometry);
}

}  // namespace ardelon::gui
