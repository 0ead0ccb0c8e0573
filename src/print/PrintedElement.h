// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// A control of the record form as it shows at the moment of printing. The main window hands these
// over, so printing never reads the form's widgets itself.
enum class TPrintedKind { Label, TextBox, Memo };

struct TPrintedElement {
    TPrintedKind Kind = TPrintedKind::Label;
    // The control's own place and size in form pixels (a label's size is the one it took from its
    // caption, a text box's height the one its font gave it).
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    QString FontName;
    int FontSize = 0; // whole points
    // What the control shows now, unsaved edits included; a memo's lines are joined by CR LF.
    QString Text;
};

// The record form's controls in the template's element order.
using TPrintedForm = std::vector<TPrintedElement>;
