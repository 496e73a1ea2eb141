#include "http/idle_pump.h"

#include <atomic>

namespace dorvanel::http {

namespace {
std::atomic<TNetIdlePumpBase*> gActivePump{nullptr};
}  // namespace

TNetIdlePumpBase::TNetIdlePumpBase() : MainThread(std::this_thread::get_id()) { gActivePump.store(this); }

// Destroying any pump clears the active one, as a later pump replaces an earlier one.
TNetIdlePumpBase::~TNetIdlePumpBase() { gActivePump.store(nullptr); }

TNetIdlePumpBase* TNetIdlePumpBase::ActivePump() { return gActivePump.load(); }

bool TNetIdlePumpBase::PumpApplies() {
    TNetIdlePumpBase* pump = gActivePump.load();
    return pump != nullptr && pump->Active && pump->MainThread == std::this_thread::get_id();
}

void TNetIdlePumpBase::PumpIfDue(bool idle, bool override) {
    if (!PumpApplies()) return;
    const auto now = Clock();
    const bool overdue = now - lastPump_ >= std::chrono::milliseconds(IdleTimeOut);
    if (idle || !OnlyWhenIdle || override || overdue) {
        lastPump_ = now;
        PumpMessages();
    }
}

void TNetIdlePump::PumpMessages() {
    if (ApplicationHasPriority) {
        if (OnProcessMessages) OnProcessMessages();
    } else if (OnHandleMessage) {
        OnHandleMessage();
    }
}

}  // namespace dorvanel::http
