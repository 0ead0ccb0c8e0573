// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/TextMeasure.h"

#include <QTextBoundaryFinder>

namespace {

// Combining marks change the shape of the letter before them: such text is measured whole.
bool IsTableChar(char16_t c) {
    return c < 0x0300 || (c >= 0x0370 && c < 0x0483) || (c >= 0x048A && c < 0x0530);
}

QFont PlainFont(QFont font) {
    // Kerning and ligatures would make a text narrower than the sum of its characters; without
    // them the simple scripts also skip shaping, which makes long lists print faster.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace

TTextMeasure::TTextMeasure(const QFont& font, QPaintDevice* device)
    : FFont(PlainFont(font)), FMetrics(FFont, device), FRawFont(QRawFont::fromFont(QFont(FFont, device))),
      FCharWidths(kTableEnd, -1), FGlyphs(kTableEnd, -1) {}

quint32 TTextMeasure::Glyph(char16_t c) const {
    qint64& glyph = FGlyphs[c];
    if (glyph < 0) {
        const QList<quint32> found =
            FRawFont.isValid() ? FRawFont.glyphIndexesForString(QString(QChar(c))) : QList<quint32>();
        glyph = found.size() == 1 ? found.front() : 0;
    }
    return static_cast<quint32>(glyph);
}

bool TTextMeasure::AppendGlyphs(QStringView text, QPointF at, QList<quint32>& glyphs,
                                QList<QPointF>& positions) const {
    const qsizetype start = glyphs.size();
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == ' ') {
            at.rx() += CharWidth(code); // a blank only moves on
            continue;
        }
        const quint32 glyph = IsTableChar(code) ? Glyph(code) : 0;
        if (glyph == 0) {
            glyphs.resize(start);
            positions.resize(start);
            return false;
        }
        glyphs.append(glyph);
        positions.append(at);
        at.rx() += CharWidth(code);
    }
    return true;
}

qreal TTextMeasure::CharWidth(char16_t c) const {
    qreal& width = FCharWidths[c];
    if (width < 0) {
        width = FMetrics.horizontalAdvance(QChar(c));
    }
    return width;
}

qreal TTextMeasure::Width(QStringView text) const {
    qreal width = 0;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (!IsTableChar(code)) {
            return FMetrics.horizontalAdvance(text.toString());
        }
        width += CharWidth(code);
    }
    return width;
}

void TTextMeasure::StartLine(QStringView word, qreal width, TLine& line,
                             std::vector<QStringView>& lines) const {
    const qreal wordWidth = Width(word);
    if (wordWidth <= width) {
        line = {word, wordWidth};
        return;
    }
    // A word wider than the line alone is broken where it has to be, whole characters only (a
    // surrogate pair or a letter with its marks stays together), in one pass however long it is.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word.data(), word.size());
    qsizetype pieceStart = 0;
    qreal pieceWidth = 0;
    for (qsizetype from = 0, next = graphemes.toNextBoundary(); next > 0;
         from = next, next = graphemes.toNextBoundary()) {
        const qreal charWidth = Width(word.mid(from, next - from));
        if (from > pieceStart && pieceWidth + charWidth > width) {
            lines.push_back(word.mid(pieceStart, from - pieceStart));
            pieceStart = from;
            pieceWidth = 0;
        }
        pieceWidth += charWidth;
    }
    line = {word.mid(pieceStart), pieceWidth};
}

void TTextMeasure::WrapLines(QStringView text, qreal width, std::vector<QStringView>& lines) const {
    lines.clear();
    if (Width(text) <= width) {
        lines.push_back(text);
        return;
    }
    const qsizetype size = text.size();
    const QLatin1Char blank(' ');
    TLine line{text.left(0), 0};
    bool lineStarted = false;
    for (qsizetype pos = 0; pos < size;) {
        // The blanks before a word, then the word.
        const qsizetype gapStart = pos;
        while (pos < size && text[pos] == blank) {
            ++pos;
        }
        const qsizetype wordStart = pos;
        while (pos < size && text[pos] != blank) {
            ++pos;
        }
        if (wordStart == pos) {
            break; // blanks at the end
        }
        const QStringView word = text.mid(wordStart, pos - wordStart);
        if (!lineStarted) {
            StartLine(word, width, line, lines);
            lineStarted = true;
            continue;
        }
        const qreal joined = line.Width + Width(text.mid(gapStart, wordStart - gapStart)) + Width(word);
        if (joined <= width) {
            const qsizetype lineStart = line.Text.data() - text.data();
            line = {text.mid(lineStart, pos - lineStart), joined};
        } else {
            lines.push_back(line.Text);
            StartLine(word, width, line, lines);
        }
    }
    lines.push_back(line.Text);
}
