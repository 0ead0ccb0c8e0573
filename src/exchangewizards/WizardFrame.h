// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/ExchangeText.h"
#include "ui/dialogs/FileDialogs.h"

#include <QDialog>
#include <QElapsedTimer>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

// The frame both spreadsheet wizards share: a white header band with the title in bold green,
// pages without tabs, and a bottom band with "&Next" and "&Cancel", which becomes "&Close" at the
// end. Every way of closing the window runs the wizard's clean-up; while work runs the window
// does not close. Everything is placed by layouts: the window keeps its designed size unless a
// larger font needs more room.
class TWizardFrame : public QDialog {
    Q_OBJECT

public:
    // The page shown, counted from 0.
    int PageIndex() const;
    bool Working() const { return FWorking; }
    // The layout of a page made by AddPage, where its controls line up below its text.
    static QVBoxLayout* PageLayout(QWidget* page);

protected:
    TWizardFrame(const QString& objectName, const QString& title, int clientHeight, QWidget* parent);

    // A page with its text at the top; the wizard adds its controls to PageLayout.
    QWidget* AddPage(const QString& text);
    // A page with its text and a progress bar for the long work.
    QProgressBar* AddProgressPage(const QString& text);
    void SetHeaderPicture(const QPixmap& picture);
    // The file name box "LEFileName" on the next line of page with its "&Browse" button, which
    // offers a file dialog with browse and puts the chosen path into the box.
    QLineEdit* AddFileNameBox(QWidget* page, const FileDialogs::TOptions& browse);
    // "&Back" before "&Next", disabled until the wizard enables it.
    QPushButton* AddBackButton();

    // Page 1, both buttons enabled, the close button captioned "&Cancel".
    void StartRun();
    void ShowPage(int index);
    // Disables both buttons; while working the window refuses to close.
    void SetWorking(bool working);
    // The last page's buttons: "&Close" enabled, "&Next" disabled.
    void Finish();
    // Lets the window paint what changed before long work starts.
    void RepaintNow();
    // Moves bar and lets the window paint, at most every few milliseconds so that the work is
    // not slowed by the painting.
    TExchangeProgress ProgressOn(QProgressBar* bar);
    // Runs the engine's long calls on a worker thread while the page of bar shows it busy and the
    // window paints; the buttons are disabled and the window does not close meanwhile. Then the
    // window is as before: page, bar, buttons and focus.
    TExchangeWait WaitOn(QProgressBar* bar);

    // Shows the window modally and returns at once.
    void OpenModal();

    virtual void GoToNextPage() = 0;
    // Releases what the wizard holds open.
    virtual void CleanUp() = 0;

    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

    QPushButton* FNextButton;
    QPushButton* FCancelButton;

private:
    void FitToContents();

    QStackedWidget* FPages;
    QLabel* FHeaderPicture;
    QHBoxLayout* FButtons;
    QSize FDesignedSize;
    bool FWorking = false;
    QElapsedTimer FSlice;
};
