#include "http/net_component.h"

#include "http/net_stack.h"

namespace dorvanel::http {

TNetComponent::TNetComponent() : stack_(TNetStack::Acquire()) {}

TNetComponent::~TNetComponent() { TNetStack::Release(); }

std::string TNetComponent::StatusText(TNetStatus status, const std::string& argument) {
    switch (status) {
        case TNetStatus::hsResolving:
            return "Resolving hostname " + argument + ".";
        case TNetStatus::hsConnecting:
            return "Connecting to " + argument + ".";
        case TNetStatus::hsConnected:
            return "Connected.";
        case TNetStatus::hsDisconnecting:
            return "Disconnecting.";
        case TNetStatus::hsDisconnected:
            return "Disconnected.";
        case TNetStatus::hsStatusText:
            return argument;
    }
    return argument;
}

void TNetComponent::ReportStatus(TNetStatus status, const std::string& argument) {
    if (OnStatus) OnStatus(*this, status, StatusText(status, argument));
}

void TNetComponent::StartWork(TWorkMode mode, int64_t max) {
    WorkState& w = work_[static_cast<size_t>(mode)];
    if (++w.nesting == 1) {
        w.max = max;
        w.total = 0;
        if (OnWorkBegin) OnWorkBegin(*this, mode, max);
    }
}

void TNetComponent::ReportWork(TWorkMode mode, int64_t count) {
    WorkState& w = work_[static_cast<size_t>(mode)];
    if (w.nesting < 1) return;
    w.total += count;
    if (OnWork) OnWork(*this, mode, w.total);
}

void TNetComponent::FinishWork(TWorkMode mode) {
    WorkState& w = work_[static_cast<size_t>(mode)];
    if (w.nesting < 1) return;
    // The count drops first, so that a handler that fails still leaves the cycle closed.
    if (--w.nesting == 0 && OnWorkEnd) OnWorkEnd(*this, mode);
}

}  // namespace dorvanel::http
