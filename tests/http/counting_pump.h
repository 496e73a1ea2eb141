#pragma once
// An idle pump on the test's thread that counts its runs and may act in them (the program's Stop). With
// `fakeClock`, the pump's clock moves on by kClockStepMs each time it is read, so that "once per IdleTimeOut"
// is a count, not a race against the wall clock.
#include <chrono>
#include <functional>

#include "http/idle_pump.h"

namespace dorvanel::test {

struct CountingPump {
    static constexpr int kClockStepMs = 50;  // divides the 250 ms IdleTimeOut of the tests

    explicit CountingPump(int idleMs, bool fakeClock = false) {
        pump.IdleTimeOut = idleMs;
        pump.OnProcessMessages = [this] {
            ++pumps;
            if (onPump) onPump(pumps);
        };
        if (fakeClock) {
            pump.Clock = [this] {
                ++clockReads;
                return std::chrono::steady_clock::time_point(std::chrono::hours(1) +
                                                             std::chrono::milliseconds(kClockStepMs) * clockReads);
            };
        }
    }
    // At least one run per IdleTimeOut of the pump's clock.
    bool RanByTheClock() const { return pumps * pump.IdleTimeOut >= (clockReads - 1) * kClockStepMs; }

    http::TNetIdlePump pump;
    int pumps = 0;
    int clockReads = 0;
    std::function<void(int)> onPump;
};

}  // namespace dorvanel::test
