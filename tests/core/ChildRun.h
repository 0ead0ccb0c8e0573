// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a piece of a test in a child process: to change what only a process can change for itself
// (its user, its file-size limit), and under a watchdog, so that an operation that hangs fails the
// test instead of hanging it.

#include <QString>

#include <functional>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// What fn returned in a child process, or why there is nothing: "timed out" when it took longer
// than timeoutMs, "signal N" when a signal ended it.
inline QString OutcomeInChild(const std::function<QString()>& fn, int timeoutMs = 60000) {
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const QByteArray result = fn().toUtf8();
        const ssize_t written = ::write(channel[1], result.constData(), size_t(result.size()));
        ::_exit(written == result.size() ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray result;
    pollfd wait{channel[0], POLLIN, 0};
    bool timedOut = false;
    for (;;) {
        if (::poll(&wait, 1, timeoutMs) == 0) {
            timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        char chunk[4096];
        const ssize_t got = ::read(channel[0], chunk, sizeof chunk);
        if (got <= 0)
            break;
        result.append(chunk, int(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (timedOut)
        return QStringLiteral("timed out");
    if (WIFSIGNALED(status))
        return QStringLiteral("signal %1").arg(WTERMSIG(status));
    return QString::fromUtf8(result);
}
