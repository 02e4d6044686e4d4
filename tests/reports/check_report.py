#!/usr/bin/python3
"""Reads an Ardelon report workbook back with openpyxl and checks it against the expected
workbook of one test project (the projects are built by ReportReadBackTest.cpp).

Usage: check_report.py PROJECT WORKBOOK COVER_PATH

Every sheet is compared cell by cell: the set of non-empty cells must be exactly the expected
one, each with its value, its type (number or text), font and horizontal alignment. Merges,
column widths, header, footer, margins, centring, orientation and gridlines are checked too.
Exits 0 when everything matches, 1 with one line per difference otherwise.
"""

import sys
import warnings
import xml.etree.ElementTree as ET
import zipfile

import openpyxl
from openpyxl.utils import column_index_from_string

# Styles: (font name or None for the default font, size, underline, horizontal alignment).
TITLE = ("Arial Black", 14, "singleAccounting", "left")
COVER_TITLE = ("Arial Black", 18, None, "left")
HEADING = ("Arial Black", 11, None, "left")
LEFT = (None, None, None, "left")
CENTER = (None, None, None, "center")
RIGHT = (None, None, None, "right")

FOOTER = "&D @ &T    Page &P of &N Pages"
SHEETS = ["Cover", "Performance Summary", "Structural Inputs", "Traffic"]
MATERIALS = ["AC", "Cracked AC", "PCC", "Rubb PCC", "C and S PCC", "B and S PCC",
             "Gran Base", "Soil", "Rock", "Other"]

errors = []


def fail(message):
    errors.append(message)


# ---------------------------------------------------------------------------------------------
# Expected workbooks, written out by hand from the inputs of each test project.


class Sheet:
    def __init__(self):
        self.cells = {}

    def put(self, ref, value, style):
        self.cells[ref] = (value, style)

    def row(self, row, values, styles):
        """Puts values into columns A, B, ... of a row; None leaves a cell empty."""
        for offset, value in enumerate(values):
            if value is not None:
                style = styles[offset] if isinstance(styles, list) else styles
                self.put(f"{chr(ord('A') + offset)}{row}", value, style)


def table_styles(count):
    """Result tables: right-aligned, except the units column E, left-aligned."""
    return [LEFT if offset == 4 else RIGHT for offset in range(count)]


def cover(path, layers, unit="in."):
    """layers: (thickness or "SemiInfinite", material or None) per layer."""
    s = Sheet()
    s.put("A1", "Ardelon 4.3", COVER_TITLE)
    s.put("A3", "File Location and Name:", HEADING)
    s.put("A4", path, HEADING)
    s.put("A6", "Pavement Cross Section", HEADING)
    s.put("A7", f"Thickness, {unit}", LEFT)
    s.put("C7", "Material Type", LEFT)
    for number, (thickness, material) in enumerate(layers, start=1):
        s.row(7 + number, [thickness, None, material], LEFT)
    return s


def performance(conventional, percentile):
    """conventional: rows of nine values A-I; percentile: rows of eight values A-H."""
    s = Sheet()
    s.put("A1", "Performance Summary", TITLE)
    s.put("A3", "Perpetual Pavement Design Results:  Conventional Design with Transfer "
          "Functions", HEADING)
    s.row(4, ["Layer", "Location", "Criteria", "Threshold", "Units", "% Below Critical",
              "Damage/Million Axle", "Years to D=0.1", "Years to D=1.0"], table_styles(9))
    for offset, values in enumerate(conventional):
        s.row(5 + offset, values, table_styles(9))
    title = 7 + len(conventional)
    s.put(f"A{title}", "Perpetual Pavement Design Results: Percentile Responses", HEADING)
    s.row(title + 1, ["Layer", "Location", "Criteria", "Target", "Units", "Target %tile",
                      "Actual %tile", "Pass/Fail?"], table_styles(8))
    for offset, values in enumerate(percentile):
        s.row(title + 2 + offset, values, table_styles(8))
    return s


NA_ROW = ["NA"] * 8


def structural(seasons, layers, moduli, unit="in."):
    """seasons: (weeks, temperature) or None per season 1-5; layers: (material, thickness,
    cov, distribution) per layer; moduli: (poisson, five moduli or "NA", cov, distribution)."""
    s = Sheet()
    s.put("A1", "Structural Inputs", TITLE)
    s.put("A3", "Seasonal Data", HEADING)
    s.row(4, ["Season", None] + [f"Season {k}" for k in range(1, 6)], LEFT)
    s.row(5, ["Duration, weeks", None] + [x[0] if x else "NA" for x in seasons], LEFT)
    s.row(6, ["Temperature, F", None] + [x[1] if x else "NA" for x in seasons], LEFT)
    s.put("A9", "Layer Thicknesses", HEADING)
    s.row(10, ["Layer", "Type", f"Avg Thickness, {unit}", None, "COV, %", "Distribution Type"],
          LEFT)
    for number, (material, thickness, cov, distribution) in enumerate(layers, start=1):
        s.row(10 + number, [number, material, thickness, None, cov, distribution], LEFT)
    s.put("A17", "Poisson Ratios and Seasonal Layer Moduli", HEADING)
    s.put("C18", "Average Modulus, psi", LEFT)
    s.row(19, ["Layer", "Poisson"] + [f"Season {k}" for k in range(1, 6)] +
          ["COV,%", "Distribution Type"], LEFT)
    for number, (poisson, seasonal, cov, distribution) in enumerate(moduli, start=1):
        s.row(19 + number, [number, poisson] + list(seasonal) + [cov, distribution], LEFT)
    return s


def spectra_value(configuration, k):
    """The load spectra every test project carries (ReportReadBackTest.cpp fills the same)."""
    return configuration * 100 + k * 0.5


def bin_label(k):
    return "110+" if k == 55 else f"{2 * k}-{2 * k + 2}"


def traffic(general, shares):
    s = Sheet()
    s.put("A1", "Traffic", TITLE)
    s.put("A3", "General Traffic Data", HEADING)
    labels = ["Two-Way AADT", "% Trucks", "% Trucks Design Lane", "Axle Groups/Day", "% Growth",
              "% Directional Distribution"]
    for offset, (label, value) in enumerate(zip(labels, general)):
        s.row(4 + offset, [label, None, value], LEFT)
    s.put("A11", "Axle Type Distribution", HEADING)
    for offset, (label, value) in enumerate(zip(["% Single", "% Tandem", "% Tridem", "% Steer"],
                                                shares)):
        s.row(12 + offset, [label, None, value], LEFT)
    s.put("A17", "Load Spectra", HEADING)
    headings = ["Axle Weight, kips", "Single, %", "Tandem, %", "Tridem, %", "Steer, %"]
    s.row(18, headings, CENTER)
    s.row(46, headings, CENTER)
    for k in range(56):
        row = 19 + k if k <= 26 else 20 + k
        s.row(row, [bin_label(k)] + [spectra_value(c, k) for c in range(4)], CENTER)
    return s


DEFAULT_TRAFFIC = traffic([1000, 10, 90, 1000, 4, 50], [50, 25, 25, 0])


# The projects of ReportReadBackTest.cpp.

def two_layer(path):
    return {
        "Cover": cover(path, [(10, "AC"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Bottom", "Horizontal Strain", -70, "microstrain", 95, 0.5, 0.55, 5.05]],
            [[2, "Top", "Vertical Strain", 200, "microstrain", 90, 92, "Pass"]]),
        "Structural Inputs": structural(
            [(26, 70), (8, 55), (12, 35), (6, 60), None],
            [("AC", 10, 5, "Normal"), ("Soil", "SemiInfinite", 0, "Normal")],
            [(0.35, [522958] * 4 + ["NA"], 30, "Lognormal"),
             (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal")]),
        "Traffic": DEFAULT_TRAFFIC,
    }


def five_layer(path):
    return {
        "Cover": cover(path, [(4, "AC"), (6, "PCC"), (8, "Gran Base"), (12, "Soil"),
                              ("SemiInfinite", "Rock")]),
        "Performance Summary": performance([], [NA_ROW]),
        "Structural Inputs": structural(
            [(20, 75), (10, 50), (10, 30), (6, 45), (6, 55)],
            [("AC", 4, 5, "Normal"), ("PCC", 6, 10, "Lognormal"), ("Gran Base", 8, 0, "Normal"),
             ("Soil", 12, 0, "Normal"), ("Rock", "SemiInfinite", "NA", "NA")],
            [(0.35, [500000, 600000, 700000, 800000, 900000], 30, "Lognormal"),
             (0.15, [4000000] * 5, 15, "Lognormal"),
             (0.4, [30000] * 5, 40, "Lognormal"),
             (0.45, [12000] * 5, 50, "Lognormal"),
             (0.25, [1000000] * 5, 0, "Normal")]),
        "Traffic": traffic([2400, 12.5, 80, 3000, 2, 55], [100, 0, 0, 0]),
    }


def no_percentile(path):
    return {
        "Cover": cover(path, [(6, "AC"), (10, "Gran Base"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Bottom", "Horizontal Strain", -65, "microstrain", 99.5, 1.25, 0.09, 0.88],
             [2, "Top", "Vertical Stress", 30, "psi", 100, 0, "Infinite", "Infinite"]],
            [NA_ROW]),
        "Structural Inputs": structural(
            [(26, 70), (8, 70), (12, 70), (6, 70), None],
            [("AC", 6, 5, "Normal"), ("Gran Base", 10, 0, "Normal"),
             ("Soil", "SemiInfinite", 0, "Normal")],
            [(0.35, [522958] * 4 + ["NA"], 30, "Lognormal"),
             (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal"),
             (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal")]),
        "Traffic": traffic([1000, 10, 90, 2500, 3, 50], [50, 25, 25, 0]),
    }


def strain_distribution(path):
    return {
        "Cover": cover(path, [(8, "AC"), (6, "AC"), (10, "Gran Base"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [],
            [[1, "Top", "Vertical Deflection", 20, "milli-in", 50, 50, "Fail"],
             [3, "Bottom", "Tensile Strain", -60, "microstrain", 95, 98, "Pass"],
             [None, None, None, -70, "microstrain", 85, 90, "Pass"],
             [None, None, None, -80, "microstrain", 75, 80, "Pass"],
             [None, None, None, -90, "microstrain", 65, 65, "Fail"],
             [None, None, None, -100, "microstrain", 55, 50, "Fail"]]),
        "Structural Inputs": structural(
            [(26, 70), (8, 70), (12, 70), (6, 70), None],
            [("AC", 8, 5, "Normal"), ("AC", 6, 0, "Normal"), ("Gran Base", 10, 0, "Normal"),
             ("Soil", "SemiInfinite", 0, "Normal")],
            [(0.35, [522958] * 4 + ["NA"], 30, "Lognormal")] +
            [(0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal")] * 3),
        "Traffic": DEFAULT_TRAFFIC,
    }


def three_conventional(path):
    return {
        "Cover": cover(path, [(5, "AC"), (12, "Gran Base"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Top", "Horizontal Stress", 150, "psi", 100, 0, "Infinite", "Infinite"],
             [1, "Bottom", "Horizontal Strain", -70, "microstrain", 90, 2, 0.14, 1.37],
             [2, "Bottom", "Vertical Strain", 200, "microstrain", 97.5, 0.02, 13.7, 136.99]],
            [[3, "Top", "Vertical Stress", 8, "psi", 85, 85.5, "Pass"]]),
        "Structural Inputs": structural(
            [(26, 70), (8, 70), (12, 70), (6, 70), None],
            [("AC", 5, 5, "Normal"), ("Gran Base", 12, 0, "Normal"),
             ("Soil", "SemiInfinite", 0, "Normal")],
            [(0.35, [522958] * 4 + ["NA"], 30, "Lognormal"),
             (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal"),
             (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal")]),
        "Traffic": traffic([1000, 10, 90, 1000, 0, 50], [50, 25, 25, 0]),
    }


def season4_disabled_metric(path):
    return {
        "Cover": cover(path, [(25.4, "AC"), (30.48, "Gran Base"), ("SemiInfinite", "Soil")],
                       unit="cm"),
        "Performance Summary": performance([], [NA_ROW]),
        "Structural Inputs": structural(
            [(30, 70), (10, 45), (12, 25), None, None],
            [("AC", 25.4, 5, "Normal"), ("Gran Base", 30.48, 0, "Normal"),
             ("Soil", "SemiInfinite", 0, "Normal")],
            [(0.35, [522958] * 3 + ["NA", "NA"], 30, "Lognormal"),
             (0.45, [12000, 15000, 24000, "NA", "NA"], 50, "Lognormal"),
             (0.45, [12000, 15000, 24000, "NA", "NA"], 50, "Lognormal")],
            unit="cm"),
        "Traffic": DEFAULT_TRAFFIC,
    }


PROJECTS = {
    "two_layer": two_layer,
    "five_layer": five_layer,
    "no_percentile": no_percentile,
    "strain_distribution": strain_distribution,
    "three_conventional": three_conventional,
    "season4_disabled_metric": season4_disabled_metric,
}

# ---------------------------------------------------------------------------------------------
# Layout common to every report.

MERGES = {
    "Cover": set(),
    "Performance Summary": {"A1:I1", "A3:E3"},
    "Structural Inputs": {"A1:J1", "A3:G3", "A4:B4", "A5:B5", "A6:B6", "A9:G9", "A17:G17",
                          "C18:G18"} | {f"C{r}:D{r}" for r in range(10, 16)}
                         | {f"F{r}:G{r}" for r in range(10, 16)},
    "Traffic": {"A1:F1"},
}

WIDTHS = {
    "Cover": {},
    "Performance Summary": {"C": 17.14, "D": 10.3, "E": 10.3, "F": 14.57, "G": 19.29,
                            "H": 12.71, "I": 12.71},
    "Structural Inputs": {"B": 11},
    "Traffic": {"A": 16, "B": 12, "C": 12, "D": 12, "E": 12},
}

PAGE = {  # header, landscape
    "Cover": ("&Z&F", False),
    "Performance Summary": ("Ardelon 4.3 - &Z&F", True),
    "Structural Inputs": ("Ardelon 4.3 - &Z&F", True),
    "Traffic": ("&Z&F", False),
}


def stored_width(characters):
    """The width a spreadsheet stores for a column it shows as `characters` wide: the shown
    width counts whole 7-pixel digits, the stored one adds the 5 pixels of cell padding, kept
    to 1/256 of a character."""
    pixels = int(characters * 7 + 0.5) + 5
    return int(pixels / 7 * 256) / 256


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def check_cell(sheet_name, ref, cell, value, style):
    where = f"{sheet_name}!{ref}"
    if is_number(value):
        if not is_number(cell.value) or cell.data_type != "n":
            fail(f"{where}: expected the number {value!r}, found {cell.value!r}")
        elif cell.value != value:
            fail(f"{where}: expected {value!r}, found {cell.value!r}")
    else:
        if cell.data_type != "s" or cell.value != value:
            fail(f"{where}: expected the text {value!r}, found {cell.value!r}")
    name, size, underline, horizontal = style
    font = cell.font
    if name is None:
        if font.name == "Arial Black" or font.u is not None:
            fail(f"{where}: expected the default font, found {font.name} underline {font.u}")
    else:
        if font.name != name or font.sz != size or font.u != underline:
            fail(f"{where}: expected font {name} {size} underline {underline}, found "
                 f"{font.name} {font.sz} underline {font.u}")
    if cell.alignment.horizontal != horizontal:
        fail(f"{where}: expected alignment {horizontal}, found {cell.alignment.horizontal}")


def check_page_setup(archive, sheet_name, sheet_file, ws):
    header, landscape = PAGE[sheet_name]
    root = ET.fromstring(archive.read(sheet_file))
    ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
    odd_header = root.find("m:headerFooter/m:oddHeader", ns)
    odd_footer = root.find("m:headerFooter/m:oddFooter", ns)
    if odd_header is None or odd_header.text != header:
        fail(f"{sheet_name}: header {None if odd_header is None else odd_header.text!r}, "
             f"expected {header!r}")
    if odd_footer is None or odd_footer.text != FOOTER:
        fail(f"{sheet_name}: footer {None if odd_footer is None else odd_footer.text!r}, "
             f"expected {FOOTER!r}")
    if ws.page_margins.header != 0.5 or ws.page_margins.footer != 0.5:
        fail(f"{sheet_name}: header/footer margins {ws.page_margins.header}/"
             f"{ws.page_margins.footer}, expected 0.5/0.5")
    if not ws.print_options.horizontalCentered:
        fail(f"{sheet_name}: not centred horizontally")
    orientation = ws.page_setup.orientation
    if (orientation == "landscape") != landscape:
        fail(f"{sheet_name}: orientation {orientation}, expected "
             f"{'landscape' if landscape else 'portrait'}")
    if ws.sheet_view.showGridLines is not False:
        fail(f"{sheet_name}: gridlines shown")


def check_widths(sheet_name, ws):
    expected = WIDTHS[sheet_name]
    found = {}
    for dimension in ws.column_dimensions.values():
        if dimension.customWidth:
            for index in range(dimension.min, dimension.max + 1):
                found[openpyxl.utils.get_column_letter(index)] = dimension.width
    if set(found) != set(expected):
        fail(f"{sheet_name}: widths set on {sorted(found)}, expected {sorted(expected)}")
    for letter, characters in expected.items():
        if letter in found and found[letter] != stored_width(characters):
            fail(f"{sheet_name}: column {letter} width {found[letter]}, expected "
                 f"{stored_width(characters)} (shown as {characters})")


def main():
    # openpyxl cannot split a header without section codes ("&Z&F" prints centred); the
    # headers and footers are read from the sheet XML below instead.
    warnings.filterwarnings("ignore", message="Cannot parse header or footer")
    if len(sys.argv) != 4 or sys.argv[1] not in PROJECTS:
        print(f"usage: check_report.py {{{','.join(PROJECTS)}}} WORKBOOK COVER_PATH")
        return 2
    project, workbook_path, cover_path = sys.argv[1:]
    expected = PROJECTS[project](cover_path)
    # Opened as a stream so that a name chosen without extension reads as well.
    with open(workbook_path, "rb") as stream:
        book = openpyxl.load_workbook(stream)
    if book.sheetnames != SHEETS:
        fail(f"sheets {book.sheetnames}, expected {SHEETS}")
    with zipfile.ZipFile(workbook_path) as archive:
        for position, sheet_name in enumerate(SHEETS):
            if sheet_name not in book.sheetnames:
                continue
            ws = book[sheet_name]
            check_page_setup(archive, sheet_name, f"xl/worksheets/sheet{position + 1}.xml", ws)
            merges = {str(r) for r in ws.merged_cells.ranges}
            if merges != MERGES[sheet_name]:
                fail(f"{sheet_name}: merges {sorted(merges)}, expected "
                     f"{sorted(MERGES[sheet_name])}")
            check_widths(sheet_name, ws)
            cells = expected[sheet_name].cells
            written = {c.coordinate for row in ws.iter_rows() for c in row if c.value is not None}
            for ref in sorted(written - set(cells)):
                fail(f"{sheet_name}!{ref}: unexpected {ws[ref].value!r}")
            for ref in sorted(set(cells) - written):
                fail(f"{sheet_name}!{ref}: missing {cells[ref][0]!r}")
            for ref, (value, style) in cells.items():
                if ref in written:
                    check_cell(sheet_name, ref, ws[ref], value, style)
    for message in errors:
        print(message)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
