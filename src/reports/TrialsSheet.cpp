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
    // Each column as wide as its longest text (the names of the rows are long).
    std::vector<std::size_t> widest(kMaxSheetTrials + 1, 8);
    auto measure = [&widest](const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < std::min(cells.size(), widest.size()); ++c)
            widest[c] = std::max(widest[c], std::min<std::size_t>(cells[c].size(), 90));
    };
    for (const TrialTable* t : {&sideBySide}) {
        measure(t->headings);
        for (const auto& r : t->rows)
            measure(r);
    }
    for (const TrialTable& t : differences) {
        measure(t.headings);
        for (const auto& r : t.rows)
            measure(r);
    }
    for (std::size_t c = 0; c < widest.size(); ++c) {
        const char column = static_cast<char>('A' + c);
        sheet.width(column, column, static_cast<double>(widest[c]) + 2.0);
    }
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
