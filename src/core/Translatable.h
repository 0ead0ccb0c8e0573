// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The data store's messages are English templates that the window translates when it shows them.
// Each template is marked where it is written, QT_TRANSLATE_NOOP("Quillery", "..."), so that
// lupdate, which reads the marker as text, collects it; without Qt the marker is the text itself,
// defined exactly as Qt defines it so that either header may come first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

// The translation context of every marked template of the data store.
inline constexpr char kMessageContext[] = "Quillery";
