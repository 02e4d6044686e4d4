#include "charts/PdfPages.h"

#include <QFontMetricsF>
#include <algorithm>

namespace ardelon::charts::pdf {

void Pages::newPage() {
    finishPage();
    if (drawing())
        writer_->newPage();
    ++page_;
    y_ = kBodyTop;
}

void Pages::ensureRoom(double height) {
    if (height > room() && y_ > kBodyTop)
        newPage();
}

void Pages::finishPage() {
    if (!drawing() || footerDrawn_ == page_)
        return;
    footerDrawn_ = page_;
    QPainter& p = *painter_;
    p.setPen(QPen(kRule, 0.5));
    const double top = kPageHeight - kMargin - kFooterHeight + 6;
    p.drawLine(QPointF(kMargin, top), QPointF(kPageWidth - kMargin, top));
    p.setFont(font(7.5));
    p.setPen(kInk);
    const QRectF area(kMargin, top + 3, kBodyWidth, kFooterHeight - 6);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, q(footer_));
    p.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount_));
}

double Pages::textHeight(const QString& text, const QFont& f, double width) const {
    const QFontMetricsF metrics(f, writer_);
    return metrics.boundingRect(QRectF(0, 0, width, 10000), Qt::TextWordWrap | Qt::AlignLeft, text)
        .height();
}

void Pages::paragraph(const QString& text, const QFont& f, double spaceAfter, QColor colour,
                      double indent) {
    const double h = textHeight(text, f, kBodyWidth - indent);
    ensureRoom(h);
    if (drawing()) {
        painter_->setFont(f);
        painter_->setPen(colour);
        painter_->drawText(QRectF(kMargin + indent, y_, kBodyWidth - indent, h),
                           Qt::TextWordWrap | Qt::AlignLeft, text);
    }
    y_ += h + spaceAfter;
}

void Pages::heading(const QString& text, double points) {
    ensureRoom(points * 4);  // never alone at the foot of a page
    y_ += points * 0.5;
    paragraph(text, font(points, true), 3.0);
    if (drawing()) {
        painter_->setPen(QPen(kRule, 0.6));
        painter_->drawLine(QPointF(kMargin, y_ - 1.5), QPointF(kPageWidth - kMargin, y_ - 1.5));
    }
    y_ += 3.0;
}

void Pages::table(const ReportTable& t, double points, double left, double bandWidth) {
    if (!t.title.empty() && bandWidth >= kBodyWidth)
        heading(q(t.title), 10.5);
    else if (!t.title.empty())
        paragraph(q(t.title), font(9.5, true), 2.0, kInk, left - kMargin);
    const QFont body = font(points), head = font(points, true);
    const QFontMetricsF bodyMetrics(body, writer_), headMetrics(head, writer_);
    const std::size_t n = t.columns.size();
    if (n == 0)
        return;
    // Columns as wide as their texts want; when that is too wide, each keeps its longest
    // word and the rest of the band goes to the columns that want more.
    std::vector<double> want(n, 0.0), least(n, 0.0);
    const auto widestWord = [](const QFontMetricsF& m, const QString& text) {
        double w = 0.0;
        for (const QString& word : text.split(QLatin1Char(' ')))
            w = std::max(w, m.horizontalAdvance(word));
        return w;
    };
    for (std::size_t c = 0; c < n; ++c) {
        want[c] = std::min(headMetrics.horizontalAdvance(q(t.columns[c])), 90.0);
        least[c] = widestWord(headMetrics, q(t.columns[c]));
        for (const auto& row : t.rows) {
            if (c < row.size()) {
                want[c] = std::max(want[c], bodyMetrics.horizontalAdvance(q(row[c])));
                least[c] = std::max(least[c], widestWord(bodyMetrics, q(row[c])));
            }
        }
        want[c] = std::max(want[c], least[c]) + 2 * kCellPadding + 1;
        least[c] += 2 * kCellPadding + 1;
    }
    double total = 0.0, leastTotal = 0.0;
    for (std::size_t c = 0; c < n; ++c) {
        total += want[c];
        leastTotal += least[c];
    }
    std::vector<double> width(want);
    if (total > bandWidth && leastTotal >= bandWidth) {
        for (std::size_t c = 0; c < n; ++c)
            width[c] = least[c] * bandWidth / leastTotal;
    } else if (total > bandWidth) {
        const double share = (bandWidth - leastTotal) / (total - leastTotal);
        for (std::size_t c = 0; c < n; ++c)
            width[c] = least[c] + (want[c] - least[c]) * share;
    }
    const double tableWidth = std::min(total, bandWidth);
    const auto rowHeight = [&](const std::vector<std::string>& cells, const QFont& f) {
        double h = 0.0;
        for (std::size_t c = 0; c < n && c < cells.size(); ++c)
            h = std::max(h, textHeight(q(cells[c]), f, width[c] - 2 * kCellPadding));
        return h + 2 * kCellPadding;
    };
    const double headHeight = rowHeight(t.columns, head);
    const auto drawRow = [&](const std::vector<std::string>& cells, const QFont& f, double h,
                             bool shaded) {
        if (!drawing())
            return;
        QPainter& p = *painter_;
        double x = left;
        if (shaded)
            p.fillRect(QRectF(left, y_, tableWidth, h), kShade);
        p.setFont(f);
        p.setPen(kInk);
        for (std::size_t c = 0; c < n && c < cells.size(); ++c) {
            p.drawText(QRectF(x + kCellPadding, y_ + kCellPadding, width[c] - 2 * kCellPadding,
                              h - 2 * kCellPadding),
                       Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, q(cells[c]));
            x += width[c];
        }
        p.setPen(QPen(kRule, 0.4));
        p.drawLine(QPointF(left, y_ + h), QPointF(left + tableWidth, y_ + h));
    };
    ensureRoom(headHeight + (t.rows.empty() ? 0.0 : rowHeight(t.rows.front(), body)));
    drawRow(t.columns, head, headHeight, true);
    y_ += headHeight;
    for (const auto& row : t.rows) {
        const double h = rowHeight(row, body);
        if (h > room()) {
            newPage();
            drawRow(t.columns, head, headHeight, true);
            y_ += headHeight;
        }
        drawRow(row, body, h, false);
        y_ += h;
    }
    if (t.rows.empty())
        paragraph(QStringLiteral("None."), body);
    y_ += 6.0;
}

}  // namespace ardelon::charts::pdf
