#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// Only one Quillery runs per user. The first start holds a lock file named after "App_Quenby" and
// listens on a local socket named after "Check For Quenby Previous Inst"; a later start cannot
// take the lock, sends that message to the socket and ends, and the first instance comes to the
// front. A lock left by a crashed run is taken over.
class TSingleInstanceGuard : public QObject {
    Q_OBJECT

public:
    static const char* const kLockName;
    static const char* const kMessage;

    // Tests keep their locks and sockets in a folder of their own; empty restores the default.
    static void SetFolderForTesting(const QString& folder);
    // The user's runtime folder, or the temporary folder when there is none.
    static QString Folder();
    static QString LockFilePath();
    static QString ServerPath();

    explicit TSingleInstanceGuard(QObject* parent = nullptr);
    ~TSingleInstanceGuard() override;

    // True when this is the first instance (it now holds the lock and listens). False when another
    // instance runs; that one has then been sent the message.
    bool TryAcquire();

signals:
    // The running instance received the message of a second start.
    void ActivationRequested();

private:
    void NewConnection();
    void NotifyRunningInstance();

    std::unique_ptr<QLockFile> FLock;
    QLocalServer* FServer = nullptr;
};
