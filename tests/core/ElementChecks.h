// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Compares two templates field by field, for the store's tests and the template editor's.

#include "core/Category.h"

#include <QtTest>

// Every stored field of the two categories' elements, element by element, in order.
inline void CompareElements(const TCategory& c, const TCategory& expected) {
    QCOMPARE(c.Elements.size(), expected.Elements.size());
    for (size_t i = 0; i < c.Elements.size(); ++i) {
        const TElement& a = *c.Elements[i];
        const TElement& b = *expected.Elements[i];
        QCOMPARE(a.Kind, b.Kind);
        QCOMPARE(a.ID, b.ID);
        QCOMPARE(a.ValueIndex, b.ValueIndex);
        QCOMPARE(a.Left, b.Left);
        QCOMPARE(a.Top, b.Top);
        QCOMPARE(a.Width, b.Width);
        QCOMPARE(a.Height, b.Height);
        QCOMPARE(a.Color, b.Color);
        QVERIFY(a.Font == b.Font);
        QCOMPARE(a.Caption, b.Caption);
    }
}
