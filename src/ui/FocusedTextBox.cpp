// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FocusedTextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

TFocusedTextBox::TFocusedTextBox(QWidget* focused)
    : FEdit(qobject_cast<QLineEdit*>(focused)), FMemo(qobject_cast<QPlainTextEdit*>(focused)) {}

bool TFocusedTextBox::HasSelection() const {
    return FEdit != nullptr ? FEdit->hasSelectedText()
                            : FMemo != nullptr && FMemo->textCursor().hasSelection();
}

bool TFocusedTextBox::HasText() const {
    return FEdit != nullptr ? !FEdit->text().isEmpty() : FMemo != nullptr && !FMemo->document()->isEmpty();
}

bool TFocusedTextBox::CanPaste() const {
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    return IsTextBox() && clipboard != nullptr && clipboard->hasText();
}

void TFocusedTextBox::Cut() const {
    FEdit != nullptr ? FEdit->cut() : FMemo->cut();
}

void TFocusedTextBox::Copy() const {
    FEdit != nullptr ? FEdit->copy() : FMemo->copy();
}

void TFocusedTextBox::Paste() const {
    FEdit != nullptr ? FEdit->paste() : FMemo->paste();
}

void TFocusedTextBox::SelectAll() const {
    FEdit != nullptr ? FEdit->selectAll() : FMemo->selectAll();
}

bool TFocusedTextBox::CanUndo() const {
    return FEdit != nullptr ? FEdit->isUndoAvailable()
                            : FMemo != nullptr && FMemo->document()->isUndoAvailable();
}

bool TFocusedTextBox::CanRedo() const {
    return FEdit != nullptr ? FEdit->isRedoAvailable()
                            : FMemo != nullptr && FMemo->document()->isRedoAvailable();
}

void TFocusedTextBox::Undo() const {
    FEdit != nullptr ? FEdit->undo() : FMemo->undo();
}

void TFocusedTextBox::Redo() const {
    FEdit != nullptr ? FEdit->redo() : FMemo->redo();
}
