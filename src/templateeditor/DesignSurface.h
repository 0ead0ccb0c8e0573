// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "templateeditor/ElementDrag.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class TCategory;
class TElement;
class TPaintBox;
class TToolColumn;

// The design surface: the current category's form as live controls on a dotted grid. Tools place
// new elements; the pointer or the keyboard selects, moves and resizes them. Every finished change
// is written at once into the category, so it always describes what the surface shows. The
// pointer's moves and resizes are run by a TElementDrag.
//
// Keys, while the surface has the focus: Tab and Shift+Tab select the elements in template order
// (past the last or first the focus moves on), the arrows move the selected element to the next
// grid point, Shift and an arrow resize it by one grid step, Delete asks for its deletion and the
// menu key opens its context menu. Ctrl+Tab and Ctrl+Shift+Tab move the focus on at once.
class TDesignSurface : public QWidget {
    Q_OBJECT

public:
    TDesignSurface(TToolColumn* tools, QWidget* parent);

    // Shows category's form; nullptr shows nothing.
    void Load(TCategory* category);
    // The category's form colour, shown behind the grid.
    void SetFormColor(int32_t color);
    int32_t FormColor() const { return FFormColor; }

    // Selects the element with this id, or the panel itself for 0 (no element).
    void SelectElement(int32_t id);
    int32_t SelectedID() const;
    const TElement* SelectedElement() const;

    // Applies change to the selected element and shows it anew; labels follow their new text.
    void ChangeSelected(const std::function<void(TElement&)>& change);
    // Removes the selected element from the category and the surface, then selects the panel.
    void DeleteSelected();

signals:
    // The selection changed: the element now selected, or nullptr for the panel.
    void SelectionChanged(const TElement* element);
    // A text box was placed with a tool (not duplicated): its list column may be asked for.
    void TextBoxPlaced();
    // Delete was pressed on the selected element.
    void DeleteRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Controls.
    void ClearControls();
    QWidget* MakeControl(const TElement& element);
    QWidget* RebuildControl(QWidget* old);
    QWidget* ControlAt(const QPoint& point) const;
    QWidget* ControlOfElement(int32_t id) const;
    void WriteControlBack(QWidget* control);
    void PlaceSelectFrame();

    // Creating elements.
    void CreateElement(const char* kind);
    void PlaceWithTool(const char* kind, const QPoint& at);
    void DuplicateElement();

    // The element menu, for the pointer and the menu key.
    void OpenElementMenu(QWidget* control, const QPoint& globalPoint);

    // The keyboard.
    bool StepSelection(bool next);
    void MoveOrResizeSelected(int key, bool resize);

    TToolColumn* FTools;
    TCategory* FCategory = nullptr;
    int32_t FFormColor = 0;
    // Element controls in template order.
    std::vector<QWidget*> FControls;
    // The selected element's control; nullptr while the panel itself is selected.
    QWidget* FSelected = nullptr;
    // The control a press landed on (it keeps the pointer until the release); nullptr for the grid.
    QWidget* FPressed = nullptr;
    bool FPressedGrid = false;
    // The element the context menu was opened on.
    QWidget* FMenuElement = nullptr;
    // Where the next new element's top-left corner goes.
    QPoint FInsertPoint;

    TPaintBox* FSelectFrame;
    TElementDrag FDrag;
    QMenu* FElementMenu;
    QAction* FNewLabel;
    QAction* FNewEdit;
    QAction* FNewMemo;
};
