// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "app/PrivateFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <sys/socket.h>
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
// The running instance may be busy drawing or reading a file when a second start arrives, or may
// hold the lock but not listen yet when both start at once.
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kRetryMs = 50;
// A request is the message and a path; anything longer is not from a Quillery start.
constexpr int kMaxRequestBytes = 64 * 1024;

// The other end of a connected local socket runs as this user.
bool PeerIsThisUser(qintptr descriptor) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return descriptor >= 0 &&
           ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::getuid();
}

} // namespace

const char* const TSingleInstanceGuard::kLockName = "App_Quenby";
const char* const TSingleInstanceGuard::kMessage = "Check For Quenby Previous Inst";

void TSingleInstanceGuard::SetFolderForTesting(const QString& folder) {
    TestingFolder() = folder;
}

QString TSingleInstanceGuard::Folder(QString* why) {
    if (!TestingFolder().isEmpty()) {
        return TestingFolder();
    }
    return PrivateFolder::Find(why);
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

TSingleInstanceGuard::TResult TSingleInstanceGuard::TryAcquire(const QString& filePath) {
    FUnguardedReason.clear();
    if (Folder(&FUnguardedReason).isEmpty()) {
        return TResult::Unguarded;
    }
    // A first start that holds the lock may not listen yet: keep trying until the time is up,
    // taking the lock over should its holder end meanwhile.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        if (TakeLock()) {
            Listen();
            return TResult::Acquired;
        }
        switch (NotifyRunningInstance(filePath)) {
        case TNotifyResult::Answered:
            return TResult::HandedOver;
        case TNotifyResult::Refused:
            return TResult::NoAnswer;
        case TNotifyResult::NotListening:
            if (deadline.hasExpired()) {
                return TResult::NoAnswer;
            }
            QThread::msleep(kRetryMs);
            break;
        }
    }
}

bool TSingleInstanceGuard::TakeLock() {
    auto lock = std::make_unique<QLockFile>(LockFilePath());
    // Age never makes a lock stale: the instance holds it for as long as it runs.
    lock->setStaleLockTime(0);
    // A lock whose owner process is gone (a crashed run) is stale and taken over.
    const bool locked = lock->tryLock(10) || (lock->error() == QLockFile::LockFailedError &&
                                              lock->removeStaleLockFile() && lock->tryLock(10));
    if (locked) {
        FLock = std::move(lock);
    }
    return locked;
}

void TSingleInstanceGuard::Listen() {
    // Holding the lock, any socket left at the path belongs to a run that ended.
    QLocalServer::removeServer(ServerPath());
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstanceGuard::NewConnection);
    FServer->listen(ServerPath());
}

TSingleInstanceGuard::TNotifyResult TSingleInstanceGuard::NotifyRunningInstance(const QString& filePath) {
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return TNotifyResult::NotListening;
    }
    // The path of the file being opened goes to no one but this user's own Quillery.
    if (!PeerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        return TNotifyResult::Refused;
    }
    socket.write(QByteArray(kMessage) + '\0' + filePath.toUtf8() + '\0');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    const bool answered =
        socket.waitForReadyRead(kAnswerTimeoutMs) && socket.read(1) == QByteArray(1, kReceived);
    socket.disconnectFromServer();
    return answered ? TNotifyResult::Answered : TNotifyResult::Refused;
}

void TSingleInstanceGuard::NewConnection() {
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
    }
}

void TSingleInstanceGuard::ReadRequest(QLocalSocket* socket) {
    // The request may arrive in pieces: wait until both NUL bytes are there.
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    const int messageEnd = request.indexOf('\0');
    const int pathEnd = messageEnd < 0 ? -1 : request.indexOf('\0', messageEnd + 1);
    if (pathEnd < 0) {
        if (request.size() > kMaxRequestBytes) {
            socket->abort();
        } else {
            socket->setProperty("request", request);
        }
        return;
    }
    socket->setProperty("request", QVariant());
    if (request.left(messageEnd) != kMessage) {
        socket->abort();
        return;
    }
    const QString filePath = QString::fromUtf8(request.mid(messageEnd + 1, pathEnd - messageEnd - 1));
    socket->write(QByteArray(1, kReceived));
    socket->flush();
    emit ActivationRequested();
    // Only an absolute path names one file whatever the receiver's working folder is; as on the
    // command line, only an existing regular file is opened (never created).
    if (!filePath.isEmpty() && QDir::isAbsolutePath(filePath) && QFileInfo(filePath).isFile()) {
        emit OpenFileRequested(filePath);
    }
}
