#include "reports/ReportWorkbook.h"

#include <xlsxwriter.h>

#include "project/ReplacingFile.h"
#include "project/SafeText.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <system_error>

namespace ardelon {
namespace {

int columnIndex(char column) {
    return column - 'A';
}

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

std::string saveFailure(const std::string& path, const std::string& reason) {
    return "Cannot save the report \"" + path + "\": " + reason + ".";
}

// The six formats of the report, created once per workbook before any sheet.
using FormatTable = std::array<lxw_format*, 6>;

lxw_format* makeFormat(lxw_workbook* book, const char* fontName, double points,
                       bool accountingUnderline, uint8_t alignment) {
    lxw_format* format = workbook_add_format(book);
    if (!format)
        return format;
    if (fontName) {
        format_set_font_name(format, fontName);
        format_set_font_size(format, points);
    }
    if (accountingUnderline)
        format_set_underline(format, LXW_UNDERLINE_SINGLE_ACCOUNTING);
    format_set_align(format, alignment);
    return format;
}

// A style with a number format, made the first time a cell asks for the pair.
class NumberFormats {
  public:
    explicit NumberFormats(lxw_workbook* book) : book_(book) {}
    lxw_format* get(ReportStyle style, const std::string& numberFormat) {
        const auto key = std::make_pair(style, numberFormat);
        if (const auto found = made_.find(key); found != made_.end())
            return found->second;
        const uint8_t alignment = style == ReportStyle::Center  ? LXW_ALIGN_CENTER
                                  : style == ReportStyle::Right ? LXW_ALIGN_RIGHT
                                                                : LXW_ALIGN_LEFT;
        lxw_format* format = makeFormat(book_, nullptr, 0, false, alignment);
        if (format)
            format_set_num_format(format, numberFormat.c_str());
        made_[key] = format;
        return format;
    }

  private:
    lxw_workbook* book_;
    std::map<std::pair<ReportStyle, std::string>, lxw_format*> made_;
};

FormatTable createFormats(lxw_workbook* book) {
    FormatTable formats{};
    const auto make = [book](const char* fontName, double points, bool accountingUnderline,
                             uint8_t alignment) {
        return makeFormat(book, fontName, points, accountingUnderline, alignment);
    };
    formats[static_cast<int>(ReportStyle::Title)] = make("Arial Black", 14, true, LXW_ALIGN_LEFT);
    formats[static_cast<int>(ReportStyle::CoverTitle)] =
        make("Arial Black", 18, false, LXW_ALIGN_LEFT);
    formats[static_cast<int>(ReportStyle::Heading)] =
        make("Arial Black", 11, false, LXW_ALIGN_LEFT);
    formats[static_cast<int>(ReportStyle::Left)] = make(nullptr, 0, false, LXW_ALIGN_LEFT);
    formats[static_cast<int>(ReportStyle::Center)] = make(nullptr, 0, false, LXW_ALIGN_CENTER);
    formats[static_cast<int>(ReportStyle::Right)] = make(nullptr, 0, false, LXW_ALIGN_RIGHT);
    return formats;
}

std::string rangeFormula(const std::string& sheet, char column, int firstRow, int lastRow) {
    const std::string col(1, column);
    return "='" + sheet + "'!$" + col + "$" + std::to_string(firstRow) + ":$" + col + "$" +
           std::to_string(lastRow);
}

// Adds a native chart of the workbook at its anchor cell. The strings the library keeps are
// owned by the model, which outlives the workbook's closing.
lxw_error insertChart(lxw_workbook* book, lxw_worksheet* sheet, const ReportChart& model,
                      std::deque<std::string>& formulas) {
    const uint8_t type = model.kind == ChartKind::Lines            ? LXW_CHART_SCATTER_STRAIGHT
                         : model.kind == ChartKind::StackedColumns ? LXW_CHART_COLUMN_STACKED
                                                                   : LXW_CHART_COLUMN;
    lxw_chart* chart = workbook_add_chart(book, type);
    if (!chart)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (const ChartSeries& s : model.series) {
        formulas.push_back(rangeFormula(s.sheet, s.xColumn, s.firstRow, s.lastRow));
        const std::string& x = formulas.back();
        formulas.push_back(rangeFormula(s.sheet, s.yColumn, s.firstRow, s.lastRow));
        const std::string& y = formulas.back();
        lxw_chart_series* series = chart_add_series(chart, x.c_str(), y.c_str());
        if (!series)
            return LXW_ERROR_MEMORY_MALLOC_FAILED;
        chart_series_set_name(series, xmlSafeText(s.name).c_str());
        if (s.colour != 0 && !s.marksOnly && model.kind == ChartKind::Lines) {
            lxw_chart_line line{};
            line.color = s.colour;
            line.width = 1.75;
            chart_series_set_line(series, &line);
        } else if (s.colour != 0 && !s.marksOnly) {
            lxw_chart_fill fill{};
            fill.color = s.colour;
            chart_series_set_fill(series, &fill);
        }
        if (s.marksOnly) {
            lxw_chart_line none{};
            none.none = LXW_TRUE;
            chart_series_set_line(series, &none);
            chart_series_set_marker_type(series, LXW_CHART_MARKER_DIAMOND);
            chart_series_set_marker_size(series, 8);
            lxw_chart_fill fill{};
            fill.color = 0x202020;
            chart_series_set_marker_fill(series, &fill);
            lxw_chart_line border{};
            border.color = 0x202020;
            chart_series_set_marker_line(series, &border);
        }
    }
    chart_title_set_name(chart, xmlSafeText(model.title).c_str());
    lxw_chart_font titleFont{};
    titleFont.size = 11;
    titleFont.bold = LXW_TRUE;
    chart_title_set_name_font(chart, &titleFont);
    chart_axis_set_name(chart->x_axis, xmlSafeText(model.xTitle).c_str());
    if (model.kind == ChartKind::Lines) {
        // The axes meet at the lower left whatever the sign of the values.
        chart_axis_set_crossing_min(chart->x_axis);
        if (model.yReversed)
            chart_axis_set_crossing_max(chart->y_axis);  // reversed: the largest y is lowest
        else
            chart_axis_set_crossing_min(chart->y_axis);
    }
    if (!std::isnan(model.xMin))
        chart_axis_set_min(chart->x_axis, model.xMin);
    if (!std::isnan(model.xMax))
        chart_axis_set_max(chart->x_axis, model.xMax);
    if (model.xLabelRotation != 0) {
        lxw_chart_font labels{};
        labels.rotation = model.xLabelRotation;
        chart_axis_set_num_font(chart->x_axis, &labels);
    }
    chart_axis_set_name(chart->y_axis, xmlSafeText(model.yTitle).c_str());
    if (model.logY)
        chart_axis_set_log_base(chart->y_axis, 10);
    if (!std::isnan(model.yMin))
        chart_axis_set_min(chart->y_axis, model.yMin);
    if (!std::isnan(model.yMax))
        chart_axis_set_max(chart->y_axis, model.yMax);
    if (model.yReversed)
        chart_axis_set_reverse(chart->y_axis);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    lxw_chart_options place{};
    // Two charts side by side fill the width of a landscape page.
    place.x_scale = 0.95 * model.widthScale;
    place.y_scale = 1.05;
    return worksheet_insert_chart_opt(sheet, static_cast<lxw_row_t>(model.row - 1),
                                      static_cast<lxw_col_t>(columnIndex(model.column)), chart,
                                      &place);
}

// Fills one worksheet from its model; returns the library's first error.
lxw_error writeSheet(lxw_workbook* book, const FormatTable& formats, NumberFormats& numberFormats,
                     const ReportSheet& model, std::deque<std::string>& formulas) {
    if (lxw_error e = workbook_validate_sheet_name(book, model.name.c_str()))
        return e;
    lxw_worksheet* sheet = workbook_add_worksheet(book, model.name.c_str());
    if (!sheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    const auto format = [&formats](ReportStyle style) {
        return formats[static_cast<std::size_t>(style)];
    };

    lxw_header_footer_options headerOptions{};
    headerOptions.margin = model.headerMarginInches;
    if (lxw_error e =
            worksheet_set_header_opt(sheet, xmlSafeText(model.header).c_str(), &headerOptions)) {
        return e;
    }
    lxw_header_footer_options footerOptions{};
    footerOptions.margin = model.footerMarginInches;
    if (lxw_error e =
            worksheet_set_footer_opt(sheet, xmlSafeText(model.footer).c_str(), &footerOptions)) {
        return e;
    }
    if (model.centredHorizontally)
        worksheet_center_horizontally(sheet);
    if (model.landscape)
        worksheet_set_landscape(sheet);
    if (model.gridlinesHidden)
        worksheet_gridlines(sheet, LXW_HIDE_ALL_GRIDLINES);

    for (const CellRange& range : model.merges) {
        if (lxw_error e = worksheet_merge_range(
                sheet, static_cast<lxw_row_t>(range.firstRow - 1),
                static_cast<lxw_col_t>(columnIndex(range.firstColumn)),
                static_cast<lxw_row_t>(range.lastRow - 1),
                static_cast<lxw_col_t>(columnIndex(range.lastColumn)), "", format(range.style))) {
            return e;
        }
    }
    for (const ColumnWidth& width : model.widths) {
        if (lxw_error e = worksheet_set_column(
                sheet, static_cast<lxw_col_t>(columnIndex(width.firstColumn)),
                static_cast<lxw_col_t>(columnIndex(width.lastColumn)), width.characters, nullptr)) {
            return e;
        }
    }
    // Cells written after the merges replace the blank first cell of a merged range.
    for (const auto& [position, cell] : model.cells()) {
        const auto row = static_cast<lxw_row_t>(position.first - 1);
        const auto column = static_cast<lxw_col_t>(position.second);
        lxw_error e = LXW_NO_ERROR;
        if (const double* number = std::get_if<double>(&cell.value)) {
            const std::string numberFormat =
                model.numberFormatAt(static_cast<char>('A' + position.second), position.first);
            lxw_format* f = numberFormat.empty() ? format(cell.style)
                                                 : numberFormats.get(cell.style, numberFormat);
            if (!f)
                return LXW_ERROR_MEMORY_MALLOC_FAILED;
            e = worksheet_write_number(sheet, row, column, *number, f);
        } else {
            // Text from outside (a file name in any encoding) must not break the sheet's XML.
            e = worksheet_write_string(sheet, row, column,
                                       xmlSafeText(std::get<std::string>(cell.value)).c_str(),
                                       format(cell.style));
        }
        if (e)
            return e;
    }
    if (!model.pageBreaksBeforeRows.empty()) {
        std::vector<lxw_row_t> breaks;
        for (int row : model.pageBreaksBeforeRows)
            breaks.push_back(static_cast<lxw_row_t>(row - 1));
        breaks.push_back(0);  // the list ends with 0
        if (lxw_error e = worksheet_set_h_pagebreaks(sheet, breaks.data()))
            return e;
    }
    if (model.fitToPageWidth)
        worksheet_fit_to_pages(sheet, 1, 0);
    if (model.printLastRow > 0) {
        if (lxw_error e =
                worksheet_print_area(sheet, 0, 0, static_cast<lxw_row_t>(model.printLastRow - 1),
                                     static_cast<lxw_col_t>(columnIndex(model.printLastColumn))))
            return e;
    }
    for (const ReportChart& chart : model.charts) {
        if (lxw_error e = insertChart(book, sheet, chart, formulas))
            return e;
    }
    return LXW_NO_ERROR;
}

}  // namespace

void ReportSheet::text(char column, int row, std::string value, ReportStyle style) {
    cells_[{row, columnIndex(column)}] = ReportCell{std::move(value), style};
    numberFormats_.erase({row, columnIndex(column)});
}

void ReportSheet::number(char column, int row, double value, ReportStyle style,
                         std::string numberFormat) {
    // A spreadsheet cell cannot hold an infinite or undefined number (the file would be
    // refused as corrupt), so such a result is written as a word.
    if (std::isnan(value)) {
        text(column, row, "NA", style);
    } else if (std::isinf(value)) {
        text(column, row, value > 0 ? "Infinite" : "-Infinite", style);
    } else {
        cells_[{row, columnIndex(column)}] = ReportCell{value, style};
        if (numberFormat.empty())
            numberFormats_.erase({row, columnIndex(column)});
        else
            numberFormats_[{row, columnIndex(column)}] = std::move(numberFormat);
    }
}

std::string ReportSheet::numberFormatAt(char column, int row) const {
    const auto found = numberFormats_.find({row, columnIndex(column)});
    return found == numberFormats_.end() ? std::string() : found->second;
}

void ReportSheet::merge(char firstColumn, int firstRow, char lastColumn, int lastRow,
                        ReportStyle style) {
    merges.push_back(CellRange{firstColumn, firstRow, lastColumn, lastRow, style});
}

void ReportSheet::width(char firstColumn, char lastColumn, double characters) {
    widths.push_back(ColumnWidth{firstColumn, lastColumn, characters});
}

const ReportCell* ReportSheet::at(char column, int row) const {
    const auto found = cells_.find({row, columnIndex(column)});
    return found == cells_.end() ? nullptr : &found->second;
}

const ReportSheet* ReportWorkbook::sheet(const std::string& name) const {
    for (const ReportSheet& s : sheets) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

FileResult saveWorkbook(const ReportWorkbook& workbook, const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty())
        return {"Cannot save the report: no file name was given."};
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        return {saveFailure(path, "the folder \"" + folder.string() + "\" does not exist")};
    }
    if (!fs::is_directory(folder, ec)) {
        return {saveFailure(path, "\"" + folder.string() + "\" is not a folder")};
    }
    if (fs::is_directory(target, ec))
        return {saveFailure(path, "a folder of that name exists")};

    // The workbook goes to a temporary file beside the target, created here, so the system's own
    // reason (permissions, read-only medium, ...) is given when the folder refuses files.
    ReplacingFile file;
    if (std::string reason = file.open(path); !reason.empty())
        return {saveFailure(path, reason)};
    // Every early return below discards the temporary (ReplacingFile's destructor).

    lxw_workbook* book = workbook_new(file.nameForWriting().c_str());
    if (!book) {
        return {saveFailure(path, "out of memory")};
    }
    const FormatTable formats = createFormats(book);
    for (lxw_format* format : formats) {
        if (!format) {
            lxw_workbook_free(book);
            return {saveFailure(path, "out of memory")};
        }
    }
    // The chart range formulas must live until the workbook is closed; a deque keeps them in
    // place while it grows.
    std::deque<std::string> formulas;
    NumberFormats numberFormats(book);
    for (const ReportSheet& sheet : workbook.sheets) {
        if (lxw_error e = writeSheet(book, formats, numberFormats, sheet, formulas)) {
            lxw_workbook_free(book);
            return {saveFailure(path, lxw_strerror(e))};
        }
    }

    errno = 0;
    const lxw_error closed = workbook_close(book);  // writes the file and frees the workbook
    const int closeErrno = errno;
    if (closed != LXW_NO_ERROR) {
        // A full disk or a lost medium shows up as a system error; prefer its wording.
        return {saveFailure(
            path, closeErrno != 0 ? systemReason(closeErrno) : std::string(lxw_strerror(closed)))};
    }
    if (std::string reason = file.commit(); !reason.empty())
        return {saveFailure(path, reason)};
    return {};
}

}  // namespace ardelon
