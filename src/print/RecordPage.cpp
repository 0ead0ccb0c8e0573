// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/RecordPage.h"

#include "print/PageFile.h"

namespace {

void WriteFont(TPageLines& lines, const TPrintedElement& element) {
    lines << u"font-family:" << PageText(element.FontName) << u";font-size:" << element.FontSize << u"pt";
}

void WriteBoxDiv(TPageLines& lines, const TPrintedElement& element) {
    const QPoint at = TRecordPage::PlacedAt(element);
    lines << u"<div style=\"position:absolute;left:" << at.x() << u"px;top:" << at.y() << u"px\">";
    lines.EndLine();
}

const char16_t* const kBoxBorder = u"border-style:solid;border-width:1px;border-color:#CFCFCF";

} // namespace

QPoint TRecordPage::PlacedAt(const TPrintedElement& element) {
    if (element.Kind == TPrintedKind::Label) {
        return QPoint(element.Left, element.Top);
    }
    return QPoint(element.Left + 3, element.Top + 3);
}

void TRecordPage::WriteLines(TPageLines& lines) const {
    lines << u"<html><head><title>Quillery</title></head><body>";
    lines.EndLine();
    for (const TPrintedElement& element : FElements) {
        switch (element.Kind) {
        case TPrintedKind::Label:
            lines << u"<div style=\"position:absolute;left:" << element.Left << u"px;top:" << element.Top
                  << u"px;";
            WriteFont(lines, element);
            lines << u"\">";
            lines.EndLine();
            lines << PageText(element.Text);
            lines.EndLine();
            lines << u"</div>";
            lines.EndLine();
            break;
        case TPrintedKind::TextBox:
            WriteBoxDiv(lines, element);
            lines << u"<input style=\"";
            WriteFont(lines, element);
            lines << u";width:" << element.Width << u"px;" << kBoxBorder << u"\" type=\"text\" value=\""
                  << PageText(element.Text) << u"\">";
            lines.EndLine();
            lines << u"</div>";
            lines.EndLine();
            break;
        case TPrintedKind::Memo:
            WriteBoxDiv(lines, element);
            lines << u"<textarea style=\"";
            WriteFont(lines, element);
            lines << u";width:" << element.Width << u"px;height:" << element.Height << u"px;" << kBoxBorder
                  << u";overflow:auto\">" << PageText(element.Text);
            lines.EndLine();
            lines << u"</textarea></div>";
            lines.EndLine();
            break;
        }
    }
    lines << u"</body></html>";
    lines.EndLine();
}
