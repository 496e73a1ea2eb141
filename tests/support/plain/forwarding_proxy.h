#pragma once
// A loopback peer that passes bytes between the client and a server on another loopback port, one
// connection at a time: as a CONNECT proxy (it reads the CONNECT head and answers 200 first), slowly (the
// server's bytes in small pieces with pauses), or cut off (it closes both sides after so many of the
// server's bytes, without any TLS close_notify).
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dorvanel::test {

class ForwardingProxy {
public:
    struct Options {
        bool Connect = false;     // answer a CONNECT head first
        size_t PieceBytes = 0;    // server to client in pieces of this size (0: as they come)
        int PauseMs = 0;          // between the pieces
        long long CutAfter = -1;  // close after this many bytes from the server (-1: never)
    };

    ForwardingProxy(int serverPort, Options options);
    ~ForwardingProxy();
    ForwardingProxy(const ForwardingProxy&) = delete;
    ForwardingProxy& operator=(const ForwardingProxy&) = delete;

    int Port() const { return port_; }
    // The CONNECT heads received, in order.
    std::vector<std::string> ConnectHeads() const;

private:
    void run();
    void relay(int client);
    bool stopped(int ms) const;

    int serverPort_;
    Options options_;
    int listenFd_ = -1;
    int stopFds_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex lock_;
    std::vector<std::string> connectHeads_;
};

}  // namespace dorvanel::test
