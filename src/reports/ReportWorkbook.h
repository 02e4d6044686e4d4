#pragma once
// A formatted workbook as plain data: sheets with their page setup, merged ranges, column widths
// and styled cells. The report is built as this model first, so that what goes where can be
// read and tested without a spreadsheet library; `saveWorkbook` then writes it as an .xlsx file.
//
// Cells are addressed the way an engineer reads a sheet: a column letter 'A' to 'Z' and a row
// number counted from 1.

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "project/ProjectFile.h"

namespace ardelon {

// The six cell styles of the report.
enum class ReportStyle : int {
    Title,       // "Arial Black" 14 pt, single accounting underline, left
    CoverTitle,  // "Arial Black" 18 pt, left
    Heading,     // "Arial Black" 11 pt, left
    Left,        // default font, left
    Center,      // default font, centre
    Right,       // default font, right
};

// A cell holds either a number (stored as a number, General format) or a text.
using CellValue = std::variant<double, std::string>;

struct ReportCell {
    CellValue value;
    ReportStyle style = ReportStyle::Left;

    bool operator==(const ReportCell&) const = default;
};

struct CellRange {
    char firstColumn = 'A';
    int firstRow = 1;
    char lastColumn = 'A';
    int lastRow = 1;
    ReportStyle style = ReportStyle::Left;  // style of the blank cells the merge covers
};

struct ColumnWidth {
    char firstColumn = 'A';
    char lastColumn = 'A';
    double characters = 0.0;  // width as the spreadsheet shows it, in characters
};

// A native chart of the workbook, drawing ranges of one of its sheets.
struct ChartSeries {
    std::string name;
    std::string sheet;   // the sheet holding the data
    char xColumn = 'A';  // x values (categories of a column chart)
    char yColumn = 'B';
    int firstRow = 1;
    int lastRow = 1;
    bool marksOnly = false;  // points without a connecting line
    unsigned colour = 0;     // 0xRRGGBB of the line, or 0 for the spreadsheet's own choice
    bool operator==(const ChartSeries&) const = default;
};

enum class ChartKind { Lines, StackedColumns, Columns };

struct ReportChart {
    ChartKind kind = ChartKind::Lines;
    std::string title;
    std::string xTitle;
    std::string yTitle;
    bool logY = false;
    double yMin = NAN;  // NaN: the spreadsheet's own choice
    double yMax = NAN;
    bool yReversed = false;  // the x axis then runs along the bottom, at the largest y
    double xMin = NAN;       // NaN: the spreadsheet's own choice
    double xMax = NAN;
    int xLabelRotation = 0;  // degrees of the x axis's labels, -90 to 90 (0: upright)
    std::vector<ChartSeries> series;
    char column = 'A';  // top-left cell
    int row = 1;
    double widthScale = 1.0;  // relative to a chart of half the printed width
};

struct ReportSheet {
    std::string name;
    std::string header;  // header language codes: &Z folder, &F file, &D date, &T time, ...
    std::string footer;
    double headerMarginInches = 0.5;
    double footerMarginInches = 0.5;
    bool centredHorizontally = true;
    bool landscape = false;
    bool gridlinesHidden = true;
    std::vector<CellRange> merges;
    std::vector<ColumnWidth> widths;
    std::vector<ReportChart> charts;
    std::vector<int> pageBreaksBeforeRows;  // manual page breaks above these rows
    bool fitToPageWidth = false;            // printed one page wide, as many pages tall as needed
    int printLastRow = 0;  // > 0: only rows 1 to this row, columns A to printLastColumn, print
    char printLastColumn = 'A';

    // A later write to the same cell replaces the earlier one, as on a real sheet.
    void text(char column, int row, std::string value, ReportStyle style);
    // An infinite value is written as the text "Infinite" ("-Infinite"), an undefined one as
    // "NA": a workbook cannot store them as numbers. A number format ("0.00", "0.000E+00")
    // rounds what the sheet shows and keeps the stored value whole.
    void number(char column, int row, double value, ReportStyle style,
                std::string numberFormat = {});
    // The number format of a cell, or empty for the General format.
    std::string numberFormatAt(char column, int row) const;
    void merge(char firstColumn, int firstRow, char lastColumn, int lastRow, ReportStyle style);
    void width(char firstColumn, char lastColumn, double characters);

    // The cell at a column letter and row number, or nullptr when nothing was written there.
    const ReportCell* at(char column, int row) const;
    // Every written cell, keyed by (row from 1, column index from 0), in row-major order.
    const std::map<std::pair<int, int>, ReportCell>& cells() const { return cells_; }

  private:
    std::map<std::pair<int, int>, ReportCell> cells_;
    std::map<std::pair<int, int>, std::string> numberFormats_;
};

struct ReportWorkbook {
    std::vector<ReportSheet> sheets;

    const ReportSheet* sheet(const std::string& name) const;
};

// Writes the workbook as an .xlsx file at `path`, exactly as named (no extension is added).
// The file is first written under a temporary name in the same folder and then renamed, so a
// failed save never leaves a partial workbook under the chosen name and never destroys a file
// that was there before. The message of a failure names the path and the reason.
FileResult saveWorkbook(const ReportWorkbook& workbook, const std::string& path);

}  // namespace ardelon
