// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QComboBox;
class QLineEdit;
class QToolButton;
class TColorPicker;
class TColumnCaptionDialog;
class TDesignSurface;
class TElement;
class TListPreview;

// The property bar above the design surface ("Form View of Data:"): the background colour, the
// font and the caption of the selected element, or the form colour while none is selected; and the
// element commands that concern list columns: the list-column question after a text box is placed,
// and deleting an element with its column.
class TElementProperties : public QWidget {
    Q_OBJECT

public:
    TElementProperties(TDesignSurface* surface, TListPreview* preview, QWidget* parent);

    // Shows the controls that fit element (nullptr: the panel itself) and fills them from it.
    void Show(const TElement* element);
    // Asks whether the text box just placed gets a list column, and for its caption.
    void AskListColumn();
    // Deletes the selected element; a text box (with its column) only after the user agrees.
    void DeleteSelectedElement();

private:
    void AskColumnCaption();
    void ChangeSelected(const std::function<void(TElement&)>& change);
    void ChangeFontStyle(uint8_t bit, bool down);
    void BackgroundColorSelected(int32_t color);
    void FontNameChosen(int index);
    void FontSizeChosen(int index);
    void CaptionEdited(const QString& text);

    TDesignSurface* FSurface;
    TListPreview* FPreview;
    TColumnCaptionDialog* FCaptionDialog;

    TColorPicker* FBackgroundColor;
    QWidget* FFontPanel;
    QComboBox* FFontName;
    QComboBox* FFontSize;
    QToolButton* FBold;
    QToolButton* FItalic;
    QToolButton* FUnderline;
    TColorPicker* FFontColor;
    QLineEdit* FCaption;
};
