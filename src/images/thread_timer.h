#pragma once
// A timer whose waiting is done by a background thread, so that a busy user-interface thread does not delay
// the count. By default every tick is handed to the user-interface thread and runs there.
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "common/exception.h"

namespace dorvanel::images {

// No timer of the windowing system could be had for a timer that is not threaded.
class EOutOfResources : public Exception {
public:
    EOutOfResources() : Exception("Not enough timers available") {}
};

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThreadTimer : public QObject {
    Q_OBJECT
public:
    explicit TThreadTimer(QObject* parent = nullptr);
    ~TThreadTimer() override;

    // Changing any of these (and ThreadPriority while threaded, or the handler) restarts the wait with the
    // current interval; ticks come only while the interval is above 0, the timer is enabled and a handler is set.
    bool Enabled() const;
    void SetEnabled(bool on);
    int Interval() const;  // milliseconds
    void SetInterval(int ms);
    bool SyncEvent() const;  // true: the handler runs on the user-interface thread
    void SetSyncEvent(bool on);
    bool Threaded() const;  // false: a plain timer of the user-interface thread
    void SetThreaded(bool on);
    // Kept and handed on as the timer's setting; Linux's normal scheduler gives threads no priorities.
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority priority);
    void SetOnTimer(std::function<void()> handler);
    bool HasOnTimer() const;

    // True while ticks are due.
    bool Ticking() const;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateTimer();
    void ThreadLoop();
    void TickFromThread(std::unique_lock<std::mutex>& lock);
    void RunHandler();

    mutable std::mutex FMutex;
    std::condition_variable FWake;
    std::thread FThread;
    bool FTerminated = false;
    bool FRunning = false;
    std::uint64_t FGeneration = 0;
    bool FEnabled = true;
    int FInterval = 1000;
    bool FSyncEvent = true;
    bool FThreaded = true;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    std::function<void()> FOnTimer;
    int FWindowTimerId = 0;
    std::atomic<bool> FTickPosted{false};
};

}  // namespace dorvanel::images
