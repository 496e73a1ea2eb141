#include "support/plain/loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace dorvanel::test {

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    return addr;
}

int BindLoopback(int fd) {
    sockaddr_in addr = LoopbackAddress(0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) throw std::runtime_error("bind failed");
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

bool LoopbackAccepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in addr = LoopbackAddress(port);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

LoopbackListener::LoopbackListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error("socket failed");
    port_ = BindLoopback(fd_);
    if (::listen(fd_, 16) != 0 || ::pipe2(stop_, O_CLOEXEC) != 0) throw std::runtime_error("listen failed");
}

LoopbackListener::~LoopbackListener() {
    ::close(fd_);
    ::close(stop_[0]);
    ::close(stop_[1]);
}

void LoopbackListener::SignalStop() const {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stop_[1], &byte, 1);
}

}  // namespace dorvanel::test
