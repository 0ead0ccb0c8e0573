// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/PrintedElement.h"

#include <QPoint>

class TPageLines;

// The record page: every label, text box and memo box of the form where the page puts it. The page
// file is written from it and the printed page is drawn from it, so both always agree.
class TRecordPage {
public:
    explicit TRecordPage(TPrintedForm elements) : FElements(std::move(elements)) {}

    const TPrintedForm& Elements() const { return FElements; }

    // Where the page puts a control: a label at its own place, a text or memo box 3 pixels right
    // and down, as the form's boxes sit inside their sunken frame.
    static QPoint PlacedAt(const TPrintedElement& element);

    void WriteLines(TPageLines& lines) const;

private:
    TPrintedForm FElements;
};
