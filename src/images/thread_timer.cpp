#include "images/thread_timer.h"

#include "common/failure_report.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include <chrono>

namespace dorvanel::images {

TThreadTimer::TThreadTimer(QObject* parent) : QObject(parent) {}

TThreadTimer::~TThreadTimer() {
    {
        std::lock_guard lock(mutex_);
        enabled_ = false;
        onTimer_ = nullptr;
        terminated_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (windowTimerId_) killTimer(windowTimerId_);
}

bool TThreadTimer::Enabled() const {
    std::lock_guard lock(mutex_);
    return enabled_;
}

void TThreadTimer::SetEnabled(bool on) {
    {
        std::lock_guard lock(mutex_);
        if (enabled_ == on) return;
        enabled_ = on;
    }
    UpdateTimer();
}

int TThreadTimer::Interval() const {
    std::lock_guard lock(mutex_);
    return interval_;
}

void TThreadTimer::SetInterval(int ms) {
    {
        std::lock_guard lock(mutex_);
        if (interval_ == ms) return;
        interval_ = ms;
    }
    UpdateTimer();
}

bool TThreadTimer::SyncEvent() const {
    std::lock_guard lock(mutex_);
    return syncEvent_;
}

void TThreadTimer::SetSyncEvent(bool on) {
    std::lock_guard lock(mutex_);
    syncEvent_ = on;
}

bool TThreadTimer::Threaded() const {
    std::lock_guard lock(mutex_);
    return threaded_;
}

void TThreadTimer::SetThreaded(bool on) {
    {
        std::lock_guard lock(mutex_);
        if (threaded_ == on) return;
        threaded_ = on;
    }
    UpdateTimer();
}

TThreadPriority TThreadTimer::ThreadPriority() const {
    std::lock_guard lock(mutex_);
    return priority_;
}

void TThreadTimer::SetThreadPriority(TThreadPriority priority) {
    bool threaded;
    {
        std::lock_guard lock(mutex_);
        if (priority_ == priority) return;
        priority_ = priority;
        threaded = threaded_;
    }
    if (threaded) UpdateTimer();
}

void TThreadTimer::SetOnTimer(std::function<void()> handler) {
    {
        std::lock_guard lock(mutex_);
        onTimer_ = std::move(handler);
    }
    UpdateTimer();
}

bool TThreadTimer::HasOnTimer() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(onTimer_);
}

bool TThreadTimer::Ticking() const {
    std::lock_guard lock(mutex_);
    return interval_ > 0 && enabled_ && onTimer_;
}

// The thread is told the new settings and starts a fresh wait; a timer of the user-interface thread is
// replaced. Called from the user-interface thread, or from a tick that runs in the timer's own thread.
void TThreadTimer::UpdateTimer() {
    bool run;
    bool threaded;
    int interval;
    {
        std::lock_guard lock(mutex_);
        run = interval_ > 0 && enabled_ && onTimer_;
        threaded = threaded_;
        interval = interval_;
        running_ = threaded && run;
        ++generation_;
    }
    wake_.notify_all();
    if (threaded) {
        if (windowTimerId_) {
            killTimer(windowTimerId_);
            windowTimerId_ = 0;
        }
        if (run && !thread_.joinable()) thread_ = std::thread(&TThreadTimer::ThreadLoop, this);
        return;
    }
    if (windowTimerId_) {
        killTimer(windowTimerId_);
        windowTimerId_ = 0;
    }
    if (run) {
        windowTimerId_ = startTimer(interval);
        if (windowTimerId_ == 0) throw EOutOfResources();
    }
}

void TThreadTimer::ThreadLoop() {
    std::unique_lock lock(mutex_);
    while (!terminated_ && !QCoreApplication::closingDown()) {
        if (!running_) {
            wake_.wait(lock);
            continue;
        }
        const std::uint64_t generation = generation_;
        const auto interval = std::chrono::milliseconds(interval_);
        if (wake_.wait_for(lock, interval, [&] { return terminated_ || generation_ != generation; })) continue;
        if (enabled_) TickFromThread(lock);
    }
}

// A tick that fell due. Handed to the user-interface thread, at most one waiting there at a time, or run
// here; a failure here is reported on the user-interface thread.
void TThreadTimer::TickFromThread(std::unique_lock<std::mutex>& lock) {
    if (syncEvent_) {
        if (!tickPosted_.exchange(true)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    tickPosted_ = false;
                    RunHandler();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    std::function<void()> handler = onTimer_;
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
        std::lock_guard lock(mutex_);
        if (!enabled_ || interval_ <= 0) return;
        handler = onTimer_;
    }
    // A tick runs from a timer event or a queued call: its failure ends the tick and is reported there.
    if (handler) common::RunGuarded(handler);
}

void TThreadTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() == windowTimerId_) {
        RunHandler();
    } else {
        QObject::timerEvent(event);
    }
}

}  // namespace dorvanel::images
