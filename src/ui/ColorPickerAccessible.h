// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class TColorPicker;

// What accessibility tools learn of a colour picker, whose face is a painted swatch: its name
// (the hint), the colour it shows as its value, and whether its drop-down is open.
class TColorPickerAccessible : public QAccessibleWidget {
public:
    explicit TColorPickerAccessible(TColorPicker* picker);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    // For QAccessible::installFactory: the interface of a colour picker, nullptr for others.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

private:
    TColorPicker* Picker() const;
};
