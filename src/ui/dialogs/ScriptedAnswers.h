// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

// Test mode of the dialog wrappers: tests queue the answers the next dialogs give; a dialog that
// finds no answer is recorded as unanswered and gives its cancel answer, so a test never waits
// for a click.
template <class TAnswer, class TShown> class TScriptedAnswers {
public:
    void Enable() {
        FEnabled = true;
        FQueue.clear();
        FShown.clear();
        FUnanswered.clear();
    }
    void Disable() { FEnabled = false; }
    bool Enabled() const { return FEnabled; }

    void Queue(const TAnswer& answer) { FQueue.append(answer); }
    int PendingAnswers() const { return static_cast<int>(FQueue.size()); }

    // The next queued answer, or false (recorded as unanswered under description) when none is left.
    bool TakeAnswer(const QString& description, TAnswer& answer) {
        if (FQueue.isEmpty()) {
            FUnanswered.append(description);
            return false;
        }
        answer = FQueue.takeFirst();
        return true;
    }
    void RecordUnanswered(const QString& description) { FUnanswered.append(description); }

    void RecordShown(const TShown& shown) { FShown.append(shown); }
    QList<TShown> TakeShown() {
        QList<TShown> shown;
        shown.swap(FShown);
        return shown;
    }
    QStringList TakeUnanswered() {
        QStringList unanswered;
        unanswered.swap(FUnanswered);
        return unanswered;
    }

private:
    bool FEnabled = false;
    QList<TAnswer> FQueue;
    QList<TShown> FShown;
    QStringList FUnanswered;
};
