// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>

class QWidget;
class TSettingsFile;

// The main window's place between runs: its normal (not maximised) geometry and whether it was
// maximised, kept in the settings file as WindowLeft, WindowTop, WindowWidth, WindowHeight and
// WindowMaximized.

// Where a window remembered at saved goes, given the available areas of the screens there are now.
// On the screen it overlaps most it keeps its place, moved and shrunk only as far as it must to lie
// within that screen. A place on a screen that is gone (less than a corner's worth on any screen)
// gives its size, as far as it fits, centred on primary. No remembered place (an empty rect) gives
// the whole of primary.
QRect PlacedGeometry(const QRect& saved, const QList<QRect>& screens, const QRect& primary);

// Shows window at its remembered place, maximised if it was; the first time, maximised on the
// primary screen.
void ShowAtRememberedPlace(QWidget& window);
void RememberPlace(const QWidget& window, TSettingsFile& settings);
