#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {

QString& TestingFolder() {
    static QString folder;
    return folder;
}

// Per-user names, so that two users of one machine each run their own copy.
QString PerUserName(const char* name) {
    return QString::fromLatin1(name) + QLatin1Char('-') + QString::number(::getuid());
}

constexpr int kConnectTimeoutMs = 1000;

} // namespace

const char* const TSingleInstanceGuard::kLockName = "App_Quenby";
const char* const TSingleInstanceGuard::kMessage = "Check For Quenby Previous Inst";

void TSingleInstanceGuard::SetFolderForTesting(const QString& folder) {
    TestingFolder() = folder;
}

QString TSingleInstanceGuard::Folder() {
    if (!TestingFolder().isEmpty()) {
        return TestingFolder();
    }
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString TSingleInstanceGuard::LockFilePath() {
    return QDir(Folder()).filePath(PerUserName(kLockName) + QStringLiteral(".lock"));
}

QString TSingleInstanceGuard::ServerPath() {
    return QDir(Folder()).filePath(PerUserName(kMessage));
}

TSingleInstanceGuard::TSingleInstanceGuard(QObject* parent) : QObject(parent) {}

TSingleInstanceGuard::~TSingleInstanceGuard() {
    if (FServer != nullptr) {
        FServer->close();
    }
    if (FLock) {
        FLock->unlock();
    }
}

bool TSingleInstanceGuard::TryAcquire() {
    auto lock = std::make_unique<QLockFile>(LockFilePath());
    // Age never makes a lock stale: the instance holds it for as long as it runs.
    lock->setStaleLockTime(0);
    // A lock whose owner process is gone (a crashed run) is stale and taken over.
    const bool locked = lock->tryLock(10) || (lock->error() == QLockFile::LockFailedError &&
                                              lock->removeStaleLockFile() && lock->tryLock(10));
    if (!locked) {
        NotifyRunningInstance();
        return false;
    }
    FLock = std::move(lock);

    // Holding the lock, any socket left at the path belongs to a run that ended.
    QLocalServer::removeServer(ServerPath());
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstanceGuard::NewConnection);
    FServer->listen(ServerPath());
    return true;
}

void TSingleInstanceGuard::NotifyRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return;
    }
    socket.write(kMessage);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
}

void TSingleInstanceGuard::NewConnection() {
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().startsWith(kMessage)) {
                emit ActivationRequested();
            }
        });
    }
}
