// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WorkerCall.h"

#include <QEventLoop>

#include <exception>
#include <thread>

namespace {

std::function<void()>& BeforeWork() {
    static std::function<void()> hook;
    return hook;
}

} // namespace

void RunOffGuiThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            if (BeforeWork())
                BeforeWork()();
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued, so the quit reaches the loop even before it has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the application quits: the work must still end before anything it
    // uses goes away.
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

namespace WorkerCallTesting {

void SetBeforeWork(std::function<void()> hook) {
    BeforeWork() = std::move(hook);
}

} // namespace WorkerCallTesting
