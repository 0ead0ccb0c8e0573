// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string_view>

class QWidget;
class QPalette;
class TElement;
struct TFont;

// How a template element looks on screen. The record form and the design surface both build their
// controls here, so a template shows identically in both.
namespace TemplateControls {

// A stored colour (0x00BBGGRR, or a system colour with the top bit set) as a screen colour;
// system colours come from the palette's matching role.
QColor ToQColor(int32_t color, const QPalette& palette);
QColor ToQColor(int32_t color);
// A screen colour as a stored fixed colour.
int32_t FromQColor(const QColor& color);

// The face a form shows for a stored face name: the desktop's user-interface face stands in for
// "MS Sans Serif"; every other name is shown as stored.
QString ShownFace(const QString& storedFace);
// The element's font: face name (as ShownFace gives it), size in points, bold, italic, underline,
// strike-out.
QFont ToQFont(const TFont& font);
// Style bits of a screen font.
uint8_t StyleOf(const QFont& font);

// Height of a one-line box: the font's text height and four pixels of margin and border a side.
int EditHeight(const QFont& font);

// A label caption as the label shows it: "&x" underlines x, "&&" is one ampersand.
QString LabelHtml(const QString& caption);

// Makes the control for an element as a child of parent, placed, sized, coloured and visible:
// a QLabel for "TLabel" (sized to its caption), a QLineEdit for "TEdit" (height from its font),
// a QPlainTextEdit for "TMemo". Every control carries the element's id in the property
// "ElementID". Any other kind makes nothing and returns nullptr.
QWidget* Create(const TElement& element, QWidget* parent);

// The element id a control carries, or 0.
int32_t ElementIdOf(const QWidget* control);

} // namespace TemplateControls
