#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the openpyxl-made fixture workbooks and the CSV fixtures into the current folder."""
import datetime

import openpyxl
from openpyxl.chart import BarChart, Reference
from openpyxl.utils.datetime import CALENDAR_MAC_1904


def dates(path, epoch=None):
    wb = openpyxl.Workbook()
    if epoch is not None:
        wb.epoch = epoch
    ws = wb.active
    ws.title = "Dates"
    rows = [
        (datetime.date(2026, 12, 7), "mm-dd-yy"),                  # built-in 14
        (datetime.datetime(2020, 2, 29, 13, 45), "m/d/yy h:mm"),   # built-in 22
        (datetime.time(13, 45), "h:mm:ss"),                        # built-in 21
        (datetime.datetime(2020, 2, 29, 13, 45), "yyyy-mm-dd hh:mm:ss"),
        (datetime.date(2026, 12, 7), "[$-409]d-mmm-yy;@"),
        (45000, '0.00 "days"'),                                    # quoted d: a number
        (2.5, "[h]:mm:ss"),
        (1.5, "0.0"),
    ]
    for row, (value, fmt) in enumerate(rows, start=1):
        cell = ws.cell(row=row, column=1, value=value)
        cell.number_format = fmt
    wb.save(path)


def chart(path):
    wb = openpyxl.Workbook()
    data = wb.active
    data.title = "Data"
    for row in [("Fruit", "Count"), ("Apples", 3), ("Pears", 5), ("Plums", 2)]:
        data.append(row)
    sheet = wb.create_chartsheet("Chart")
    bars = BarChart()
    bars.add_data(Reference(data, min_col=2, min_row=1, max_row=4), titles_from_data=True)
    bars.set_categories(Reference(data, min_col=1, min_row=2, max_row=4))
    sheet.add_chart(bars)
    hidden = wb.create_sheet("Hidden")
    hidden["A1"] = "secret"
    hidden.sheet_state = "hidden"
    wb.active = 0
    wb.save(path)


def several(path):
    wb = openpyxl.Workbook()
    wb.active.title = "First"
    wb.active["A1"] = "one"
    second = wb.create_sheet("Second")
    second["B2"] = "two"
    third = wb.create_sheet("Third")
    third["C3"] = "three"
    wb.active = 1
    wb.save(path)


def general(path):
    """The cells of general.fods, as openpyxl writes them. openpyxl saves formulas without their
    results, so each formula cell holds the value its formula gives instead."""
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "General"
    rows = [
        ("scientific format", 100000, "0.00E+00"),
        ("binary noise", 0.1 + 0.2, None),                      # =0.1+0.2
        ("huge", 1.23456789012346E+19, None),
        ("smallest plain", 1e-5, None),
        ("small", 0.00001234, None),
        ("too small for plain", -0.00000123, None),
        ("eighteen digits", 123456789012345678, None),
        ("largest plain", 999999999999999, None),
        ("too large for plain", 1e15, None),
        ("negative", -2.5, None),
        ("a third", 1 / 3, None),                               # =1/3
        ("grouped decimals", 1234567.891, "#,##0.00"),
        ("zero", 0, None),
        ("true", True, None),                                   # =TRUE()
        ("false", False, None),                                 # =FALSE()
        ("date", datetime.date(2026, 12, 7), "yyyy-mm-dd"),
        ("time", datetime.time(13, 45), "hh:mm:ss"),
        ("date and time", datetime.datetime(2020, 2, 29, 13, 45), "yyyy-mm-dd hh:mm:ss"),
        ("division error", "#DIV/0!", None),                    # =1/0: openpyxl types it an error
        ("digits as text", "007", None),
    ]
    for row, (label, value, fmt) in enumerate(rows, start=1):
        ws.cell(row=row, column=1, value=label)
        cell = ws.cell(row=row, column=2, value=value)
        if fmt:
            cell.number_format = fmt
    wb.save(path)


def csv_files():
    rows = 'Name,City,Note\r\nZoë,Köln,"a, b"\r\nÅsa,"Line one\r\nLine two","say ""hi"""\r\n'
    with open("utf8.csv", "wb") as f:
        f.write(rows.encode("utf-8"))
    with open("utf8-bom.csv", "wb") as f:
        f.write(b"\xef\xbb\xbf" + rows.encode("utf-8"))
    with open("cp1252.csv", "wb") as f:
        f.write(rows.replace("Åsa", "€uro").encode("cp1252"))
    with open("semicolon.csv", "wb") as f:
        f.write("Name;City;Note\nZoë;Köln;a, b\n".encode("utf-8"))
    with open("tab.csv", "wb") as f:
        f.write("Name\tCity\tNote\nZoë\tKöln\ta; b\n".encode("utf-8"))


dates("dates1900.xlsx")
dates("dates1904.xlsx", CALENDAR_MAC_1904)
chart("chart.xlsx")
several("several.xlsx")
general("general-openpyxl.xlsx")
csv_files()
