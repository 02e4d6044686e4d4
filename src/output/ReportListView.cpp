#include "output/ReportListView.h"

#include <algorithm>

namespace ardelon {

int addListRow(ReportListView& list, int row, int count,
               std::initializer_list<std::optional<std::string_view>> texts) {
    if (row < 0 || row > static_cast<int>(list.rows.size()) || count < 1)
        return -1;
    const std::size_t width = std::max(list.columns.size(), static_cast<std::size_t>(count));
    std::vector<std::string> cells(width);
    int i = 0;
    for (const auto& text : texts) {
        if (i >= count)
            break;
        if (text)
            cells[static_cast<std::size_t>(i)] = std::string(*text);
        ++i;
    }
    list.rows.insert(list.rows.begin() + row, std::move(cells));
    return row;
}

int addListRow(ReportListView& list, int row, const std::vector<std::string>& texts) {
    if (row < 0 || row > static_cast<int>(list.rows.size()) || texts.empty())
        return -1;
    std::vector<std::string> cells = texts;
    if (cells.size() < list.columns.size())
        cells.resize(list.columns.size());
    list.rows.insert(list.rows.begin() + row, std::move(cells));
    return row;
}

}  // namespace ardelon
