#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a workbook that Quillery wrote with openpyxl, a reader Quillery did not write.

Usage: check-workbook.py WORKBOOK EXPECTED.json, where the JSON object holds "sheets" (every sheet
name in order), "cells" (sheet name -> list of [row, column, text]: every cell holding a value, all
of them text cells) and "headings" (sheet name -> list of [row, column]: bold, blue, centred).
Prints each difference and exits 1 when there is one.
"""
import json
import sys
import warnings

import openpyxl

warnings.simplefilter("ignore")
path, expected_path = sys.argv[1], sys.argv[2]
with open(expected_path, encoding="utf-8") as f:
    expected = json.load(f)
book = openpyxl.load_workbook(path)
problems = []
if book.sheetnames != expected["sheets"]:
    problems.append(f"sheets {book.sheetnames} != {expected['sheets']}")
for name, cells in expected["cells"].items():
    sheet = book[name]
    want = {(row, column): text for row, column, text in cells}
    have = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is not None:
                have[(cell.row, cell.column)] = cell.value
                if cell.data_type != "s":
                    problems.append(f"{name}!{cell.coordinate} has type {cell.data_type}, not text")
    if have != want:
        problems.append(f"{name}: cells {have!r} != {want!r}")
for name, headings in expected.get("headings", {}).items():
    for row, column in headings:
        cell = book[name].cell(row=row, column=column)
        if not cell.font.b or cell.font.color is None or cell.font.color.rgb != "FF0000FF":
            problems.append(f"{name}!{cell.coordinate} is not bold and blue: {cell.font!r}")
        if cell.alignment.horizontal != "center":
            problems.append(f"{name}!{cell.coordinate} is not centred")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
