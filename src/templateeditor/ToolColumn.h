// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QToolButton;

// The column of tool buttons beside the design surface: the selection arrow and one tool each for
// placing a label, a one-line text box and a memo box. Exactly one is down at any time.
class TToolColumn : public QWidget {
    Q_OBJECT

public:
    explicit TToolColumn(QWidget* parent);

    // The element kind the down tool places, or nullptr while the arrow is down.
    const char* PlacingKind() const;
    void SelectArrow();

signals:
    // A placing tool was double-clicked: the click that completes it places an element of kind.
    void DoubleClicked(const char* kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TTool {
        QToolButton* Button;
        const char* Kind; // nullptr for the arrow
    };

    void ToolClicked(const TTool& tool);

    TTool FTools[4];
    // A double click was seen; the click that follows it (the second release) places an element.
    bool FDoubleClicked = false;
};
