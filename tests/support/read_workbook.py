#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a workbook with readers Quillery did not write (openpyxl for .xlsx, csv for .csv) and
prints it as JSON: the sheet names in order, every cell's text by rows, and the style of row 1."""
import csv
import json
import sys


def read_xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    sheets = []
    for sheet in book.worksheets:
        rows = []
        for row in sheet.iter_rows():
            rows.append(["" if cell.value is None else str(cell.value) for cell in row])
        while rows and not any(rows[-1]):
            rows.pop()
        types = sorted({cell.data_type for row in sheet.iter_rows() for cell in row if cell.value is not None})
        headings = []
        for cell in next(sheet.iter_rows(max_row=1), []):
            if cell.value is None:
                continue
            color = cell.font.color.rgb if cell.font and cell.font.color is not None else None
            headings.append({"bold": bool(cell.font.b), "color": color if isinstance(color, str) else None,
                             "align": cell.alignment.horizontal})
        sheets.append({"name": sheet.title, "rows": rows, "types": types, "headings": headings})
    return {"sheets": sheets, "active": book.active.title}


def read_csv(path):
    with open(path, newline="", encoding="utf-8-sig") as handle:
        rows = [row for row in csv.reader(handle)]
    return {"sheets": [{"name": "", "rows": rows, "types": [], "headings": []}], "active": ""}


def main():
    path = sys.argv[1]
    result = read_csv(path) if path.lower().endswith(".csv") else read_xlsx(path)
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
