// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Data files that a second start asked the running instance to open. The opening itself (offer to
// save a modified record, then open with the password check) is the main window's, handed in as a
// function. A request never runs inside another window's modal session (a dialog, the template
// editor with its working copy) nor inside an opening that is still asking for a password: it waits
// until those have ended. Of several waiting requests the latest wins.
class TOpenFileRequests : public QObject {
    Q_OBJECT

public:
    using TOpenFile = std::function<void(const QString& filePath)>;

    explicit TOpenFileRequests(TOpenFile openFile, QObject* parent = nullptr);

    void Request(const QString& filePath);
    bool Waiting() const { return !FPending.isEmpty(); }

private:
    void OpenPending();

    TOpenFile FOpenFile;
    QString FPending;
    bool FOpening = false;
    // While a modal window is open the request is tried again on each tick.
    QTimer FRetry;
};
