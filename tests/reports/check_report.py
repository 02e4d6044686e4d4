#!/usr/bin/python3
"""Reads an Ardelon report workbook back with openpyxl and checks it against the expected
workbook of one test project (the projects are built by ReportReadBackTest.cpp).

Usage: check_report.py PROJECT WORKBOOK COVER_PATH

Every sheet is compared cell by cell: the set of non-empty cells must be exactly the expected
one, each with its value, its type (number or text), font and horizontal alignment. Merges,
column widths, header, footer, margins, centring, orientation and gridlines are checked too.
Exits 0 when everything matches, 1 with one line per difference otherwise.
"""

import math
import sys
import warnings
import xml.etree.ElementTree as ET
import zipfile

import openpyxl

# Styles: (font name or None for the default font, size, underline, horizontal alignment).
TITLE = ("Arial Black", 14, "singleAccounting", "left")
COVER_TITLE = ("Arial Black", 18, None, "left")
HEADING = ("Arial Black", 11, None, "left")
LEFT, CENTER, RIGHT = [(None, None, None, horizontal) for horizontal in ("left", "center", "right")]
# The writing library's default font, which the plain styles keep.
DEFAULT_FONT = ("Calibri", 11, None)

FOOTER = "&D @ &T    Page &P of &N Pages"
SHEETS = ["Cover", "Performance Summary", "Structural Inputs", "Traffic"]

errors = []
fail = errors.append

# ---------------------------------------------------------------------------------------------
# Expected workbooks: a sheet is a dict from cell reference to (value, style), filled from the
# compact tables of each test project below.


def row(cells, number, values, styles):
    """Puts values into columns A, B, ... of a row; None leaves a cell empty. styles is one
    style for the row or a list with one per column."""
    for offset, value in enumerate(values):
        if value is not None:
            style = styles[offset] if isinstance(styles, list) else styles
            cells[f"{chr(ord('A') + offset)}{number}"] = (value, style)
    return cells


def table_styles(count):
    """Result tables: right-aligned, except the units column E, left-aligned."""
    return [LEFT if offset == 4 else RIGHT for offset in range(count)]


def cover(path, layers, unit="in."):
    """layers: (thickness or "SemiInfinite", material or None) per layer."""
    s = {"A1": ("Ardelon 4.3", COVER_TITLE), "A3": ("File Location and Name:", HEADING),
         "A4": (path, HEADING), "A6": ("Pavement Cross Section", HEADING)}
    row(s, 7, [f"Thickness, {unit}", None, "Material Type"], LEFT)
    for number, (thickness, material) in enumerate(layers, start=1):
        row(s, 7 + number, [thickness, None, material], LEFT)
    return s


def performance(conventional, percentile):
    """conventional: rows of nine values A-I; percentile: rows of eight values A-H."""
    s = {"A1": ("Performance Summary", TITLE),
         "A3": ("Perpetual Pavement Design Results:  Conventional Design with Transfer "
                "Functions", HEADING)}
    rows = [["Layer", "Location", "Criteria", "Threshold", "Units", "% Below Critical",
             "Damage/Million Axle", "Years to D=0.1", "Years to D=1.0"]] + conventional
    for offset, values in enumerate(rows):
        row(s, 4 + offset, values, table_styles(9))
    title = 7 + len(conventional)
    s[f"A{title}"] = ("Perpetual Pavement Design Results: Percentile Responses", HEADING)
    rows = [["Layer", "Location", "Criteria", "Target", "Units", "Target %tile", "Actual %tile",
             "Pass/Fail?"]] + percentile
    for offset, values in enumerate(rows):
        row(s, title + 1 + offset, values, table_styles(8))
    return s


def structural(seasons, layers, moduli, unit="in.", metric=False):
    """seasons: (weeks, temperature) or None per season 1-5; layers: (material, thickness,
    cov, distribution) per layer; moduli: (poisson, five moduli or "NA", cov, distribution)."""
    s = {"A1": ("Structural Inputs", TITLE), "A3": ("Seasonal Data", HEADING),
         "A9": ("Layer Thicknesses", HEADING),
         "A17": ("Poisson Ratios and Seasonal Layer Moduli", HEADING),
         "C18": ("Average Modulus, MPa" if metric else "Average Modulus, psi", LEFT)}
    if metric:  # degrees C and MPa, to two decimals
        seasons = [(x[0], round((x[1] - 32) * 0.5555555555555556 * 100) / 100) if x else None
                   for x in seasons]
        moduli = [(p, [m if m == "NA" else round(m * 0.00689476 * 100) / 100 for m in seasonal],
                   cov, d) for p, seasonal, cov, d in moduli]
    seasons_row = [f"Season {k}" for k in range(1, 6)]
    row(s, 4, ["Season", None] + seasons_row, LEFT)
    row(s, 5, ["Duration, weeks", None] + [x[0] if x else "NA" for x in seasons], LEFT)
    row(s, 6, ["Temperature, C" if metric else "Temperature, F", None] +
        [x[1] if x else "NA" for x in seasons], LEFT)
    row(s, 10, ["Layer", "Type", f"Avg Thickness, {unit}", None, "COV, %", "Distribution Type"],
        LEFT)
    for number, (material, thickness, cov, distribution) in enumerate(layers, start=1):
        row(s, 10 + number, [number, material, thickness, None, cov, distribution], LEFT)
    row(s, 19, ["Layer", "Poisson"] + seasons_row + ["COV,%", "Distribution Type"], LEFT)
    for number, (poisson, seasonal, cov, distribution) in enumerate(moduli, start=1):
        row(s, 19 + number, [number, poisson] + list(seasonal) + [cov, distribution], LEFT)
    return s


def metric_bin(k):
    """The weight class of bin k in whole kN: the same 2-kip bins."""
    kn = lambda kips: str(int(kips * 4.4482216152605 + 0.5))
    return kn(2 * k) + "+" if k == 55 else f"{kn(2 * k)}-{kn(2 * k + 2)}"


def percent_of_axle_groups(values):
    """A distribution that does not add up to 100 is shown as shares of its total."""
    total = sum(values, 0.0)
    if total <= 0 or abs(total - 100.0) <= 0.5:
        return values if total > 0 else [0.0] * len(values)
    return [v * 100.0 / total for v in values]


def traffic(general, shares, metric=False):
    s = {"A1": ("Traffic", TITLE), "A3": ("General Traffic Data", HEADING),
         "A11": ("Axle Type Distribution", HEADING), "A17": ("Load Spectra", HEADING)}
    labels = ["Two-Way AADT", "% Trucks", "% Trucks Design Lane", "Axle Groups/Day", "% Growth",
              "% Directional Distribution", None, None, "% Single", "% Tandem", "% Tridem",
              "% Steer"]
    for offset, (label, value) in enumerate(zip(labels, general + [None, None] + shares)):
        if label:
            row(s, 4 + offset, [label, None, value], LEFT)
    headings = ["Axle Weight, kN" if metric else "Axle Weight, kips", "Single, %", "Tandem, %",
                "Tridem, %", "Steer, %"]
    row(s, 18, headings, CENTER)
    row(s, 46, headings, CENTER)
    # The load spectra every test project carries (ReportReadBackTest.cpp fills the same), as
    # percentages of each configuration's axle groups.
    spectra = [percent_of_axle_groups([c * 100 + k * 0.5 for k in range(56)]) for c in range(4)]
    for k in range(56):
        label = metric_bin(k) if metric else "110+" if k == 55 else f"{2 * k}-{2 * k + 2}"
        row(s, 19 + k if k <= 26 else 20 + k, [label] + [spectra[c][k] for c in range(4)],
            CENTER)
    return s


# The projects of ReportReadBackTest.cpp, from their common parts.
DEFAULT_TRAFFIC = traffic([1000, 10, 90, 1000, 4, 50], [50, 25, 25, 0])
SEASONS_AT_70 = [(26, 70), (8, 70), (12, 70), (6, 70), None]
AC_MODULI = (0.35, [522958] * 4 + ["NA"], 30, "Lognormal")
SOIL_MODULI = (0.45, [12000, 15000, 24000, 15000, "NA"], 50, "Lognormal")
NA_ROW = ["NA"] * 8


def layers(*rows):
    """(material, thickness, cov) per layer, normal distribution: the Structural Inputs rows."""
    return [(material, thickness, cov, "Normal") for material, thickness, cov in rows]


PROJECTS = {
    "two_layer": lambda path: {
        "Cover": cover(path, [(10, "AC"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Bottom", "Horizontal Strain", -70, "microstrain", 95, 0.5, 0.55, 5.05]],
            [[2, "Top", "Vertical Strain", 200, "microstrain", 90, 92, "Pass"]]),
        "Structural Inputs": structural(
            [(26, 70), (8, 55), (12, 35), (6, 60), None],
            layers(("AC", 10, 5), ("Soil", "SemiInfinite", 0)), [AC_MODULI, SOIL_MODULI]),
        "Traffic": DEFAULT_TRAFFIC,
    },
    "five_layer": lambda path: {
        "Cover": cover(path, [(4, "AC"), (6, "PCC"), (8, "Gran Base"), (12, "Soil"),
                                     ("SemiInfinite", "Rock")]),
        "Performance Summary": performance([], [NA_ROW]),
        "Structural Inputs": structural(
            [(20, 75), (10, 50), (10, 30), (6, 45), (6, 55)],
            [("AC", 4, 5, "Normal"), ("PCC", 6, 10, "Lognormal"), ("Gran Base", 8, 0, "Normal"),
             ("Soil", 12, 0, "Normal"), ("Rock", "SemiInfinite", "NA", "NA")],
            [(0.35, [500000, 600000, 700000, 800000, 900000], 30, "Lognormal"),
             (0.15, [4000000] * 5, 15, "Lognormal"), (0.4, [30000] * 5, 40, "Lognormal"),
             (0.45, [12000] * 5, 50, "Lognormal"), (0.25, [1000000] * 5, 0, "Normal")]),
        "Traffic": traffic([2400, 12.5, 80, 3000, 2, 55], [100, 0, 0, 0]),
    },
    "no_percentile": lambda path: {
        "Cover": cover(path, [(6, "AC"), (10, "Gran Base"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Bottom", "Horizontal Strain", -65, "microstrain", 99.5, 1.25, 0.09, 0.88],
             [2, "Top", "Vertical Stress", 30, "psi", 100, 0, "Infinite", "Infinite"]],
            [NA_ROW]),
        "Structural Inputs": structural(
            SEASONS_AT_70,
            layers(("AC", 6, 5), ("Gran Base", 10, 0), ("Soil", "SemiInfinite", 0)),
            [AC_MODULI, SOIL_MODULI, SOIL_MODULI]),
        "Traffic": traffic([1000, 10, 90, 2500, 3, 50], [50, 25, 25, 0]),
    },
    "strain_distribution": lambda path: {
        "Cover": cover(path, [(8, "AC"), (6, "AC"), (10, "Gran Base"),
                                     ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [],
            [[1, "Top", "Vertical Deflection", 20, "milli-in", 50, 50, "Fail"],
             [1, "Bottom", "Principal Strain", -90, "microstrain", 80, 88, "Pass"],
             [3, "Bottom", "Tensile Strain", -60, "microstrain", 95, 98, "Pass"]] +
            [[None, None, None, limit, "microstrain", target, actual, verdict]
             for limit, target, actual, verdict in [(-70, 85, 91.96, "Pass"), (-80, 75, 80, "Pass"),
                                                    (-90, 65, 65, "Fail"), (-100, 55, 50, "Fail")]]),
        "Structural Inputs": structural(
            SEASONS_AT_70,
            layers(("AC", 8, 5), ("AC", 6, 0), ("Gran Base", 10, 0), ("Soil", "SemiInfinite", 0)),
            [AC_MODULI] + [SOIL_MODULI] * 3),
        "Traffic": DEFAULT_TRAFFIC,
    },
    "three_conventional": lambda path: {
        "Cover": cover(path, [(5, "AC"), (12, "Gran Base"), ("SemiInfinite", "Soil")]),
        "Performance Summary": performance(
            [[1, "Top", "Horizontal Stress", 150, "psi", 100, 0, "Infinite", "Infinite"],
             [1, "Bottom", "Horizontal Strain", -70, "microstrain", 90, 2, 0.14, 1.37],
             [2, "Bottom", "Vertical Strain", 200, "microstrain", 97.5, 0.02, 13.7, 136.99]],
            [[3, "Top", "Vertical Stress", 8, "psi", 85, 85.5, "Pass"]]),
        "Structural Inputs": structural(
            SEASONS_AT_70,
            layers(("AC", 5, 5), ("Gran Base", 12, 0), ("Soil", "SemiInfinite", 0)),
            [AC_MODULI, SOIL_MODULI, SOIL_MODULI]),
        "Traffic": traffic([1000, 10, 90, 1000, 0, 50], [50, 25, 25, 0]),
    },
    "season4_disabled_metric": lambda path: {
        "Cover": cover(path, [(25.4, "AC"), (30.48, "Gran Base"), ("SemiInfinite", "Soil")],
                       unit="cm"),
        "Performance Summary": performance([], [NA_ROW]),
        "Structural Inputs": structural(
            [(30, 70), (10, 45), (12, 25), None, None],
            layers(("AC", 25.4, 5), ("Gran Base", 30.48, 0), ("Soil", "SemiInfinite", 0)),
            [(0.35, [522958] * 3 + ["NA", "NA"], 30, "Lognormal")] +
            [(0.45, [12000, 15000, 24000, "NA", "NA"], 50, "Lognormal")] * 2,
            unit="cm", metric=True),
        "Traffic": traffic([1000, 10, 90, 1000, 4, 50], [50, 25, 25, 0], metric=True),
    },
}

# ---------------------------------------------------------------------------------------------
# Layout common to every report: merges, column widths (as shown), header and orientation.

LAYOUT = {
    "Cover": (set(), {}, "&Z&F", False),
    "Performance Summary": (
        {"A1:I1", "A3:I3"},
        {"C": 17.14, "D": 10.3, "E": 10.3, "F": 14.57, "G": 19.29, "H": 12.71, "I": 12.71},
        "Ardelon 4.3 - &Z&F", True),
    "Structural Inputs": (
        {"A1:J1", "A3:G3", "A4:B4", "A5:B5", "A6:B6", "A9:G9", "A17:G17", "C18:G18"}
        | {f"{span}{r}:{end}{r}" for r in range(10, 16) for span, end in (("C", "D"), ("F", "G"))},
        {"B": 11}, "Ardelon 4.3 - &Z&F", True),
    "Traffic": ({"A1:F1"}, {"A": 16, "B": 12, "C": 12, "D": 12, "E": 12}, "&Z&F", False),
}
# Printed pages: the rows a page ends after, and whether the sheet is fitted to one page wide.
PAGES = {"Cover": ([], True), "Performance Summary": ([], True), "Structural Inputs": ([], True),
         "Traffic": ([45], True)}
# Number formats of the computed cells: percentages and years to two decimals, damage to four
# significant figures.
FORMATS = {"% Below Critical": "0.00", "Damage/Million Axle": "0.000E+00",
           "Years to D=0.1": "0.00", "Years to D=1.0": "0.00", "Target %tile": "0.00",
           "Actual %tile": "0.00"}


def check_formats(ws):
    """Every number under a computed heading of the Performance Summary carries its format."""
    headings = {}
    for row_ in ws.iter_rows():
        for cell in row_:
            if cell.value in FORMATS:
                headings[cell.column_letter] = cell.value
            elif is_number(cell.value) and cell.column_letter in headings:
                expected = FORMATS[headings[cell.column_letter]]
                if cell.number_format != expected:
                    fail(f"Performance Summary!{cell.coordinate}: number format "
                         f"{cell.number_format!r}, expected {expected!r}")


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def check_cell(where, cell, value, style):
    if is_number(value):
        if not is_number(cell.value) or cell.data_type != "n":
            fail(f"{where}: expected the number {value!r}, found {cell.value!r}")
        # The file keeps 15 significant digits: a computed share reads back to that.
        elif cell.value != value and not math.isclose(cell.value, value, rel_tol=1e-14):
            fail(f"{where}: expected {value!r}, found {cell.value!r}")
    elif cell.data_type != "s" or cell.value != value:
        fail(f"{where}: expected the text {value!r}, found {cell.value!r}")
    name, size, underline, horizontal = style
    font = (cell.font.name, cell.font.sz, cell.font.u)
    expected = DEFAULT_FONT if name is None else (name, size, underline)
    if font != expected:
        fail(f"{where}: expected font {expected[0]} {expected[1]} underline {expected[2]}, found "
             f"{font[0]} {font[1]} underline {font[2]}")
    if cell.alignment.horizontal != horizontal:
        fail(f"{where}: expected alignment {horizontal}, found {cell.alignment.horizontal}")


def check_layout(archive, sheet_name, sheet_file, ws):
    merges, widths, header, landscape = LAYOUT[sheet_name]
    ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
    root = ET.fromstring(archive.read(sheet_file))
    header_footer = [getattr(root.find(f"m:headerFooter/m:{tag}", ns), "text", None)
                     for tag in ("oddHeader", "oddFooter")]
    stored = {openpyxl.utils.get_column_letter(index): dimension.width
              for dimension in ws.column_dimensions.values() if dimension.customWidth
              for index in range(dimension.min, dimension.max + 1)}
    for what, found, expected in (
            ("header and footer", header_footer, [header, FOOTER]),
            ("header/footer margins", (ws.page_margins.header, ws.page_margins.footer), (0.5, 0.5)),
            ("centred horizontally", ws.print_options.horizontalCentered, True),
            ("landscape", ws.page_setup.orientation == "landscape", landscape),
            ("gridlines shown", ws.sheet_view.showGridLines, False),
            ("page breaks and fit to width",
             ([b.id for b in ws.row_breaks.brk],
              bool(ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage)
              and ws.page_setup.fitToWidth in (None, 1) and ws.page_setup.fitToHeight == 0),
             PAGES.get(sheet_name, ([], False))),
            ("merges", sorted(str(r) for r in ws.merged_cells.ranges), sorted(merges)),
            # As shown (whole 7-pixel digits) plus 5 pixels of padding, kept to 1/256 character.
            ("column widths", stored,
             {letter: int((int(shown * 7 + 0.5) + 5) / 7 * 256) / 256
              for letter, shown in widths.items()})):
        if found != expected:
            fail(f"{sheet_name}: {what} {found!r}, expected {expected!r}")


def main():
    # openpyxl cannot split a header without section codes ("&Z&F" prints centred); the
    # headers and footers are read from the sheet XML instead.
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
            check_layout(archive, sheet_name, f"xl/worksheets/sheet{position + 1}.xml", ws)
            cells = expected[sheet_name]
            written = {c.coordinate for row_ in ws.iter_rows() for c in row_ if c.value is not None}
            for ref in sorted(written - set(cells)):
                fail(f"{sheet_name}!{ref}: unexpected {ws[ref].value!r}")
            for ref in sorted(set(cells) - written):
                fail(f"{sheet_name}!{ref}: missing {cells[ref][0]!r}")
            for ref, (value, style) in cells.items():
                if ref in written:
                    check_cell(f"{sheet_name}!{ref}", ws[ref], value, style)
            if sheet_name == "Performance Summary":
                check_formats(ws)
    for message in errors:
        print(message)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
