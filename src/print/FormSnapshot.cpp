// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/FormSnapshot.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"
#include "ui/TemplateControls.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <unordered_map>

namespace {

int PointSizeOf(const QWidget& control) {
    const int size = control.font().pointSize();
    return size > 0 ? size : QFontInfo(control.font()).pointSize();
}

} // namespace

QString ShownCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i; // the next character shows, underlined; "&&" shows one ampersand
        }
        shown += caption.at(i);
    }
    return shown;
}

TPrintedForm PrintedFormOf(const TCategory& category, const QWidget& formPanel) {
    std::unordered_map<int32_t, const QWidget*> controls;
    for (const QWidget* control : formPanel.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        controls.emplace(TemplateControls::ElementIdOf(control), control);
    }
    TPrintedForm form;
    for (const auto& element : category.Elements) {
        const auto found = controls.find(element->ID);
        if (found == controls.end()) {
            continue;
        }
        const QWidget& control = *found->second;
        TPrintedElement printed;
        if (qobject_cast<const QLabel*>(&control)) {
            printed.Kind = TPrintedKind::Label;
            printed.Text = ShownCaption(DisplayText(element->Caption));
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
            printed.Kind = TPrintedKind::TextBox;
            printed.Text = edit->text();
        } else if (const auto* memo = qobject_cast<const QPlainTextEdit*>(&control)) {
            printed.Kind = TPrintedKind::Memo;
            printed.Text = memo->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        } else {
            continue;
        }
        printed.Left = control.x();
        printed.Top = control.y();
        printed.Width = control.width();
        printed.Height = control.height();
        printed.FontName = control.font().family();
        printed.FontSize = PointSizeOf(control);
        form.push_back(std::move(printed));
    }
    return form;
}
