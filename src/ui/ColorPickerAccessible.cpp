// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ColorPickerAccessible.h"

#include "ui/ColorPicker.h"

#include <QFrame>

TColorPickerAccessible::TColorPickerAccessible(TColorPicker* picker)
    : QAccessibleWidget(picker, QAccessible::ButtonDropDown) {}

TColorPicker* TColorPickerAccessible::Picker() const {
    return static_cast<TColorPicker*>(widget());
}

QString TColorPickerAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Name && Picker()->accessibleName().isEmpty())
        return Picker()->toolTip();
    if (kind == QAccessible::Value)
        return Picker()->ColorName();
    return QAccessibleWidget::text(kind);
}

QAccessible::State TColorPickerAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = true;
    state.expanded = Picker()->DropDown()->isVisible();
    state.collapsed = !state.expanded;
    return state;
}

QStringList TColorPickerAccessible::actionNames() const {
    return QStringList{pressAction(), showMenuAction()} + QAccessibleWidget::actionNames();
}

void TColorPickerAccessible::doAction(const QString& action) {
    if (action == pressAction() || action == showMenuAction())
        Picker()->click();
    else
        QAccessibleWidget::doAction(action);
}

QAccessibleInterface* TColorPickerAccessible::Create(const QString& className, QObject* object) {
    if (className == QLatin1String(TColorPicker::staticMetaObject.className()) && object->isWidgetType())
        return new TColorPickerAccessible(static_cast<TColorPicker*>(object));
    return nullptr;
}
