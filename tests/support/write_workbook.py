#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a .xlsx workbook with openpyxl, so that imports are tested on files Quillery did not
write. Argument 2 is JSON: {"sheets": [{"name": "...", "rows": [[cell, ...], ...]}], "active": 0};
strings become text cells, numbers number cells, null leaves a cell empty."""
import json
import sys

import openpyxl


def main():
    path, layout = sys.argv[1], json.loads(sys.argv[2])
    book = openpyxl.Workbook()
    book.remove(book.active)
    for sheet_layout in layout["sheets"]:
        sheet = book.create_sheet(sheet_layout["name"])
        for r, row in enumerate(sheet_layout["rows"], start=1):
            for c, value in enumerate(row, start=1):
                if value is not None:
                    sheet.cell(row=r, column=c, value=value)
    book.active = layout.get("active", 0)
    book.save(path)


if __name__ == "__main__":
    main()
