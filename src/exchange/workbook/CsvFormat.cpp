// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CsvFormat.h"

#include "core/TextCodec.h"
#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/SheetRows.h"
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

void Write(const TSheetRows& rows, const TByteSink& put) {
    // Every line holds the full width of the sheet, and ends in CR LF; lines go out in pieces of
    // about this many bytes.
    constexpr size_t kPieceBytes = 64 * 1024;
    const int width = rows.UsedColumns();
    const int usedRows = rows.UsedRows();
    TRowCells cells;
    QString line;
    std::string out;
    for (int row = 1; row <= usedRows; ++row) {
        rows.ReadRow(row, cells);
        line.clear();
        int column = 1;
        for (const TRowCells::TCell& cell : cells.Cells()) {
            const QStringView text = cells.TextOf(cell);
            if (text.isEmpty())
                continue;
            for (; column < cell.Column; ++column)
                line.append(QLatin1Char(','));
            if (NeedsQuotes(text)) {
                line.append(QLatin1Char('"'));
                for (const QChar c : text) {
                    if (c == QLatin1Char('"'))
                        line.append(QLatin1Char('"'));
                    line.append(c);
                }
                line.append(QLatin1Char('"'));
            } else {
                line.append(text);
            }
        }
        for (; column < width; ++column)
            line.append(QLatin1Char(','));
        line.append(QLatin1String("\r\n"));
        const QByteArray bytes = line.toUtf8();
        out.append(bytes.constData(), size_t(bytes.size()));
        rows.Written(row);
        if (out.size() >= kPieceBytes) {
            put(out);
            out.clear();
        }
    }
    if (!out.empty())
        put(out);
}

} // namespace CsvFormat
