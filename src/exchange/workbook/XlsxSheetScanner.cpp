// The worksheet scanner: a worksheet part is by far the largest part of a workbook, so it is read by
// scanning its UTF-8 bytes directly rather than through a general XML reader, checking as it goes
// that the part is well-formed: every element closed in order, text and names valid UTF-8, only
// the predefined and numeric character references.

#include "exchange/workbook/XlsxSheetReader.h"

#include "core/TextCodec.h"

#include "exchange/workbook/ZipPackage.h"

#include <QByteArrayView>

#include <algorithm>

#include <vector>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void AppendCodePoint(QString& out, char32_t cp) {
    // XML 1.0 characters only.
    if (cp == 0 || (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || (cp >= 0xD800 && cp <= 0xDFFF) ||
        cp == 0xFFFE || cp == 0xFFFF || cp > 0x10FFFF)
        throw EDamagedPackage();
    if (cp < 0x10000) {
        out.append(QChar(char16_t(cp)));
    } else {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
    }
}

char32_t CharacterReference(QByteArrayView name) {
    if (name == "lt")
        return '<';
    if (name == "gt")
        return '>';
    if (name == "amp")
        return '&';
    if (name == "quot")
        return '"';
    if (name == "apos")
        return '\'';
    if (name.size() < 2 || name.size() > 10 || name[0] != '#')
        throw EDamagedPackage();
    bool ok = false;
    const uint value = name[1] == 'x' ? name.sliced(2).toByteArray().toUInt(&ok, 16)
                                      : name.sliced(1).toByteArray().toUInt(&ok);
    if (!ok)
        throw EDamagedPackage();
    return value;
}

// Appends text of a part that is valid UTF-8, with character references decoded where the text is
// markup's.
void AppendText(QString& out, QByteArrayView text, bool references) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype plain = i;
        while (plain < n && p[plain] >= 0x20 && p[plain] < 0x80 && p[plain] != '&' && p[plain] != '<')
            ++plain;
        if (plain > i) {
            out.append(QLatin1String(text.data() + i, plain - i));
            i = plain;
            continue;
        }
        const unsigned char c = p[i];
        if (c == '&' && references) {
            const qsizetype semicolon = text.indexOf(';', i);
            if (semicolon < 0)
                throw EDamagedPackage();
            AppendCodePoint(out, CharacterReference(text.sliced(i + 1, semicolon - i - 1)));
            i = semicolon + 1;
            continue;
        }
        if (c == '<' && references)
            throw EDamagedPackage();
        if (c < 0x80) {
            // XML turns CR LF and lone CR into LF.
            if (c == '\r') {
                out.append(QLatin1Char('\n'));
                i += i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
                continue;
            }
            AppendCodePoint(out, c);
            ++i;
            continue;
        }
        // The part is valid UTF-8 as a whole, so a run of non-ASCII bytes is whole characters.
        qsizetype run = i;
        while (run < n && p[run] >= 0x80)
            ++run;
        out.append(QString::fromUtf8(text.data() + i, run - i));
        i = run;
    }
}

// The ">" that ends the tag starting at lt, outside quoted attribute values; -1 when there is none.
qsizetype TagEnd(QByteArrayView xml, qsizetype lt) {
    char quote = 0;
    for (qsizetype i = lt + 1; i < xml.size(); ++i) {
        const char c = xml[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i;
        else if (c == '<')
            return -1;
    }
    return -1;
}

QByteArrayView LocalName(QByteArrayView qualified) {
    const qsizetype colon = qualified.indexOf(':');
    return colon < 0 ? qualified : qualified.sliced(colon + 1);
}

// The attributes of one start tag, parsed once; values of row and cell attributes only.
struct TAttributes {
    QString R, T, S;
    void Parse(QByteArrayView tag, bool wanted) {
        R.resize(0);
        T.resize(0);
        S.resize(0);
        qsizetype i = 0;
        while (i < tag.size()) {
            while (i < tag.size() && IsBlank(tag[i]))
                ++i;
            if (i == tag.size())
                return;
            const qsizetype nameBegin = i;
            while (i < tag.size() && tag[i] != '=' && !IsBlank(tag[i]))
                ++i;
            const QByteArrayView name = tag.sliced(nameBegin, i - nameBegin);
            while (i < tag.size() && IsBlank(tag[i]))
                ++i;
            if (name.isEmpty() || i == tag.size() || tag[i] != '=')
                throw EDamagedPackage();
            ++i;
            while (i < tag.size() && IsBlank(tag[i]))
                ++i;
            if (i == tag.size() || (tag[i] != '"' && tag[i] != '\''))
                throw EDamagedPackage();
            const qsizetype close = tag.indexOf(tag[i], i + 1);
            if (close < 0)
                throw EDamagedPackage();
            const QByteArrayView value = tag.sliced(i + 1, close - i - 1);
            QString* into = !wanted       ? nullptr
                            : name == "r" ? &R
                            : name == "t" ? &T
                            : name == "s" ? &S
                                          : nullptr;
            if (into)
                AppendText(*into, value, true);
            i = close + 1;
        }
    }
};

// The encoding a declaration names is UTF-8, or none is named.
bool DeclaresUtf8(QByteArrayView declaration) {
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return true;
    const QByteArrayView rest = declaration.sliced(at + 8);
    const qsizetype quote = rest.indexOf('"') >= 0 ? rest.indexOf('"') : rest.indexOf('\'');
    return quote >= 0 && rest.sliced(quote + 1)
                                 .first(std::min<qsizetype>(5, rest.size() - quote - 1))
                                 .toByteArray()
                                 .toLower() == "utf-8";
}
} // namespace

bool TXlsxSheetReader::ReadFast(const QByteArray& bytes) {
    QByteArrayView xml(bytes);
    if (xml.startsWith("\xEF\xBB\xBF"))
        xml = xml.sliced(3);
    if (xml.startsWith("<?xml")) {
        const qsizetype end = xml.indexOf("?>");
        if (end < 0 || !DeclaresUtf8(xml.first(end)))
            return false;
    } else if (!xml.isEmpty() && xml[0] != '<') {
        return false; // UTF-16 and other encodings
    }
    if (xml.contains("<!DOCTYPE"))
        return false; // entities of its own: Qt's reader expands them within its limits
    if (!IsValidUtf8(std::string_view(xml.data(), size_t(xml.size()))))
        throw EDamagedPackage();

    std::vector<QByteArrayView> open;
    TAttributes attributes;
    QString name, piece;
    bool sawRoot = false;
    qsizetype i = 0;
    while (!FDone) {
        const qsizetype lt = xml.indexOf('<', i);
        const QByteArrayView text = xml.sliced(i, (lt < 0 ? xml.size() : lt) - i);
        if (FCapturing || (FInInline && FInRunText && !FInPhonetic)) {
            piece.resize(0);
            AppendText(piece, text, true);
            Characters(piece);
        }
        if (lt < 0)
            break;
        const QByteArrayView rest = xml.sliced(lt);
        if (rest.startsWith("<!--") || rest.startsWith("<?")) {
            const qsizetype end = xml.indexOf(rest[1] == '!' ? "-->" : "?>", lt + 2);
            if (end < 0)
                throw EDamagedPackage();
            i = end + 2 + (rest[1] == '!');
            continue;
        }
        if (rest.startsWith("<![CDATA[")) {
            const qsizetype end = xml.indexOf("]]>", lt);
            if (end < 0 || open.empty())
                throw EDamagedPackage();
            piece.resize(0);
            AppendText(piece, xml.sliced(lt + 9, end - lt - 9), false);
            Characters(piece);
            i = end + 3;
            continue;
        }
        const qsizetype gt = TagEnd(xml, lt);
        if (gt < 0)
            throw EDamagedPackage();
        const bool closing = rest.size() > 1 && rest[1] == '/';
        const bool empty = !closing && xml[gt - 1] == '/';
        QByteArrayView tag =
            xml.sliced(lt + (closing ? 2 : 1), gt - lt - (closing ? 2 : 1) - (empty ? 1 : 0));
        qsizetype nameLength = 0;
        while (nameLength < tag.size() && !IsBlank(tag[nameLength]))
            ++nameLength;
        const QByteArrayView qualified = tag.first(nameLength);
        if (qualified.isEmpty())
            throw EDamagedPackage();
        name.resize(0);
        AppendText(name, LocalName(qualified), false);
        if (closing) {
            if (open.empty() || open.back() != qualified)
                throw EDamagedPackage();
            open.pop_back();
            End(name);
        } else {
            if (open.empty() && sawRoot)
                throw EDamagedPackage(); // a second root element
            sawRoot = true;
            const QByteArrayView local = LocalName(qualified);
            attributes.Parse(tag.sliced(nameLength), local == "c" || local == "row");
            Start(name, attributes.R, attributes.T, attributes.S);
            if (empty)
                End(name);
            else
                open.push_back(qualified);
        }
        i = gt + 1;
    }
    if (!FDone && (!open.empty() || !sawRoot))
        throw EDamagedPackage();
    return true;
}
