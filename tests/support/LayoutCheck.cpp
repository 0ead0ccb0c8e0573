// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRubberBand>
#include <QScrollArea>
#include <QSplitterHandle>

namespace LayoutCheck {
namespace {

QString Describe(const QWidget& widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        text = group->title();
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(widget.metaObject()->className()), widget.objectName(), text);
}

QString SizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// Controls that show text of their own: the size Qt's style needs to show it whole.
bool ShowsText(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return !label->text().isEmpty() || label->pixmap().isNull() == false;
    return qobject_cast<const QAbstractButton*>(&widget) != nullptr ||
           qobject_cast<const QLineEdit*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr ||
           qobject_cast<const QGroupBox*>(&widget) != nullptr;
}

void CheckText(const QWidget& widget, QStringList& faults) {
    const auto* label = qobject_cast<const QLabel*>(&widget);
    QSize needed = widget.minimumSizeHint();
    if (label != nullptr && label->wordWrap()) {
        // A wrapped text may take any width; its lines must fit the height that width leaves.
        needed = QSize(0, label->heightForWidth(label->width()));
    }
    if (widget.width() < needed.width() || widget.height() < needed.height())
        faults.append(QStringLiteral("%1 is %2, needs %3")
                          .arg(Describe(widget), SizeText(widget.size()), SizeText(needed)));
}

// Widgets whose children are parts of one control, placed by the control itself.
bool IsCompound(const QWidget& widget) {
    return qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr ||
           (qobject_cast<const QAbstractScrollArea*>(&widget) != nullptr &&
            qobject_cast<const QScrollArea*>(&widget) == nullptr);
}

QList<const QWidget*> ShownChildren(const QWidget& parent, const QList<const QWidget*>& storedPlaces) {
    QList<const QWidget*> children;
    for (const QObject* object : parent.children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child == nullptr || child->isWindow() || !child->isVisible() || storedPlaces.contains(child) ||
            qobject_cast<const QRubberBand*>(child) != nullptr ||
            // A handle's grab area reaches over its panes on purpose; it shows nothing.
            qobject_cast<const QSplitterHandle*>(child) != nullptr)
            continue;
        children.append(child);
    }
    return children;
}

void CheckTree(const QWidget& parent, const QList<const QWidget*>& storedPlaces, QStringList& faults) {
    if (IsCompound(parent))
        return;
    const QList<const QWidget*> children = ShownChildren(parent, storedPlaces);
    for (qsizetype i = 0; i < children.size(); ++i) {
        const QWidget& child = *children[i];
        if (!parent.rect().contains(child.geometry()))
            faults.append(QStringLiteral("%1 at %2,%3 %4 reaches outside %5 of %6")
                              .arg(Describe(child))
                              .arg(child.x())
                              .arg(child.y())
                              .arg(SizeText(child.size()), Describe(parent), SizeText(parent.size())));
        for (qsizetype j = i + 1; j < children.size(); ++j)
            if (child.geometry().intersects(children[j]->geometry()))
                faults.append(QStringLiteral("%1 overlaps %2").arg(Describe(child), Describe(*children[j])));
        if (ShowsText(child))
            CheckText(child, faults);
        CheckTree(child, storedPlaces, faults);
    }
}

} // namespace

QStringList Faults(const QWidget& root, const QList<const QWidget*>& storedPlaces) {
    QStringList faults;
    CheckTree(root, storedPlaces, faults);
    return faults;
}

} // namespace LayoutCheck
