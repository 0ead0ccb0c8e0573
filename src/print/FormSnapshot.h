// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/PrintedElement.h"

class QWidget;
class TCategory;

// The record form as it shows now, for a record print: one entry per control that formPanel holds
// for an element of category, in the template's element order, with the control's place, size
// and font and the text it shows (edits not yet saved included).
TPrintedForm PrintedFormOf(const TCategory& category, const QWidget& formPanel);

// A label's caption as the label shows it: "&x" shows x (underlined on screen), "&&" one ampersand.
QString ShownCaption(const QString& caption);
