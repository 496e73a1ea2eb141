#pragma once
// A TCP client: resolves `Host`, opens the connection to `Host`:`Port` (directly, or through the short-lived
// connect thread with a time limit while the idle pump keeps the windows alive) and reports its progress.
#include <cstdint>
#include <string>

#include "http/tcp_connection.h"

namespace dorvanel::http {

class TNetTCPClient : public TNetTCPConnection {
public:
    // The threaded connect's limit while the pump applies and the call sets none of its own.
    static constexpr int32_t kPumpConnectLimitMs = 120000;
    // The connect thread is waited on in steps of this, or of the pump's IdleTimeOut when that is smaller.
    static constexpr int32_t kConnectStepMs = 125;

    std::string Host;
    int32_t Port = 0;
    std::string BoundIP;
    int32_t BoundPort = 0;
    TNetNotifyEvent OnConnected;

    // Connects to Host:Port. `timeout` in milliseconds; -1 and 0 set no limit of the call's own.
    void OpenConnection(int32_t timeout = -1);

private:
    // The host's address. While the pump applies, a name is looked up on a thread of its own and waited for
    // with the pump running, within `limitMs`: a slow name server must not freeze the windows, and Stop
    // ends the wait.
    std::string resolveHost(TNetSocketHandle& binding, int32_t limitMs);
    void threadedConnect(TNetSocketHandle& binding, int32_t limitMs);
};

}  // namespace dorvanel::http
