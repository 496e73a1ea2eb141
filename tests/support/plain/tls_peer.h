#pragma once
// A loopback https peer that plays exact answer bytes over TLS, one connection at a time: for each
// connection the answers to its requests in turn, then a close that is clean (the TLS close_notify first)
// or not (the socket closed under the session, as an attacker cutting the connection would). It records
// the request heads it read.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <openssl/ssl.h>

#include "support/plain/loopback.h"

namespace dorvanel::test {

class TlsPeer {
public:
    struct Connection {
        std::vector<std::string> Answers;  // one per request head read
        bool CleanClose = true;
    };

    // `certificate` and `key`: files of a TestCertificates kind.
    TlsPeer(const std::string& certificate, const std::string& key, std::vector<Connection> connections);
    ~TlsPeer();
    TlsPeer(const TlsPeer&) = delete;
    TlsPeer& operator=(const TlsPeer&) = delete;

    int Port() const { return listener_.Port(); }
    std::string Url(const std::string& path, const std::string& host = "127.0.0.1") const;
    std::vector<std::string> Heads() const;

private:
    void run();
    void play(int fd, const Connection& connection);

    SSL_CTX* ctx_ = nullptr;
    std::vector<Connection> connections_;
    LoopbackListener listener_;
    std::thread thread_;
    mutable std::mutex lock_;
    std::vector<std::string> heads_;
};

}  // namespace dorvanel::test
