#pragma once
// The page layout of the PDF design report: US Letter pages written top to bottom with a footer
// "Page n of N", paragraphs, headings and tables that break across pages.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <string>
#include <utility>

#include "reports/DesignReport.h"

namespace ardelon::charts::pdf {

// US Letter in points (the writer's resolution is set to 72 dots per inch).
constexpr double kPageWidth = 612.0;
constexpr double kPageHeight = 792.0;
constexpr double kMargin = 46.0;
constexpr double kFooterHeight = 22.0;
constexpr double kBodyTop = kMargin;
constexpr double kBodyBottom = kPageHeight - kMargin - kFooterHeight;
constexpr double kBodyWidth = kPageWidth - 2 * kMargin;
constexpr double kCellPadding = 3.0;

inline const QColor kInk(0x20, 0x20, 0x20);
inline const QColor kRule(0xa0, 0xa0, 0xa0);
inline const QColor kShade(0xee, 0xf1, 0xf5);

inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}

inline QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Lays out the report from top to bottom, page by page. The same walk runs twice: once to count
// the pages (nothing is drawn), once to draw with "Page n of N" known.
class Pages {
  public:
    Pages(QPdfWriter* writer, QPainter* painter, std::string footer, int pageCount)
        : writer_(writer), painter_(painter), footer_(std::move(footer)), pageCount_(pageCount) {}

    bool drawing() const { return painter_ != nullptr; }
    int page() const { return page_; }
    double y() const { return y_; }
    double room() const { return kBodyBottom - y_; }
    void advance(double height) { y_ += height; }
    void moveTo(double y) { y_ = y; }

    void newPage();
    void ensureRoom(double height);
    void finishPage();

    double textHeight(const QString& text, const QFont& f, double width) const;
    // A paragraph across the body, moved to a new page when it does not fit.
    void paragraph(const QString& text, const QFont& f, double spaceAfter = 4.0,
                   QColor colour = kInk, double indent = 0.0);
    void heading(const QString& text, double points = 12.0);

    // A table across the body (or the band from `left` of `bandWidth`); rows go to the next
    // page with the column headings repeated.
    void table(const ReportTable& t, double points = 7.5, double left = kMargin,
               double bandWidth = kBodyWidth);

    QPainter* painter() const { return painter_; }
    QPdfWriter* writer() const { return writer_; }

  private:
    QPdfWriter* writer_;
    QPainter* painter_;
    std::string footer_;
    int pageCount_;
    int page_ = 1;
    int footerDrawn_ = 0;
    double y_ = kBodyTop;
};

}  // namespace ardelon::charts::pdf
