// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The focused control when it is a text box of either kind, with the Edit menu's operations.
class TFocusedTextBox {
public:
    explicit TFocusedTextBox(QWidget* focused);

    bool IsTextBox() const { return FEdit != nullptr || FMemo != nullptr; }
    bool HasSelection() const;
    bool HasText() const;
    // A text box has focus and the clipboard holds text.
    bool CanPaste() const;
    void Cut() const;
    void Copy() const;
    void Paste() const;
    void SelectAll() const;
    // The box's own undo of typing.
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo() const;
    void Redo() const;

private:
    QLineEdit* FEdit;
    QPlainTextEdit* FMemo;
};
