#include "http/tcp_client.h"

#include <algorithm>
#include <chrono>

#include "http/exceptions.h"
#include "http/idle_pump.h"
#include "http/net_stack.h"

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
        const std::string address = Stack().ResolveHostName(Host);
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
        ReportStatus(TNetStatus::hsConnected);
        if (OnConnected) OnConnected(*this);
    } catch (...) {
        binding.CloseSocket();
        throw;
    }
}

// A connect that ends at once (a peer on this machine) needs no thread. Otherwise the connect thread is
// waited on one step at a time, with the pump run between steps.
void TNetTCPClient::threadedConnect(TNetSocketHandle& binding, int32_t limitMs) {
    int32_t step = kConnectStepMs;
    if (TNetIdlePumpBase::PumpApplies()) {
        if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) step = std::clamp(pump->IdleTimeOut, 1, step);
    }
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
