#pragma once
// A report-style list view as the dialogs fill it: columns with widths, rows of texts. The
// desktop shows it in a list widget; tests and the command-line tool read it directly.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardelon {

struct ListColumn {
    std::string heading;
    int widthPixels = 0;

    bool operator==(const ListColumn&) const = default;
};

struct ReportListView {
    std::vector<ListColumn> columns;
    std::vector<std::vector<std::string>> rows;  // one text per column, "" when not set

    // Deletes every row and column.
    void clear() {
        rows.clear();
        columns.clear();
    }
    void insertColumn(std::string_view heading, int widthPixels) {
        columns.push_back({std::string(heading), widthPixels});
    }
};

// Inserts a row at position `row` with the first text, then sets the texts of columns 1 to
// count − 1, skipping missing ones. Returns the new row's index, or −1 when the position lies
// beyond the rows (nothing is changed then).
int addListRow(ReportListView& list, int row, int count,
               std::initializer_list<std::optional<std::string_view>> texts);
int addListRow(ReportListView& list, int row, const std::vector<std::string>& texts);

}  // namespace ardelon
