#include "reports/TrialsSheet.h"

#include <algorithm>

namespace ardelon {
namespace {

// Writes a titled table from `row`; returns the row after it.
int putTable(ReportSheet& sheet, int row, const std::string& title, const TrialTable& table) {
    sheet.text('A', row++, title, ReportStyle::Heading);
    const std::size_t columns = std::min<std::size_t>(table.headings.size(), kMaxSheetTrials + 1);
    for (std::size_t c = 0; c < columns; ++c) {
        sheet.text(static_cast<char>('A' + c), row, table.headings[c],
                   c == 0 ? ReportStyle::Left : ReportStyle::Center);
    }
    ++row;
    for (const auto& cells : table.rows) {
        for (std::size_t c = 0; c < std::min(columns, cells.size()); ++c) {
            sheet.text(static_cast<char>('A' + c), row, cells[c],
                       c == 0 ? ReportStyle::Left : ReportStyle::Center);
        }
        ++row;
    }
    return row + 1;
}

}  // namespace

ReportSheet trialsSheet(const TrialTable& sideBySide, const std::vector<TrialTable>& differences) {
    ReportSheet sheet;
    sheet.name = kTrialsSheet;
    sheet.header = "&F";
    sheet.footer = "Page &P of &N";
    sheet.landscape = true;
    sheet.fitToPageWidth = true;
    const std::size_t columns = std::max<std::size_t>(sideBySide.headings.size(), 6);
    sheet.width('A', 'A', 48);
    sheet.width('B', static_cast<char>('A' + std::min(columns, kMaxSheetTrials + 1) - 1), 26);
    sheet.text('A', 1, "Trial Designs Side by Side", ReportStyle::Title);
    int row = putTable(sheet, 3, "Designs", sideBySide);
    for (const TrialTable& d : differences) {
        row = putTable(sheet, row,
                       "Paired Differences, " + d.headings[1] + " - " + d.headings[2] +
                           " (same draws, percentage points)",
                       d);
    }
    return sheet;
}

FileResult writeTrialsWorkbook(const TrialTable& sideBySide,
                               const std::vector<TrialTable>& differences,
                               const std::string& path) {
    ReportWorkbook book;
    book.sheets.push_back(trialsSheet(sideBySide, differences));
    return saveWorkbook(book, path);
}

}  // namespace ardelon
