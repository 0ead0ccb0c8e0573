// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxSheetScanner.h"

#include "core/TextCodec.h"
#include "exchange/workbook/Utf8Text.h"
#include "exchange/workbook/XlsxSheetReader.h"
#include "exchange/workbook/ZipPackage.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Appends an XML character as UTF-8; returns the characters it takes in a QString.
qsizetype AppendCodePoint(std::string& out, char32_t cp) {
    // XML 1.0 characters only.
    if (cp == 0 || (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || (cp >= 0xD800 && cp <= 0xDFFF) ||
        cp == 0xFFFE || cp == 0xFFFF || cp > 0x10FFFF)
        throw EDamagedPackage();
    Utf8Text::AppendCodePoint(out, cp);
    return cp < 0x10000 ? 1 : 2;
}

// Where the bytes from..end stop being valid UTF-8 (end when they all are); a character cut at
// end is taken as invalid.
void CheckUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // ASCII, eight bytes at a time.
        while (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        while (i < n && p[i] < 0x80)
            ++i;
        // A run of other bytes is whole characters when it is valid: no character holds an ASCII byte.
        const qsizetype run = i;
        while (i < n && p[i] >= 0x80)
            ++i;
        if (i > run && !IsValidUtf8(std::string_view(bytes.data() + run, size_t(i - run))))
            throw EDamagedPackage();
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

// The ">" that ends the tag starting at lt, outside quoted attribute values; -1 when there is none
// in xml, -2 when a "<" comes first.
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
            return -2;
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
    std::string R, T, S;
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
            std::string* into = !wanted       ? nullptr
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

std::string DecodedToUtf8(QByteArrayView bytes, QStringDecoder decoder) {
    if (!decoder.isValid())
        throw EDamagedPackage(); // an encoding Qt does not know
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw EDamagedPackage();
    return text.toStdString();
}

// Inflated parts are read in pieces of this size.
constexpr qsizetype kPieceBytes = qsizetype(1) << 20;
} // namespace

bool TXlsxSheetScanner::ReadMore(qsizetype& at) {
    if (FEnded)
        return false;
    if (!FKeepAll && at > 0) {
        FBuffer.erase(0, size_t(at));
        FVisible -= std::min(FVisible, at);
        at = 0;
    }
    const size_t filled = FBuffer.size();
    FBuffer.resize(filled + size_t(kPieceBytes));
    const qsizetype read = FPart->ReadInto(FBuffer.data() + filled, kPieceBytes);
    FBuffer.resize(filled + size_t(read));
    FEnded = read == 0;
    return true;
}

void TXlsxSheetScanner::ReadAll() {
    FKeepAll = true;
    qsizetype at = 0;
    while (ReadMore(at)) {
    }
}

void TXlsxSheetScanner::CheckRead() {
    qsizetype end = qsizetype(FBuffer.size());
    // Before the end of the part, up to the last ASCII byte: a character may go on in the next piece.
    if (!FEnded) {
        while (end > FVisible && uint8_t(FBuffer[size_t(end) - 1]) >= 0x80)
            --end;
    }
    CheckUtf8(QByteArrayView(FBuffer.data() + FVisible, end - FVisible));
    FVisible = end;
}

void TXlsxSheetScanner::Scan(TZipReader::TStream& part) {
    FPart = &part;
    qsizetype at = 0;
    // Enough for the byte order mark or the first character, and usually the XML declaration.
    while (qsizetype(FBuffer.size()) < 4096 && ReadMore(at)) {
    }
    const QByteArrayView start(FBuffer.data(), qsizetype(FBuffer.size()));
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(start, u'<');
    if (marked &&
        *marked != QStringConverter::Utf8) { // UTF-16 or UTF-32, by byte order mark or first character
        ReadAll();
        FBuffer =
            DecodedToUtf8(QByteArrayView(FBuffer.data(), qsizetype(FBuffer.size())), QStringDecoder(*marked));
    } else {
        if (start.startsWith("\xEF\xBB\xBF"))
            FBuffer.erase(0, 3);
        if (std::string_view(FBuffer).substr(0, 5) == "<?xml" && FBuffer.find("?>") == std::string::npos)
            ReadAll();
        const QByteArray encoding =
            DeclaredEncoding(QByteArrayView(FBuffer.data(), qsizetype(FBuffer.size())));
        if (!encoding.isEmpty() && encoding.compare("UTF-8", Qt::CaseInsensitive) != 0) {
            ReadAll();
            FBuffer = DecodedToUtf8(QByteArrayView(FBuffer.data(), qsizetype(FBuffer.size())),
                                    QStringDecoder(encoding.constData()));
        }
    }
    try {
        Scan();
    } catch (const EDamagedPackage&) {
        throw;
    } catch (...) {
        // A part read whole first would fail as damaged before any cell could be refused.
        CheckRest();
        throw;
    }
    // The rest, after the cells, must be sound too.
    CheckRest();
}

void TXlsxSheetScanner::CheckRest() {
    for (;;) {
        CheckRead();
        qsizetype at = FVisible;
        if (!ReadMore(at))
            return;
    }
}

void TXlsxSheetScanner::Scan() {
    std::vector<std::string> open;
    TAttributes attributes;
    const auto appendValue = [this](std::string& out, QByteArrayView value) { AppendText(out, value, true); };
    std::string nameBytes, piece;
    bool sawRoot = false;
    qsizetype i = 0;
    CheckRead();
    // Each turn reads the text up to the next "<", or the markup starting there; when either is cut
    // off by the end of what was read, the next piece is read and the turn starts again.
    while (!FReader.Done()) {
        const QByteArrayView xml = Visible();
        if (i == xml.size() || xml[i] != '<') {
            const qsizetype lt = xml.indexOf('<', i);
            if (lt < 0 && ReadMore(i)) {
                CheckRead();
                continue;
            }
            const QByteArrayView text = xml.sliced(i, (lt < 0 ? xml.size() : lt) - i);
            if (open.empty() && SkipBlanks(text, 0) != text.size())
                throw EDamagedPackage(); // text outside the root element
            if (FReader.WantsText())
                FReader.Characters(DecodedText(text, true, piece));
            if (lt < 0)
                break;
            i = lt;
            continue;
        }
        const QByteArrayView rest = xml.sliced(i);
        // Comments, instructions, character data and the document type start "<!" or "<?"; every
        // other markup is a tag. One cut off before its opening is whole has no ">" yet either, so
        // it is read on as a tag is.
        const bool special = rest.size() > 1 && (rest[1] == '!' || rest[1] == '?');
        enum { Tag, Comment, Instruction, CharacterData, DocumentType } kind = Tag;
        qsizetype end = -1;
        if (special && rest.startsWith("<!--")) {
            kind = Comment;
            end = xml.indexOf("-->", i + 4);
        } else if (special && rest.startsWith("<?")) {
            kind = Instruction;
            end = xml.indexOf("?>", i + 2);
        } else if (special && rest.startsWith("<![CDATA[")) {
            kind = CharacterData;
            end = xml.indexOf("]]>", i);
        } else if (special && rest.startsWith("<!DOCTYPE")) {
            kind = DocumentType;
            end = i;
        } else {
            end = TagEnd(xml, i);
        }
        if (end == -1) {
            if (ReadMore(i)) {
                CheckRead();
                continue;
            }
            throw EDamagedPackage();
        }
        if (end < 0)
            throw EDamagedPackage(); // a "<" inside a tag
        if (kind == Comment) {
            i = end + 3;
            continue;
        }
        if (kind == Instruction) {
            i = end + 2;
            continue;
        }
        if (kind == DocumentType) {
            if (sawRoot || FSawDocumentType)
                throw EDamagedPackage();
            // Its entities point into the buffer, which from now on holds the whole part.
            ReadAll();
            CheckRead();
            i = ReadDocumentType(Visible(), i);
            continue;
        }
        if (kind == CharacterData) {
            if (open.empty())
                throw EDamagedPackage();
            FReader.Characters(DecodedText(xml.sliced(i + 9, end - i - 9), false, piece));
            i = end + 3;
            continue;
        }
        const qsizetype gt = end;
        const bool closing = rest.size() > 1 && rest[1] == '/';
        const bool empty = !closing && xml[gt - 1] == '/';
        QByteArrayView tag = xml.sliced(i + (closing ? 2 : 1), gt - i - (closing ? 2 : 1) - (empty ? 1 : 0));
        qsizetype nameLength = 0;
        while (nameLength < tag.size() && !IsBlank(tag[nameLength]))
            ++nameLength;
        const QByteArrayView qualified = tag.first(nameLength);
        if (qualified.isEmpty())
            throw EDamagedPackage();
        const std::string_view name = DecodedText(LocalName(qualified), false, nameBytes);
        if (closing) {
            if (open.empty() || QByteArrayView(open.back()) != qualified)
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
                open.emplace_back(qualified.data(), size_t(qualified.size()));
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

void TXlsxSheetScanner::AppendEntity(std::string& out, QByteArrayView name, int depth, qsizetype& left) {
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
    AppendText(out, entity->Value, true, depth + 1, left);
}

std::string_view TXlsxSheetScanner::DecodedText(QByteArrayView text, bool references, std::string& scratch) {
    // Text that holds no reference, markup, CR or control character decodes to itself.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x20 && b != '&' && b != '<') || b == '\t' || b == '\n';
    });
    if (plain)
        return std::string_view(text.data(), size_t(text.size()));
    scratch.resize(0);
    AppendText(scratch, text, references);
    return scratch;
}

void TXlsxSheetScanner::AppendText(std::string& out, QByteArrayView text, bool references) {
    qsizetype unlimited = 0;
    AppendText(out, text, references, 0, unlimited);
}

void TXlsxSheetScanner::AppendText(std::string& out, QByteArrayView text, bool references, int depth,
                                   qsizetype& left) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = text.size();
    // Within an entity's value, what is added counts against the reference's characters.
    const auto added = [&](qsizetype characters) {
        if (depth > 0 && (left -= characters) < 0)
            throw EDamagedPackage(); // an entity that expands too far
    };
    for (qsizetype i = 0; i < n;) {
        qsizetype plain = i;
        while (plain < n && p[plain] >= 0x20 && p[plain] < 0x80 && p[plain] != '&' && p[plain] != '<')
            ++plain;
        if (plain > i) {
            out.append(text.data() + i, size_t(plain - i));
            added(plain - i);
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
            if (PredefinedReference(name, character)) {
                added(AppendCodePoint(out, character));
            } else if (depth > 0) {
                AppendEntity(out, name, depth, left);
            } else {
                qsizetype entityLeft = kMaxEntityCharacters;
                AppendEntity(out, name, depth, entityLeft);
            }
            i = semicolon + 1;
            continue;
        }
        if (c == '<' && references)
            throw EDamagedPackage(); // markup in text, or in an entity's value
        if (c < 0x80) {
            // XML turns CR LF and lone CR into LF.
            if (c == '\r') {
                out.push_back('\n');
                added(1);
                i += i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
                continue;
            }
            added(AppendCodePoint(out, c));
            ++i;
            continue;
        }
        // The part is valid UTF-8 as a whole, so a run of non-ASCII bytes is whole characters.
        qsizetype run = i;
        while (run < n && p[run] >= 0x80)
            ++run;
        out.append(text.data() + i, size_t(run - i));
        if (depth > 0)
            added(qsizetype(Utf8Text::Utf16Length(std::string_view(text.data() + i, size_t(run - i)))));
        i = run;
    }
}
