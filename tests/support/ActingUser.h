// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The superuser passes every permission check, and CI runs the tests as the superuser. A test of
// what a user may not do therefore acts, while it does it, as an unprivileged user: the process
// takes that user's effective user and group and no other groups, which drops the superuser's
// capabilities too. The saved user stays the superuser, so the test comes back afterwards.

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

// The unprivileged account the superuser's tests act as: "nobody" (65534 where there is none).
struct TUnprivilegedAccount {
    uid_t User = 65534;
    gid_t Group = 65534;

    TUnprivilegedAccount() {
        if (const passwd* entry = ::getpwnam("nobody")) {
            User = entry->pw_uid;
            Group = entry->pw_gid;
        }
    }
};

// As the superuser, gives path and everything in it to the unprivileged account, so that the
// owner's permissions of its files are that account's; anyone else owns their files already.
inline bool GiveToUnprivilegedUser(const QString& path) {
    if (::geteuid() != 0)
        return true;
    const TUnprivilegedAccount account;
    bool given = ::lchown(QFile::encodeName(path).constData(), account.User, account.Group) == 0;
    QDirIterator entries(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        given = ::lchown(QFile::encodeName(entries.next()).constData(), account.User, account.Group) == 0 &&
                given;
    return given;
}

// While it lives, a process of the superuser acts as user and group (by default the unprivileged
// account); any other process stays who it is, its permissions checked already.
class TActingUser {
public:
    TActingUser() : TActingUser(TUnprivilegedAccount()) {}
    explicit TActingUser(const TUnprivilegedAccount& account) : TActingUser(account.User, account.Group) {}
    TActingUser(uid_t user, gid_t group) {
        if (::geteuid() != 0)
            return;
        FGroups.resize(size_t(::getgroups(0, nullptr)));
        FGroups.resize(size_t(::getgroups(int(FGroups.size()), FGroups.data())));
        FGroup = ::getegid();
        FSwitched = true;
        // Groups first: once the effective user is no longer the superuser, they cannot change.
        if (::setgroups(0, nullptr) != 0 || ::setegid(group) != 0 || ::seteuid(user) != 0)
            FProblem = QStringLiteral("cannot act as user %1: %2")
                           .arg(user)
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~TActingUser() {
        // The superuser again before its group and groups, which only it may set.
        if (FSwitched &&
            (::seteuid(0) != 0 || ::setegid(FGroup) != 0 || ::setgroups(FGroups.size(), FGroups.data()) != 0))
            qFatal("cannot act as the superuser again: %s", std::strerror(errno));
    }
    TActingUser(const TActingUser&) = delete;
    TActingUser& operator=(const TActingUser&) = delete;

    // Why the superuser could not act as the user; empty when it does, or when it need not.
    const QString& Problem() const { return FProblem; }

private:
    bool FSwitched = false;
    gid_t FGroup = 0;
    std::vector<gid_t> FGroups;
    QString FProblem;
};
