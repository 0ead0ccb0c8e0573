// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TemplateControls.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

namespace TemplateControls {

namespace {

const char* const kElementIdProperty = "ElementID";

// The palette role that stands for each system colour index.
QColor SystemColor(int index, const QPalette& palette) {
    switch (index) {
    case 5: // window
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return palette.color(QPalette::Text);
    case 2:  // active caption
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 9:  // caption text
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 12: // application workspace
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    case 15: // button face
    case 0:  // scroll bar
        return palette.color(QPalette::Button);
    default: // desktop, menus, borders, inactive caption
        return palette.color(QPalette::Window);
    }
}

QString Css(const QColor& color) {
    return color.name(QColor::HexRgb);
}

// The flat look of the text boxes: a thin border in the button-shadow colour.
// The designed colours, with the desktop's focus and disabled looks on top: the focused box is
// framed in the highlight colour and a disabled box greys its text.
QString BoxStyle(const char* widgetClass, const TElement& element) {
    const QPalette palette = QApplication::palette();
    return QStringLiteral("%1 { background-color: %2; color: %3; border: 1px solid %4; }"
                          "%1:focus { border: 1px solid %5; }"
                          "%1:disabled { color: %6; }")
        .arg(QLatin1String(widgetClass), Css(ToQColor(element.Color)), Css(ToQColor(element.Font.Color)),
             Css(ToQColor(static_cast<int32_t>(0x80000010))), Css(palette.color(QPalette::Highlight)),
             Css(palette.color(QPalette::Disabled, QPalette::Text)));
}

} // namespace

QColor ToQColor(int32_t color, const QPalette& palette) {
    if (color < 0)
        return SystemColor(color & 0xFF, palette);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QColor ToQColor(int32_t color) {
    return ToQColor(color, QApplication::palette());
}

int32_t FromQColor(const QColor& color) {
    return static_cast<int32_t>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

QString ShownFace(const QString& storedFace) {
    // Older files and the starter template name this face; where it is missing the substitute is a
    // small generic face, so forms show the desktop's own face in its place.
    if (storedFace.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0)
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return storedFace;
}

QFont ToQFont(const TFont& font) {
    QFont result(ShownFace(DisplayText(font.Name)));
    if (font.Size > 0)
        result.setPointSize(font.Size);
    result.setBold(font.Style & fsBold);
    result.setItalic(font.Style & fsItalic);
    result.setUnderline(font.Style & fsUnderline);
    result.setStrikeOut(font.Style & fsStrikeOut);
    return result;
}

uint8_t StyleOf(const QFont& font) {
    return static_cast<uint8_t>((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                                (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0));
}

int EditHeight(const QFont& font) {
    return QFontMetrics(font).height() + 8;
}

QString LabelHtml(const QString& caption) {
    QString html;
    for (int i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == QLatin1Char('&') && i + 1 < caption.size()) {
            const QChar next = caption.at(++i);
            if (next == QLatin1Char('&'))
                html += QStringLiteral("&amp;");
            else
                html += QStringLiteral("<u>") + QString(next).toHtmlEscaped() + QStringLiteral("</u>");
        } else if (c == QLatin1Char('\r')) {
            continue; // CR LF and lone LF both break the line
        } else if (c == QLatin1Char('\n')) {
            html += QStringLiteral("<br>");
        } else {
            html += QString(c).toHtmlEscaped();
        }
    }
    // Keep runs of blanks as typed.
    return QStringLiteral("<span style=\"white-space:pre\">") + html + QStringLiteral("</span>");
}

QWidget* Create(const TElement& element, QWidget* parent) {
    QWidget* control = nullptr;
    const QFont font = ToQFont(element.Font);
    if (element.Kind == kKindLabel) {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::RichText);
        label->setText(LabelHtml(DisplayText(element.Caption)));
        label->setFont(font);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ToQColor(element.Font.Color));
        label->setPalette(palette);
        label->move(element.Left, element.Top);
        label->adjustSize();
        control = label;
    } else if (element.Kind == kKindEdit) {
        auto* edit = new QLineEdit(parent);
        edit->setFont(font);
        edit->setStyleSheet(BoxStyle("QLineEdit", element));
        edit->setGeometry(element.Left, element.Top, element.Width, EditHeight(font));
        control = edit;
    } else if (element.Kind == kKindMemo) {
        auto* memo = new QPlainTextEdit(parent);
        memo->setFont(font);
        memo->setStyleSheet(BoxStyle("QPlainTextEdit", element));
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setTabChangesFocus(true);
        memo->setGeometry(element.Left, element.Top, element.Width, element.Height);
        control = memo;
    } else {
        return nullptr;
    }
    control->setProperty(kElementIdProperty, element.ID);
    control->show();
    return control;
}

int32_t ElementIdOf(const QWidget* control) {
    return control ? control->property(kElementIdProperty).toInt() : 0;
}

} // namespace TemplateControls
