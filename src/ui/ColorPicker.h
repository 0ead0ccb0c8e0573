// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

#include <cstdint>

class QFrame;

// A colour picker: a button showing the current colour whose drop-down "Text Color Window" offers
// "Automatic", a table of standard colours and "Other Colors..." (the standard colour dialog).
// Colours are stored colour values (0x00BBGGRR, or system colours).
class TColorPicker : public QToolButton {
    Q_OBJECT

public:
    // automaticColor is the value "Automatic" stands for.
    TColorPicker(const QString& name, const QString& hint, int32_t automaticColor, QWidget* parent);

    // Shows color without reporting it.
    void SetColor(int32_t color);
    int32_t Color() const { return FColor; }
    // The colour in words: "Automatic", a standard colour's name, or its #rrggbb value.
    QString ColorName() const;
    // The drop-down, created hidden with the picker.
    QFrame* DropDown() const { return FDropDown; }

signals:
    // The user picked a colour (also when it is the colour already shown).
    void ColorSelected(int32_t color);

private:
    void ShowDropDown();
    void Pick(int32_t color);
    void PickOther();
    void UpdateFace();

    int32_t FColor;
    int32_t FAutomaticColor;
    QFrame* FDropDown;
};
