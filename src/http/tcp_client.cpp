#include "http/tcp_client.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "http/exceptions.h"
#include "http/idle_pump.h"
#include "http/net_stack.h"
#include "http/net_text.h"

namespace dorvanel::http {

void TNetTCPClient::OpenConnection(int32_t timeout) {
    if (IOHandler && IOHandler->Connected()) throw ENetAlreadyConnected();
    std::shared_ptr<TNetIOHandlerSocket> handler = EnsureIOHandler();
    TNetSocketHandle& binding = handler->Binding;
    try {
        binding.Reset();
        ResetInputState();
        binding.AllocateSocket();
        binding.Bind(BoundIP, BoundPort);
        if (!IsDottedIP(Host)) ReportStatus(TNetStatus::hsResolving, Host);
        const int32_t limit = timeout != -1 && timeout != 0 ? timeout : kPumpConnectLimitMs;
        const std::string address = resolveHost(binding, limit);
        if (IOHandler != handler || !binding.Allocated) throw ENetNotConnected();
        binding.SetPeer(address, Port);
        if (!handler->UseNagle) binding.SetNoDelay();
        ReportStatus(TNetStatus::hsConnecting, address);
        if (timeout != -1 && timeout != 0) {
            threadedConnect(binding, timeout);
        } else if (TNetIdlePumpBase::PumpApplies()) {
            threadedConnect(binding, kPumpConnectLimitMs);
        } else {
            binding.Connect();
        }
        // The program may have closed the connection from inside the pump while the connect went on.
        if (IOHandler != handler || !binding.Allocated) throw ENetNotConnected();
        handler->AfterConnect(Host, timeout > 0 ? timeout : -1);
        if (IOHandler != handler || !binding.Allocated) throw ENetNotConnected();
        ReportStatus(TNetStatus::hsConnected);
        if (OnConnected) OnConnected(*this);
    } catch (...) {
        handler->Close();
        throw;
    }
}

namespace {

// What the lookup thread hands back. Shared, because a lookup that was given up on ends on its own later.
struct LookupState {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    std::string address;
    std::exception_ptr failure;
};

int32_t pumpStep() {
    int32_t step = TNetTCPClient::kConnectStepMs;
    if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) step = std::clamp(pump->IdleTimeOut, 1, step);
    return step;
}

}  // namespace

std::string TNetTCPClient::resolveHost(TNetSocketHandle& binding, int32_t limitMs) {
    if (SameText(Host, "LOCALHOST") || IsDottedIP(Host) || !TNetIdlePumpBase::PumpApplies()) {
        return Stack().ResolveHostName(Host);
    }
    auto state = std::make_shared<LookupState>();
    std::thread([state, host = Host] {
        std::string address;
        std::exception_ptr failure;
        try {
            address = LookUpHost(host);
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> guard(state->lock);
        state->address = std::move(address);
        state->failure = failure;
        state->finished = true;
        state->done.notify_all();
    }).detach();
    const int32_t step = pumpStep();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (true) {
        {
            std::unique_lock<std::mutex> guard(state->lock);
            if (state->done.wait_for(guard, std::chrono::milliseconds(step), [&] { return state->finished; })) {
                if (state->failure) std::rethrow_exception(state->failure);
                return state->address;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) throw ENetConnectTimeout();
        if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) pump->PumpIfDue(true);
        if (!binding.Allocated) throw ENetNotConnected();  // closed from inside the pump: Stop
    }
}

// A connect that ends at once (a peer on this machine) needs no thread. Otherwise the connect thread is
// waited on one step at a time, with the pump run between steps.
void TNetTCPClient::threadedConnect(TNetSocketHandle& binding, int32_t limitMs) {
    const int32_t step = TNetIdlePumpBase::PumpApplies() ? pumpStep() : kConnectStepMs;
    if (binding.StartConnect()) {
        if (!binding.ConnectFailure.empty()) throw ENetConnectException(binding.ConnectFailure);
        return;
    }
    binding.StartConnectThread();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    bool finished = false;
    while (!finished) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) break;
        finished = binding.WaitConnectThread(static_cast<int>(std::min<int64_t>(left, step)));
        if (!finished && left > step) {
            if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) pump->PumpIfDue(true);
            if (!binding.Allocated) return;  // closed from inside the pump; the caller reports it
        }
    }
    if (!finished) {
        binding.StopConnectThread();
        binding.CloseSocket();
        throw ENetConnectTimeout();
    }
    binding.StopConnectThread();
    if (!binding.ConnectFailure.empty()) throw ENetConnectException(binding.ConnectFailure);
}

}  // namespace dorvanel::http
