// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// Only one Quillery runs per user. The first start holds a lock file named after "App_Quenby" and
// listens on a local socket named after "Check For Quenby Previous Inst"; a later start cannot
// take the lock, sends that message to the socket (with the data file it was asked to open) and
// ends, and the first instance comes to the front. A lock left by a crashed run is taken over.
//
// The lock and the socket live in a folder that belongs to the user alone (PrivateFolder); where
// there is none, the start runs on its own, without the hand-over. Each side checks that the
// other end of the socket is run by the same user before it says anything.
//
// On the socket a start sends the message, a NUL byte, the absolute path in UTF-8 (empty for
// none) and a NUL byte; the running instance answers one byte, kReceived, once it has the whole
// request, so the later start knows it was heard.
class TSingleInstanceGuard : public QObject {
    Q_OBJECT

public:
    static const char* const kLockName;
    static const char* const kMessage;
    static constexpr char kReceived = '\x06';

    enum class TResult {
        Acquired,   // this is the first instance: it holds the lock and listens
        HandedOver, // another instance runs and has received the request
        NoAnswer,   // another instance holds the lock but did not answer within five seconds
        Unguarded   // no private folder for the names: this start runs without the hand-over
    };

    // Tests keep their locks and sockets in a folder of their own; empty restores the default.
    static void SetFolderForTesting(const QString& folder);
    // The folder of the lock and the socket; empty, with the reason in *why, when there is no
    // folder private to the user.
    static QString Folder(QString* why = nullptr);
    static QString LockFilePath();
    static QString ServerPath();

    explicit TSingleInstanceGuard(QObject* parent = nullptr);
    ~TSingleInstanceGuard() override;

    // Takes the lock, or hands the request (with filePath to open, if any) to the instance that
    // holds it.
    TResult TryAcquire(const QString& filePath = QString());
    // Why the last TryAcquire gave Unguarded.
    const QString& UnguardedReason() const { return FUnguardedReason; }

signals:
    // The running instance received the message of a second start.
    void ActivationRequested();
    // The second start asked to open this data file (an absolute path); comes after
    // ActivationRequested.
    void OpenFileRequested(const QString& filePath);

private:
    enum class TNotifyResult { Answered, NotListening, Refused };

    bool TakeLock();
    void Listen();
    void NewConnection();
    TNotifyResult NotifyRunningInstance(const QString& filePath);
    void ReadRequest(class QLocalSocket* socket);

    std::unique_ptr<QLockFile> FLock;
    QLocalServer* FServer = nullptr;
    QString FUnguardedReason;
};
