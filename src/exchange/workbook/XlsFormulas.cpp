// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsFormulas.h"

#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/CompoundFile.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

using CellValueText::TDateKind;

namespace {
enum : quint16 {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kBoundSheet = 0x0085,
    kXf = 0x00E0,
    kString = 0x0207,
    kFormat = 0x041E,
    kBof = 0x0809,
};
constexpr quint16 kBiff8 = 0x0600;

quint16 U16(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 Key(quint16 row, quint16 column) {
    return quint32(row) << 16 | column;
}

// Walks the records of a stream between two offsets; stops at the end or at a record cut short.
class TRecords {
public:
    TRecords(const QByteArray& stream, qsizetype at, qsizetype end)
        : FStream(QByteArrayView(stream).first(std::min(end, stream.size()))), FNext(at) {}
    bool Next() {
        if (FNext < 0 || FNext > FStream.size() - 4)
            return false;
        FType = U16(FStream, FNext);
        const quint16 size = U16(FStream, FNext + 2);
        if (size > FStream.size() - FNext - 4)
            return false;
        FData = FStream.sliced(FNext + 4, size);
        FNext += 4 + size;
        return true;
    }
    quint16 Type() const { return FType; }
    QByteArrayView Data() const { return FData; }

private:
    QByteArrayView FStream;
    qsizetype FNext;
    quint16 FType = 0;
    QByteArrayView FData;
};

// A BIFF8 string with a two-byte length. Its characters may go on in further parts (CONTINUE
// records), each of which starts with its own flag byte: one byte (Latin-1) or two per character.
QString UnicodeString(const std::vector<QByteArrayView>& parts) {
    if (parts.empty() || parts[0].size() < 3)
        return QString();
    const quint16 length = U16(parts[0], 0);
    quint8 flags = quint8(parts[0][2]);
    qsizetype at = 3 + (flags & 0x08 ? 2 : 0) + (flags & 0x04 ? 4 : 0); // rich-text runs, extended data
    QString text;
    size_t part = 0;
    while (text.size() < length) {
        if (at >= parts[part].size()) {
            if (++part == parts.size() || parts[part].isEmpty())
                break;
            flags = quint8(parts[part][0]);
            at = 1;
            continue;
        }
        if (!(flags & 0x01)) {
            text.append(QChar(quint8(parts[part][at++])));
        } else if (at + 2 <= parts[part].size()) {
            text.append(QChar(U16(parts[part], at)));
            at += 2;
        } else {
            break;
        }
    }
    return text;
}

QString ErrorText(quint8 code) {
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    default:
        return QString();
    }
}

// What the globals substream says about every sheet's cells.
struct TGlobals {
    std::vector<quint32> SheetOffsets;
    std::vector<TDateKind> XfKinds;
    bool Date1904 = false;
    bool Encrypted = false;
};

TGlobals ReadGlobals(const QByteArray& stream) {
    TGlobals globals;
    TRecords records(stream, 0, stream.size());
    if (!records.Next() || records.Type() != kBof || records.Data().size() < 2 ||
        U16(records.Data(), 0) != kBiff8)
        return globals;
    QHash<int, TDateKind> customKinds;
    std::vector<int> xfFormats;
    while (records.Next() && records.Type() != kEof) {
        const QByteArrayView data = records.Data();
        if (records.Type() == kFilePass)
            globals.Encrypted = true;
        else if (records.Type() == kDateMode && data.size() >= 2)
            globals.Date1904 = U16(data, 0) == 1;
        else if (records.Type() == kBoundSheet && data.size() >= 4)
            globals.SheetOffsets.push_back(qFromLittleEndian<quint32>(data.constData()));
        else if (records.Type() == kXf && data.size() >= 4)
            xfFormats.push_back(U16(data, 2));
        else if (records.Type() == kFormat && data.size() >= 2)
            customKinds.insert(U16(data, 0), CellValueText::FormatCodeKind(UnicodeString({data.sliced(2)})));
    }
    for (const int format : xfFormats)
        globals.XfKinds.push_back(CellValueText::NumberFormatKind(format, customKinds));
    return globals;
}

QString NumberText(QByteArrayView result, quint16 xf, const TGlobals& globals) {
    double value = 0;
    std::memcpy(&value, result.constData(), sizeof value);
    value = qFromLittleEndian(value);
    const TDateKind kind = xf < globals.XfKinds.size() ? globals.XfKinds[xf] : TDateKind::None;
    const QString date =
        kind == TDateKind::None ? QString() : CellValueText::Date(value, kind, globals.Date1904);
    return date.isEmpty() ? CellValueText::Number(value) : date;
}

// The formula results of one sheet's substream, from its BOF to its EOF or the next substream; the
// substreams of charts embedded in the sheet are passed over.
QHash<quint32, QString> ReadSheet(const QByteArray& stream, qsizetype offset, qsizetype end,
                                  const TGlobals& globals) {
    QHash<quint32, QString> cells;
    TRecords records(stream, offset, end);
    if (!records.Next() || records.Type() != kBof)
        return cells;
    int depth = 1;
    qint64 pendingString = -1; // the cell whose string result the next STRING record holds
    while (depth > 0 && records.Next()) {
        const QByteArrayView data = records.Data();
        if (records.Type() == kBof) {
            ++depth;
        } else if (records.Type() == kEof) {
            --depth;
        } else if (depth == 1 && records.Type() == kFormula && data.size() >= 14) {
            const quint32 key = Key(U16(data, 0), U16(data, 2));
            const QByteArrayView result = data.sliced(6, 8);
            pendingString = -1;
            if (U16(result, 6) != 0xFFFF) {
                cells.insert(key, NumberText(result, U16(data, 4), globals));
            } else if (result[0] == 0) {
                pendingString = key;
            } else if (result[0] == 1) {
                cells.insert(key, CellValueText::Boolean(result[2] != 0));
            } else if (result[0] == 2) {
                cells.insert(key, ErrorText(quint8(result[2])));
            }
        } else if (depth == 1 && records.Type() == kString && pendingString >= 0) {
            std::vector<QByteArrayView> parts{data};
            for (TRecords ahead = records; ahead.Next() && ahead.Type() == kContinue;)
                parts.push_back(ahead.Data());
            QString text;
            CellValueText::AppendWithCrLf(text, UnicodeString(parts));
            cells.insert(quint32(pendingString), text);
            pendingString = -1;
        }
    }
    return cells;
}
} // namespace

TXlsFormulaResults::TXlsFormulaResults(const QByteArray& file) {
    const QByteArray stream = CompoundFileStream(file, {QStringLiteral("Workbook"), QStringLiteral("Book")});
    const TGlobals globals = ReadGlobals(stream);
    FEncrypted = globals.Encrypted;
    if (FEncrypted)
        return;
    // Each substream ends where the next begins, so that no byte is read twice whatever the offsets.
    std::vector<quint32> starts;
    for (const quint32 offset : globals.SheetOffsets)
        if (offset < quint32(stream.size()))
            starts.push_back(offset);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    starts.push_back(quint32(stream.size()));
    QHash<quint32, QHash<quint32, QString>> bySubstream;
    for (size_t i = 0; i + 1 < starts.size(); ++i)
        bySubstream.insert(starts[i], ReadSheet(stream, starts[i], starts[i + 1], globals));
    for (const quint32 offset : globals.SheetOffsets)
        FSheets.push_back(bySubstream.value(offset));
}

QString TXlsFormulaResults::Text(int sheet, int row, int column) const {
    if (sheet < 0 || sheet >= SheetCount() || row < 0 || row > 0xFFFF || column < 0 || column > 0xFFFF)
        return QString();
    return FSheets[size_t(sheet)].value(Key(quint16(row), quint16(column)));
}
