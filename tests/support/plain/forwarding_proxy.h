#pragma once
// A loopback peer that passes bytes between the client and a server on another loopback port, one
// connection at a time: as a CONNECT proxy (it reads the CONNECT head and answers 200 first, or an answer
// of the test's), slowly (the server's bytes in small pieces with pauses), or cut off (it closes both sides
// after so many of the server's bytes, without any TLS close_notify). As a CONNECT proxy it can also open
// the tunnel to the loopback port the CONNECT names, and passes a plain request (a head that is no CONNECT)
// on to its server as a forwarding proxy would.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/plain/loopback.h"

namespace dorvanel::test {

class ForwardingProxy {
public:
    struct Options {
        bool Connect = false;      // answer a CONNECT head first
        size_t PieceBytes = 0;     // server to client in pieces of this size (0: as they come)
        int PauseMs = 0;           // between the pieces
        long long CutAfter = -1;   // close after this many bytes from the server (-1: never)
        bool ToNamedPort = false;  // a CONNECT's tunnel goes to the port it names (on 127.0.0.1), not to the server
        std::string ConnectAnswer = "HTTP/1.1 200 Connection established\r\n\r\n";
    };

    ForwardingProxy(int serverPort, Options options);
    ~ForwardingProxy();
    ForwardingProxy(const ForwardingProxy&) = delete;
    ForwardingProxy& operator=(const ForwardingProxy&) = delete;

    int Port() const { return listener_.Port(); }
    // The CONNECT heads received, in order.
    std::vector<std::string> ConnectHeads() const;
    // In CONNECT mode, the first head of every connection, CONNECT or not, in order.
    std::vector<std::string> FirstHeads() const;

private:
    void run();
    void relay(int client);
    bool stopped(int ms) const;

    int serverPort_;
    Options options_;
    LoopbackListener listener_;
    std::thread thread_;
    mutable std::mutex lock_;
    std::vector<std::string> connectHeads_;
    std::vector<std::string> firstHeads_;
};

}  // namespace dorvanel::test
