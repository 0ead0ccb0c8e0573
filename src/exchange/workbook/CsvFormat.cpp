// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CsvFormat.h"

#include "core/TextCodec.h"
#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/ZipPackage.h"

#include <string_view>

namespace CsvFormat {

namespace {
QString Decode(const QByteArray& bytes) {
    std::string_view view(bytes.constData(), size_t(bytes.size()));
    if (view.substr(0, 3) == "\xEF\xBB\xBF")
        view.remove_prefix(3);
    const std::string utf8 = IsValidUtf8(view) ? std::string(view) : DecodeForDisplay(view);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// The separator that occurs most often outside quotes on the first line; comma on a tie.
QChar DetectSeparator(const QString& text) {
    int counts[3] = {0, 0, 0};
    const QChar candidates[3] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted)
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
            best = i;
    return candidates[best];
}

bool NeedsQuotes(QStringView text) {
    for (const QChar c : text)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            return true;
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}
} // namespace

void Read(const QByteArray& bytes, TCellGrid& grid) {
    const QString text = Decode(bytes);
    const QChar separator = DetectSeparator(text);
    int row = 1, column = 1;
    QString field, value;
    bool quoted = false, wasQuoted = false;
    auto finishField = [&] {
        if (!field.isEmpty()) {
            if (row > CellReference::kMaxRows || column > CellReference::kMaxColumns)
                throw EDamagedPackage();
            value.clear();
            CellValueText::AppendWithCrLf(value, field);
            grid.SetText(row, column, value);
        }
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                field.append(c);
            else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field.append(text[++i]);
            else
                quoted = false;
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == separator) {
            finishField();
            ++column;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            finishField();
            ++row;
            column = 1;
        } else {
            field.append(c);
        }
    }
    finishField();
}

QByteArray Write(const TCellGrid& grid) {
    QString out;
    // Every line holds the full width of the sheet, and ends in CR LF.
    const int width = grid.UsedColumns();
    int row = 1, column = 1;
    auto moveTo = [&](int toRow, int toColumn) {
        for (; row < toRow; ++row, column = 1) {
            for (; column < width; ++column)
                out.append(QLatin1Char(','));
            out.append(QLatin1String("\r\n"));
        }
        for (; column < toColumn; ++column)
            out.append(QLatin1Char(','));
    };
    for (const TCellGrid::TCell& cell : grid.Cells()) {
        const QStringView text = grid.TextOf(cell);
        if (text.isEmpty())
            continue;
        moveTo(int(cell.Row), cell.Column);
        if (NeedsQuotes(text)) {
            out.append(QLatin1Char('"'));
            for (const QChar c : text) {
                if (c == QLatin1Char('"'))
                    out.append(QLatin1Char('"'));
                out.append(c);
            }
            out.append(QLatin1Char('"'));
        } else {
            out.append(text);
        }
    }
    if (grid.UsedRows() > 0)
        moveTo(grid.UsedRows() + 1, 1);
    return out.toUtf8();
}

} // namespace CsvFormat
