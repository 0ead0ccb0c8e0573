#!/usr/bin/env bash
# Makes the fixture workbooks in this folder from cells.fods, general.fods, make-fixtures.py and
# make-passwords.py, with files that real spreadsheet programs wrote: openpyxl writes .xlsx and .csv
# sources, LibreOffice (headless) converts the .fods sources and re-saves the openpyxl workbooks.
# Needs python3-openpyxl, python3-uno and libreoffice-calc; only run it to remake the committed
# fixtures.
# cells.fods leaves out the saved result of its string formula: LibreOffice then computes it on load,
# and only a computed string result reaches the .xls (a loaded one is written there as the number 0).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office() { soffice --headless --norestore "-env:UserInstallation=file://$work/profile" "$@" >/dev/null; }

/usr/bin/python3 make-fixtures.py

office --convert-to xlsx --outdir . cells.fods
office --convert-to xls --outdir . cells.fods
office --convert-to ods --outdir . cells.fods
office --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir . cells.fods

# One cell of each kind in every format, for the rule that turns a cell's value into text; the .csv
# is saved as LibreOffice saves one by default, with the texts its cells show.
for format in xlsx xls ods 'csv:Text - txt - csv (StarCalc):44,34,76'; do
    office --convert-to "$format" --outdir . general.fods
done
# Password-protected workbooks (needs python3-uno).
/usr/bin/python3 make-passwords.py

# LibreOffice's own saves of openpyxl workbooks: a chart sheet and a hidden sheet, 1904 dates.
for name in chart dates1904; do
    office --convert-to xlsx --outdir "$work" "$name.xlsx"
    mv "$work/$name.xlsx" "$name-lo.xlsx"
done
office --convert-to xls --outdir . dates1904.xlsx
office --convert-to ods --outdir . dates1904.xlsx
