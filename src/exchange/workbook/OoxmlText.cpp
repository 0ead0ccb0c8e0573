// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/OoxmlText.h"

#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/Utf8Text.h"

namespace OoxmlText {

namespace {
int HexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The character of an _xHHHH_ escape at position i, or -1.
int EscapeAt(QStringView text, qsizetype i) {
    if (text.size() - i < 7 || text[i] != QLatin1Char('_') || text[i + 1] != QLatin1Char('x') ||
        text[i + 6] != QLatin1Char('_'))
        return -1;
    int value = 0;
    for (qsizetype k = 2; k < 6; ++k) {
        const int digit = HexValue(text[i + k]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool XmlCannotHold(char16_t u) {
    return (u < 0x20 && u != '\t' && u != '\n') || u == 0xFFFE || u == 0xFFFF;
}

void AppendHexEscape(std::string& out, char16_t u) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(u >> shift) & 0xF]);
    out.push_back('_');
}

// XML specials, then UTF-8; returns false for a character the caller must escape itself.
bool AppendPlain(std::string& out, QStringView text, qsizetype& i) {
    const char16_t u = text[i].unicode();
    switch (u) {
    case '&':
        out += "&amp;";
        return true;
    case '<':
        out += "&lt;";
        return true;
    case '>':
        out += "&gt;";
        return true;
    default:
        break;
    }
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
        Utf8Text::AppendCodePoint(out, QChar::surrogateToUcs4(u, text[i + 1].unicode()));
        ++i;
        return true;
    }
    if (QChar::isSurrogate(u) || XmlCannotHold(u))
        return false;
    Utf8Text::AppendCodePoint(out, u);
    return true;
}
} // namespace

void AppendDecoded(QString& out, QStringView raw) {
    if (!raw.contains(QLatin1Char('_'))) {
        CellValueText::AppendWithCrLf(out, raw);
        return;
    }
    QString decoded;
    decoded.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const int escaped = EscapeAt(raw, i);
        if (escaped >= 0) {
            decoded.append(QChar(char16_t(escaped)));
            i += 6;
        } else {
            decoded.append(raw[i]);
        }
    }
    CellValueText::AppendWithCrLf(out, decoded);
}

void AppendEncoded(std::string& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == '\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            continue; // CR LF is written as the format's line break, a single LF
        if (u == '_' && EscapeAt(text, i) >= 0) {
            out += "_x005F_"; // so a literal _xHHHH_ reads back as written
            continue;
        }
        if (!AppendPlain(out, text, i))
            AppendHexEscape(out, u);
    }
}

void AppendAttribute(std::string& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('"'))
            out += "&quot;";
        else if (!AppendPlain(out, text, i))
            AppendHexEscape(out, text[i].unicode());
    }
}

bool NeedsSpacePreserve(QStringView text) {
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

} // namespace OoxmlText
