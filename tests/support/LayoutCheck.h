// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Finds what a user would see as a broken layout in a shown window: text cut off by its control,
// a control reaching outside its parent, controls lying over each other.

#include <QList>
#include <QStringList>

class QWidget;

namespace LayoutCheck {

// Every fault among the visible widgets under root, described in words (empty when none): a
// label, button, box or choice smaller than its size hint needs for its text, a wrapped text
// lower than its lines, a control outside its parent, and two sibling controls that intersect.
// The widgets in storedPlaces keep the pixel places the user gave them and are left out with
// everything inside them.
QStringList Faults(const QWidget& root, const QList<const QWidget*>& storedPlaces = {});

} // namespace LayoutCheck
