// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QStringView>

#include <vector>

class QPaintDevice;

// Widths and line breaks of texts in one font on one paint device. A list print measures every
// cell several times, so the widths of the characters of the simple scripts (Latin, Greek,
// Cyrillic) are kept and added up; any other text is measured whole by the font.
class TTextMeasure {
public:
    TTextMeasure(const QFont& font, QPaintDevice* device);

    const QFont& Font() const { return FFont; }
    qreal LineHeight() const { return FMetrics.height(); }
    qreal Ascent() const { return FMetrics.ascent(); }
    qreal Width(QStringView text) const;

    // Adds the glyphs of text, starting at baseline point at, to a glyph run in the making; the
    // positions follow Width exactly. False when text needs the font's shaping or a fallback
    // font, and then the run is left as it was: draw such text with the painter.
    bool AppendGlyphs(QStringView text, QPointF at, QList<quint32>& glyphs, QList<QPointF>& positions) const;
    // The font the glyphs of AppendGlyphs belong to.
    const QRawFont& RawFont() const { return FRawFont; }

    // Breaks text into lines no wider than width: at blanks, and inside a word only where the
    // word alone is wider. lines receives views into text; an empty text gives one empty line.
    void WrapLines(QStringView text, qreal width, std::vector<QStringView>& lines) const;

private:
    // Characters below this take their width from the table.
    static constexpr char16_t kTableEnd = 0x0530;

    struct TLine {
        QStringView Text;
        qreal Width;
    };
    // Begins a line with word; the pieces of a word wider than the line go to lines first.
    void StartLine(QStringView word, qreal width, TLine& line, std::vector<QStringView>& lines) const;
    qreal CharWidth(char16_t c) const;

    // The glyph of a table character, 0 when the font has none.
    quint32 Glyph(char16_t c) const;

    QFont FFont;
    QFontMetricsF FMetrics;
    QRawFont FRawFont;
    mutable std::vector<qreal> FCharWidths; // negative: not measured yet
    mutable std::vector<qint64> FGlyphs;    // negative: not looked up yet
};
