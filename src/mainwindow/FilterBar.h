// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

#include <string>

class QCheckBox;
class QLineEdit;

// The filter box and "Match Whole Word". A typed character or a click on the check box asks for
// a run once the user has paused; the run itself belongs to the window.
class TFilterBar : public QWidget {
    Q_OBJECT

public:
    explicit TFilterBar(QWidget* parent = nullptr);

    QString Text() const;
    bool WholeWord() const;
    bool IsEmpty() const { return Text().isEmpty(); }
    // Locks the bar while a run goes on.
    void SetRunning(bool running);
    void FocusBox();
    // After a run: the caret at the end of the text (at most a thousand characters in).
    void PlaceCaretAfterRun();

    // One-shot, 300 ms after the last key; its handler is an ordinary member so tests can fire it.
    QTimer TimerSearch;
    void TimerSearchTimer();

signals:
    // The pause is over: run the filter, or show every record when the box is empty.
    void RunRequested();
    // The filter box lost the focus.
    void BoxLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestartWait();

    QLineEdit* FBox;
    QCheckBox* FWholeWord;
};
