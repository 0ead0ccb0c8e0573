// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxSheetScanner.h"

#include "core/TextCodec.h"
#include "exchange/workbook/XlsxSheetReader.h"
#include "exchange/workbook/ZipPackage.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

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

// The character of a predefined or numeric reference; false for any other name.
bool PredefinedReference(QByteArrayView name, char32_t& character) {
    if (name == "lt")
        character = '<';
    else if (name == "gt")
        character = '>';
    else if (name == "amp")
        character = '&';
    else if (name == "quot")
        character = '"';
    else if (name == "apos")
        character = '\'';
    else if (!name.startsWith('#'))
        return false;
    else if (name.size() < 2 || name.size() > 10)
        throw EDamagedPackage();
    else {
        bool ok = false;
        character = name[1] == 'x' ? name.sliced(2).toByteArray().toUInt(&ok, 16)
                                   : name.sliced(1).toByteArray().toUInt(&ok);
        if (!ok)
            throw EDamagedPackage();
    }
    return true;
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

// The attributes of one start tag, parsed once; values of row and cell attributes only, through
// appendValue.
struct TAttributes {
    QString R, T, S;
    template <typename AppendValue> void Parse(QByteArrayView tag, bool wanted, AppendValue appendValue) {
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
                appendValue(*into, value);
            i = close + 1;
        }
    }
};

// Entities defined by other entities nest at most this deep; deeper is taken as a loop.
constexpr int kMaxEntityDepth = 16;

// The position past the next occurrence of end from i on.
qsizetype PastNext(QByteArrayView xml, QByteArrayView end, qsizetype i) {
    const qsizetype at = xml.indexOf(end, i);
    if (at < 0)
        throw EDamagedPackage();
    return at + end.size();
}

// The position past the tag or declaration starting at lt.
qsizetype PastTag(QByteArrayView xml, qsizetype lt) {
    const qsizetype gt = TagEnd(xml, lt);
    if (gt < 0)
        throw EDamagedPackage();
    return gt + 1;
}

qsizetype SkipBlanks(QByteArrayView xml, qsizetype i) {
    while (i < xml.size() && IsBlank(xml[i]))
        ++i;
    return i;
}

// The quoted literal at i, moving i past it.
QByteArrayView Literal(QByteArrayView xml, qsizetype& i) {
    if (i >= xml.size() || (xml[i] != '"' && xml[i] != '\''))
        throw EDamagedPackage();
    const qsizetype close = xml.indexOf(xml[i], i + 1);
    if (close < 0)
        throw EDamagedPackage();
    const QByteArrayView literal = xml.sliced(i + 1, close - i - 1);
    i = close + 1;
    return literal;
}

// The encoding the XML declaration names; empty when there is no declaration or it names none.
QByteArray DeclaredEncoding(QByteArrayView xml) {
    if (!xml.startsWith("<?xml"))
        return QByteArray();
    const qsizetype end = xml.indexOf("?>");
    if (end < 0)
        throw EDamagedPackage();
    const QByteArrayView declaration = xml.first(end);
    qsizetype i = declaration.indexOf("encoding");
    if (i < 0)
        return QByteArray();
    i = SkipBlanks(declaration, i + 8);
    if (i >= declaration.size() || declaration[i] != '=')
        throw EDamagedPackage();
    i = SkipBlanks(declaration, i + 1);
    return Literal(declaration, i).toByteArray();
}

QByteArray DecodedToUtf8(QByteArrayView bytes, QStringDecoder decoder) {
    if (!decoder.isValid())
        throw EDamagedPackage(); // an encoding Qt does not know
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw EDamagedPackage();
    return text.toUtf8();
}
} // namespace

void TXlsxSheetScanner::Scan(const QByteArray& part) {
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(part, u'<');
    if (marked &&
        *marked != QStringConverter::Utf8) // UTF-16 or UTF-32, by byte order mark or first character
        return ScanUtf8(DecodedToUtf8(part, QStringDecoder(*marked)));
    QByteArrayView xml(part);
    if (xml.startsWith("\xEF\xBB\xBF"))
        xml = xml.sliced(3);
    const QByteArray encoding = DeclaredEncoding(xml);
    if (!encoding.isEmpty() && encoding.compare("UTF-8", Qt::CaseInsensitive) != 0)
        return ScanUtf8(DecodedToUtf8(xml, QStringDecoder(encoding.constData())));
    ScanUtf8(xml);
}

void TXlsxSheetScanner::ScanUtf8(QByteArrayView xml) {
    if (!IsValidUtf8(std::string_view(xml.data(), size_t(xml.size()))))
        throw EDamagedPackage();
    const auto appendValue = [this](QString& out, QByteArrayView value) { AppendText(out, value, true); };
    std::vector<QByteArrayView> open;
    TAttributes attributes;
    QString name, piece;
    bool sawRoot = false;
    qsizetype i = 0;
    while (!FReader.Done()) {
        const qsizetype lt = xml.indexOf('<', i);
        const QByteArrayView text = xml.sliced(i, (lt < 0 ? xml.size() : lt) - i);
        if (open.empty() && SkipBlanks(text, 0) != text.size())
            throw EDamagedPackage(); // text outside the root element
        if (FReader.WantsText()) {
            piece.resize(0);
            AppendText(piece, text, true);
            FReader.Characters(piece);
        }
        if (lt < 0)
            break;
        const QByteArrayView rest = xml.sliced(lt);
        if (rest.startsWith("<!--")) {
            i = PastNext(xml, "-->", lt + 4);
            continue;
        }
        if (rest.startsWith("<?")) {
            i = PastNext(xml, "?>", lt + 2);
            continue;
        }
        if (rest.startsWith("<!DOCTYPE")) {
            if (sawRoot || FSawDocumentType)
                throw EDamagedPackage();
            i = ReadDocumentType(xml, lt);
            continue;
        }
        if (rest.startsWith("<![CDATA[")) {
            const qsizetype end = xml.indexOf("]]>", lt);
            if (end < 0 || open.empty())
                throw EDamagedPackage();
            piece.resize(0);
            AppendText(piece, xml.sliced(lt + 9, end - lt - 9), false);
            FReader.Characters(piece);
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
            FReader.End(name);
        } else {
            if (open.empty() && sawRoot)
                throw EDamagedPackage(); // a second root element
            sawRoot = true;
            const QByteArrayView local = LocalName(qualified);
            attributes.Parse(tag.sliced(nameLength), local == "c" || local == "row", appendValue);
            FReader.Start(name, attributes.R, attributes.T, attributes.S);
            if (empty)
                FReader.End(name);
            else
                open.push_back(qualified);
        }
        i = gt + 1;
    }
    if (!FReader.Done() && (!open.empty() || !sawRoot))
        throw EDamagedPackage();
}

qsizetype TXlsxSheetScanner::ReadDocumentType(QByteArrayView xml, qsizetype lt) {
    FSawDocumentType = true;
    // The root's name and the external identifier, if any, up to the internal subset or the end.
    qsizetype i = lt + 9;
    while (i < xml.size() && xml[i] != '[' && xml[i] != '>') {
        if (xml[i] == '"' || xml[i] == '\'') {
            Literal(xml, i);
            continue;
        }
        if (xml.sliced(i).startsWith("SYSTEM") || xml.sliced(i).startsWith("PUBLIC"))
            FExternalSubset = true;
        ++i;
    }
    if (i < xml.size() && xml[i] == '[') {
        for (i = SkipBlanks(xml, i + 1); i < xml.size() && xml[i] != ']'; i = SkipBlanks(xml, i)) {
            const QByteArrayView rest = xml.sliced(i);
            if (rest.startsWith("<!--"))
                i = PastNext(xml, "-->", i + 4);
            else if (rest.startsWith("<?"))
                i = PastNext(xml, "?>", i + 2);
            else if (rest.startsWith("<!ENTITY"))
                i = ReadEntityDeclaration(xml, i);
            else if (rest.startsWith("<!")) // element, attribute list and notation declarations
                i = PastTag(xml, i);
            else if (rest.startsWith('%')) // a parameter entity's reference
                i = PastNext(xml, ";", i + 1);
            else
                throw EDamagedPackage();
        }
        i = SkipBlanks(xml, i + 1);
    }
    if (i >= xml.size() || xml[i] != '>')
        throw EDamagedPackage();
    return i + 1;
}

qsizetype TXlsxSheetScanner::ReadEntityDeclaration(QByteArrayView xml, qsizetype lt) {
    qsizetype i = SkipBlanks(xml, lt + 8);
    const qsizetype end = PastTag(xml, lt) - 1;
    if (i < end && xml[i] == '%') // parameter entities serve declarations only
        return end + 1;
    const qsizetype nameBegin = i;
    while (i < end && !IsBlank(xml[i]))
        ++i;
    const QByteArrayView name = xml.sliced(nameBegin, i - nameBegin);
    i = SkipBlanks(xml, i);
    if (name.isEmpty() || i == end)
        throw EDamagedPackage();
    const bool external = xml[i] != '"' && xml[i] != '\'';
    const QByteArrayView value = external ? QByteArrayView() : Literal(xml, i);
    // The first declaration of a name is binding.
    if (std::none_of(FEntities.begin(), FEntities.end(), [&](const TEntity& e) { return e.Name == name; }))
        FEntities.push_back({name, value, external});
    return end + 1;
}

void TXlsxSheetScanner::AppendEntity(QString& out, QByteArrayView name, int depth, qsizetype limit) {
    const auto entity =
        std::find_if(FEntities.begin(), FEntities.end(), [&](const TEntity& e) { return e.Name == name; });
    if (entity == FEntities.end()) {
        if (FExternalSubset)
            return;
        throw EDamagedPackage();
    }
    if (entity->External) // never fetched
        return;
    if (depth >= kMaxEntityDepth)
        throw EDamagedPackage();
    AppendText(out, entity->Value, true, depth + 1, limit);
}

void TXlsxSheetScanner::AppendText(QString& out, QByteArrayView text, bool references, int depth,
                                   qsizetype limit) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (depth > 0 && out.size() > limit)
            throw EDamagedPackage(); // an entity that expands too far
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
            const QByteArrayView name = text.sliced(i + 1, semicolon - i - 1);
            char32_t character = 0;
            if (PredefinedReference(name, character))
                AppendCodePoint(out, character);
            else
                AppendEntity(out, name, depth, depth > 0 ? limit : out.size() + kMaxEntityCharacters);
            i = semicolon + 1;
            continue;
        }
        if (c == '<' && references)
            throw EDamagedPackage(); // markup in text, or in an entity's value
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
    if (depth > 0 && out.size() > limit)
        throw EDamagedPackage();
}
