#pragma once
// A real web server no one here wrote, for comparing the client against: Debian's nginx, started on a free
// loopback port with a configuration written into a fresh folder, serving files from that folder's "www".
// Stopped (by the process id it was started with) when the object goes.
#include <string>
#include <sys/types.h>

namespace dorvanel::test {

class NginxPeer {
public:
    static constexpr const char* kBinary = "/usr/sbin/nginx";
    static bool Available();

    // `folder` must exist; the server's files go into folder/www. `extraServerLines` are added inside the
    // server block; `listenOptions` after the address of its listen line ("ssl" for https). Throws
    // std::runtime_error when nginx does not come up.
    NginxPeer(const std::string& folder, const std::string& extraServerLines, const std::string& listenOptions = {});
    ~NginxPeer();
    NginxPeer(const NginxPeer&) = delete;
    NginxPeer& operator=(const NginxPeer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    std::string SecureUrl(const std::string& path, const std::string& host = "127.0.0.1") const;
    std::string WwwFolder() const { return folder_ + "/www"; }

private:
    std::string folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace dorvanel::test
