// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrivateFolder.h"

#include <QDir>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFolder {

QString Problem(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return QStringLiteral("%1 cannot be read: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!S_ISDIR(info.st_mode)) {
        return QStringLiteral("%1 is not a folder").arg(path);
    }
    if (info.st_uid != ::getuid()) {
        return QStringLiteral("%1 belongs to another user").arg(path);
    }
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return QStringLiteral("%1 is open to other users").arg(path);
    }
    return QString();
}

QString Find(QString* why) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && Problem(runtime).isEmpty()) {
        return runtime;
    }
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("quillery-%1").arg(::getuid()));
    // An existing one is never changed: only its checks decide.
    ::mkdir(QFile::encodeName(own).constData(), S_IRWXU);
    const QString problem = Problem(own);
    if (problem.isEmpty()) {
        return own;
    }
    if (why != nullptr) {
        *why = problem;
    }
    return QString();
}

} // namespace PrivateFolder
