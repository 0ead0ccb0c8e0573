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
        NoAnswer    // another instance holds the lock but did not answer
    };

    // Tests keep their locks and sockets in a folder of their own; empty restores the default.
    static void SetFolderForTesting(const QString& folder);
    // The user's runtime folder, or the temporary folder when there is none.
    static QString Folder();
    static QString LockFilePath();
    static QString ServerPath();

    explicit TSingleInstanceGuard(QObject* parent = nullptr);
    ~TSingleInstanceGuard() override;

    // Takes the lock, or hands the request (with filePath to open, if any) to the instance that
    // holds it.
    TResult TryAcquire(const QString& filePath = QString());

signals:
    // The running instance received the message of a second start.
    void ActivationRequested();
    // The second start asked to open this data file (an absolute path); comes after
    // ActivationRequested.
    void OpenFileRequested(const QString& filePath);

private:
    void NewConnection();
    bool NotifyRunningInstance(const QString& filePath);
    void ReadRequest(class QLocalSocket* socket);

    std::unique_ptr<QLockFile> FLock;
    QLocalServer* FServer = nullptr;
};
