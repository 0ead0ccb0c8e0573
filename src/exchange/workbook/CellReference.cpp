// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CellReference.h"

namespace CellReference {

namespace {
// Reads the letters at the start; returns how many there were, 0 when they name no column.
qsizetype ReadColumn(QStringView reference, int& column) {
    column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && i < 4; ++i) {
        const char16_t u = reference[i].unicode();
        if (u >= 'A' && u <= 'Z')
            column = column * 26 + (u - 'A' + 1);
        else if (u >= 'a' && u <= 'z')
            column = column * 26 + (u - 'a' + 1);
        else
            break;
    }
    return column >= 1 && column <= kMaxColumns ? i : 0;
}
} // namespace

bool ParseColumn(QStringView reference, int& column) {
    return ReadColumn(reference, column) > 0;
}

bool Parse(QStringView reference, int& row, int& column) {
    const qsizetype letters = ReadColumn(reference, column);
    if (letters == 0 || reference.size() - letters > 7)
        return false;
    row = 0;
    for (qsizetype i = letters; i < reference.size(); ++i) {
        const char16_t u = reference[i].unicode();
        if (u < '0' || u > '9')
            return false;
        row = row * 10 + (u - '0');
    }
    return row >= 1 && row <= kMaxRows;
}

void AppendColumnName(std::string& out, int column) {
    char letters[4];
    int n = 0;
    for (; column > 0; column = (column - 1) / 26)
        letters[n++] = char('A' + (column - 1) % 26);
    while (n > 0)
        out.push_back(letters[--n]);
}

} // namespace CellReference
