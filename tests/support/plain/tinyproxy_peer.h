#pragma once
// A real forwarding proxy no one here wrote, for the program's proxy path: Debian's tinyproxy on a free
// loopback port, with a configuration and a log file in a folder of the test's. Stopped when the object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace dorvanel::test {

class TinyproxyPeer {
public:
    static constexpr const char* kBinary = "/usr/bin/tinyproxy";
    static bool Available();

    // `folder` must exist. Throws std::runtime_error when tinyproxy does not come up.
    explicit TinyproxyPeer(const std::string& folder);
    ~TinyproxyPeer();
    TinyproxyPeer(const TinyproxyPeer&) = delete;
    TinyproxyPeer& operator=(const TinyproxyPeer&) = delete;

    int Port() const { return port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The request lines the proxy logged ("CONNECT host:port HTTP/1.1", "GET http://... HTTP/1.1"), in order.
    std::vector<std::string> RequestLines() const;

private:
    std::string folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace dorvanel::test
