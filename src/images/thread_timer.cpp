#include "images/thread_timer.h"

#include "common/failure_report.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include <chrono>

namespace dorvanel::images {

TThreadTimer::TThreadTimer(QObject* parent) : QObject(parent) {}

TThreadTimer::~TThreadTimer() {
    {
        std::lock_guard lock(FMutex);
        FEnabled = false;
        FOnTimer = nullptr;
        FTerminated = true;
    }
    FWake.notify_all();
    if (FThread.joinable()) FThread.join();
    if (FWindowTimerId) killTimer(FWindowTimerId);
}

bool TThreadTimer::Enabled() const {
    std::lock_guard lock(FMutex);
    return FEnabled;
}

void TThreadTimer::SetEnabled(bool on) {
    {
        std::lock_guard lock(FMutex);
        if (FEnabled == on) return;
        FEnabled = on;
    }
    UpdateTimer();
}

int TThreadTimer::Interval() const {
    std::lock_guard lock(FMutex);
    return FInterval;
}

void TThreadTimer::SetInterval(int ms) {
    {
        std::lock_guard lock(FMutex);
        if (FInterval == ms) return;
        FInterval = ms;
    }
    UpdateTimer();
}

bool TThreadTimer::SyncEvent() const {
    std::lock_guard lock(FMutex);
    return FSyncEvent;
}

void TThreadTimer::SetSyncEvent(bool on) {
    std::lock_guard lock(FMutex);
    FSyncEvent = on;
}

bool TThreadTimer::Threaded() const {
    std::lock_guard lock(FMutex);
    return FThreaded;
}

void TThreadTimer::SetThreaded(bool on) {
    {
        std::lock_guard lock(FMutex);
        if (FThreaded == on) return;
        FThreaded = on;
    }
    UpdateTimer();
}

TThreadPriority TThreadTimer::ThreadPriority() const {
    std::lock_guard lock(FMutex);
    return FPriority;
}

void TThreadTimer::SetThreadPriority(TThreadPriority priority) {
    bool threaded;
    {
        std::lock_guard lock(FMutex);
        if (FPriority == priority) return;
        FPriority = priority;
        threaded = FThreaded;
    }
    if (threaded) UpdateTimer();
}

void TThreadTimer::SetOnTimer(std::function<void()> handler) {
    {
        std::lock_guard lock(FMutex);
        FOnTimer = std::move(handler);
    }
    UpdateTimer();
}

bool TThreadTimer::HasOnTimer() const {
    std::lock_guard lock(FMutex);
    return static_cast<bool>(FOnTimer);
}

bool TThreadTimer::Ticking() const {
    std::lock_guard lock(FMutex);
    return FInterval > 0 && FEnabled && FOnTimer;
}

// The thread is told the new settings and starts a fresh wait; a timer of the user-interface thread is
// replaced. Called from the user-interface thread, or from a tick that runs in the timer's own thread.
void TThreadTimer::UpdateTimer() {
    bool run;
    bool threaded;
    int interval;
    {
        std::lock_guard lock(FMutex);
        run = FInterval > 0 && FEnabled && FOnTimer;
        threaded = FThreaded;
        interval = FInterval;
        FRunning = threaded && run;
        ++FGeneration;
    }
    FWake.notify_all();
    if (threaded) {
        if (FWindowTimerId) {
            killTimer(FWindowTimerId);
            FWindowTimerId = 0;
        }
        if (run && !FThread.joinable()) FThread = std::thread(&TThreadTimer::ThreadLoop, this);
        return;
    }
    if (FWindowTimerId) {
        killTimer(FWindowTimerId);
        FWindowTimerId = 0;
    }
    if (run) {
        FWindowTimerId = startTimer(interval);
        if (FWindowTimerId == 0) throw EOutOfResources();
    }
}

void TThreadTimer::ThreadLoop() {
    std::unique_lock lock(FMutex);
    while (!FTerminated && !QCoreApplication::closingDown()) {
        if (!FRunning) {
            FWake.wait(lock);
            continue;
        }
        const std::uint64_t generation = FGeneration;
        const auto interval = std::chrono::milliseconds(FInterval);
        if (FWake.wait_for(lock, interval, [&] { return FTerminated || FGeneration != generation; })) continue;
        if (FEnabled) TickFromThread(lock);
    }
}

// A tick that fell due. Handed to the user-interface thread, at most one waiting there at a time, or run
// here; a failure here is reported on the user-interface thread.
void TThreadTimer::TickFromThread(std::unique_lock<std::mutex>& lock) {
    if (FSyncEvent) {
        if (!FTickPosted.exchange(true)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    FTickPosted = false;
                    RunHandler();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    std::function<void()> handler = FOnTimer;
    lock.unlock();
    try {
        if (handler) handler();
    } catch (...) {
        // The failure is reported on the user-interface thread, where the program shows its errors; it is
        // never raised again inside a queued call.
        if (QCoreApplication* app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app, [text = common::FailureText(std::current_exception())] { common::ReportFailure(text); },
                Qt::QueuedConnection);
        }
    }
    lock.lock();
}

void TThreadTimer::RunHandler() {
    std::function<void()> handler;
    {
        std::lock_guard lock(FMutex);
        if (!FEnabled || FInterval <= 0) return;
        handler = FOnTimer;
    }
    // A tick runs from a timer event or a queued call: its failure ends the tick and is reported there.
    if (handler) common::RunGuarded(handler);
}

void TThreadTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() == FWindowTimerId) {
        RunHandler();
    } else {
        QObject::timerEvent(event);
    }
}

}  // namespace dorvanel::images
