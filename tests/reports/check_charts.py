#!/usr/bin/python3
"""Reads the Charts and Run sheets of an Ardelon workbook back with openpyxl and checks them
against the figure data the program wrote as CSV (analyze --figures).

Usage: check_charts.py WORKBOOK FIGURE_FOLDER CYCLES SEED

The workbook must hold the four report sheets, then "Charts" and "Run"; every chart's series
must point at ranges of the Run sheet whose numbers equal the figure data: one response
distribution chart per criterion row (curve, limit and marks), one damage chart (log scale, D = 1.0
in red) per transfer-function row with damage, one chart of what governs per row and
endurance-limit level with exceedances (and per row with damage), and the load spectra. Exits 0 when all holds, 1 with one
line per difference otherwise.
"""

import csv
import math
import re
import sys
import warnings

import openpyxl

errors = []
fail = errors.append


def same(a, b):
    return a == b or (isinstance(a, float) and isinstance(b, float)
                      and math.isclose(a, b, rel_tol=1e-14, abs_tol=1e-12))


def read_csv(folder, name):
    with open(f"{folder}/{name}", newline="") as f:
        return list(csv.DictReader(f))


def cells(book, ref):
    m = re.fullmatch(r"'?([^'!]+)'?!\$([A-Z])\$(\d+):\$([A-Z])\$(\d+)", ref)
    if not m or m.group(2) != m.group(4):
        fail(f"unexpected range {ref}")
        return []
    sheet, column, first, last = m.group(1), m.group(2), int(m.group(3)), int(m.group(5))
    if sheet != "Run":
        fail(f"{ref} does not point at the Run sheet")
    ws = book[sheet]
    return [ws[f"{column}{row}"].value for row in range(first, last + 1)]


def title_of(item):  # a chart or an axis
    return "".join(r.t for p in item.title.tx.rich.p for r in (p.r or []))


def series_data(book, chart):
    data = {}
    for s in chart.series:
        name = s.tx.v
        if s.xVal is not None:
            data[name] = (cells(book, s.xVal.numRef.f), cells(book, s.yVal.numRef.f))
        else:
            cat = s.cat.strRef.f if s.cat.strRef is not None else s.cat.numRef.f
            data[name] = (cells(book, cat), cells(book, s.val.numRef.f))
    return data


def grouped(folder, name):
    """The rows of a figure file by (layer, location, criterion)."""
    groups = {}
    for r in read_csv(folder, name):
        groups.setdefault((r["layer"], r["location"], r["criterion"]), []).append(r)
    return groups


def floats(rows, column):
    return [float(r[column]) for r in rows]


def main():
    workbook, folder, cycles, seed = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        book = openpyxl.load_workbook(workbook)
    expected_sheets = ["Cover", "Performance Summary", "Structural Inputs", "Traffic", "Charts",
                       "Run"]
    if book.sheetnames != expected_sheets:
        fail(f"sheets {book.sheetnames}")
        return
    run = book["Run"]
    record = {run[f"A{r}"].value: run[f"C{r}"].value for r in range(4, 12)}
    if record.get("Monte Carlo Cycles") != cycles or record.get("Seed") != seed:
        fail(f"run record {record}")
    if not str(record.get("Program Version", "")).startswith("Ardelon "):
        fail(f"program version {record.get('Program Version')}")

    curves = grouped(folder, "response-distributions.csv")
    limits = grouped(folder, "response-limits.csv")
    damage = grouped(folder, "damage-over-time.csv")
    spectra = read_csv(folder, "load-spectra.csv")
    weight_class = next(k for k in spectra[0] if k.startswith("weight_class"))
    # What governs: the shares by (row, level) and kind, {(configuration, weight class): percent}.
    governing = {}
    for r in read_csv(folder, "governing-loads.csv"):
        block = (r["layer"], r["location"], r["criterion"], r["level"])
        for kind in ("exceedance", "damage"):
            if float(r[f"{kind}_percent"]) > 0:
                governing.setdefault((block, kind), {})[
                    (r["configuration"], r[next(k for k in r if k.startswith("weight_class"))])
                ] = float(r[f"{kind}_percent"])

    charts = book["Charts"]._charts
    if len(charts) != len(curves) + len(damage) + len(governing) + 1:
        fail(f"{len(charts)} charts for {len(curves)} rows, {len(damage)} damage curves and "
             f"{len(governing)} governing blocks")
    seen = set()
    for chart in charts:
        title = title_of(chart)
        data = series_data(book, chart)
        if title == "Load Spectra":
            seen.add(title)
            for name, (labels, values) in data.items():
                if labels != [r[weight_class] for r in spectra]:
                    fail("load spectra categories differ")
                expected = floats(spectra, name + "_percent")
                if len(values) != len(expected) or not all(map(same, values, expected)):
                    fail(f"load spectra of {name} differ")
            continue
        g = re.fullmatch(r"Layer (\d) (Top|Middle|Bottom), (.+?): share of (exceedances|damage)"
                         r"(?: \((\d\dth) percentile, .+\))?", title)
        if g:
            key = ((g.group(1), g.group(2), g.group(3), g.group(5) or ""),
                   "exceedance" if g.group(4) == "exceedances" else "damage")
            expected = governing.pop(key, None)
            if expected is None:
                fail(f"{title}: no such block in governing-loads.csv")
                continue
            drawn = {(name, label): value for name, (labels, values) in data.items()
                     for label, value in zip(labels, values) if value}
            if drawn.keys() != expected.keys() or not all(
                    math.isclose(drawn[k], expected[k], rel_tol=1e-12) for k in drawn):
                fail(f"{title}: shares differ")
            # The legend names only the configurations that carry a share; the axis its unit.
            if set(data) != {name for name, _ in expected}:
                fail(f"{title}: legend lists {sorted(data)}")
            x_title = title_of(chart.x_axis)
            if x_title not in ("Axle weight, kips", "Axle weight, kN"):
                fail(f"{title}: x axis reads {x_title!r}")
            continue
        m = re.fullmatch(r"Layer (\d) (Top|Middle|Bottom), (.+?)(: damage)?", title)
        if not m:
            fail(f"unexpected chart {title}")
            continue
        key = (m.group(1), m.group(2), m.group(3))
        if m.group(4):
            rows = damage.get(key, [])
            x, y = data["Damage"]
            if not (all(map(same, x, floats(rows, "years"))) and len(x) == len(rows)
                    and all(map(same, y, floats(rows, "damage")))):
                fail(f"{title}: damage curve differs")
            if chart.y_axis.scaling.logBase != 10:
                fail(f"{title}: damage axis is not logarithmic")
            if data["D = 0.1"][1] != [0.1, 0.1] or data["D = 1.0"][1] != [1.0, 1.0]:
                fail(f"{title}: damage levels")
            red = [s.spPr.ln.solidFill.srgbClr for s in chart.series if s.tx.v == "D = 1.0"]
            if red != ["C03030"]:
                fail(f"{title}: D = 1.0 is drawn in {red}, not red")
            continue
        rows = curves.get(key, [])
        y_title = title_of(chart.y_axis)
        if y_title not in ("% of loads at or below", "% of loads at or above"):
            fail(f"{title}: y axis reads {y_title!r}")
        x, y = data["Distribution"]
        if not (len(x) == len(rows) and all(map(same, x, floats(rows, "value")))
                and all(map(same, y, floats(rows, "percent_at_or_below")))):
            fail(f"{title}: distribution differs")
        marks = limits.get(key, [])
        # A distribution criterion marks its allowable strains, any other its actual percentile.
        name, column, what = (("Allowable strains", "target_percentile", "allowable strains")
                              if "Allowable strains" in data else
                              ("Actual percentile", "actual_percentile", "actual percentile mark"))
        if data[name] != (floats(marks, "limit"), floats(marks, column)):
            fail(f"{title}: {what}")
        if name == "Actual percentile" and data["Threshold"][0] != floats(marks, "limit") * 2:
            fail(f"{title}: threshold line")
    if "Load Spectra" not in seen:
        fail("no load spectra chart")


main()
for e in errors:
    print(e)
sys.exit(1 if errors else 0)
