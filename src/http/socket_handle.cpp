#include "http/socket_handle.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "http/exceptions.h"
#include "http/idle_pump.h"
#include "http/net_stack.h"

namespace dorvanel::http {

namespace {

sockaddr_in makeAddress(const std::string& ip, int32_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (ip.empty() || ::inet_pton(AF_INET, ip.c_str(), &addr.sin_addr) != 1) addr.sin_addr.s_addr = htonl(INADDR_ANY);
    return addr;
}

// A dotted address with leading zeros ("010") reads as decimal here, where inet_pton would refuse it.
std::string canonicalDotted(const std::string& ip) {
    if (!IsDottedIP(ip)) return ip;
    std::string out;
    size_t i = 0;
    for (int field = 0; field < 4; ++field) {
        int value = 0;
        while (i < ip.size() && ip[i] != '.') value = value * 10 + (ip[i++] - '0');
        ++i;
        if (field) out += '.';
        out += std::to_string(value);
    }
    return out;
}

void setBlocking(int fd, bool blocking) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags >= 0) ::fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}

void pumpIfDue(bool idle) {
    if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) pump->PumpIfDue(idle);
}

}  // namespace

TNetSocketHandle::~TNetSocketHandle() { CloseSocket(); }

void TNetSocketHandle::Reset() {
    CloseSocket();
    IP.clear();
    Port = 0;
    PeerIP.clear();
    PeerPort = 0;
    ConnectFailure.clear();
}

void TNetSocketHandle::AllocateSocket() {
    CloseSocket();
    Handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (Handle < 0) throw ENetInvalidSocket();
    Allocated = true;
}

void TNetSocketHandle::Bind(const std::string& ip, int32_t port) {
    auto tryBind = [&](int32_t p) {
        const sockaddr_in addr = makeAddress(canonicalDotted(ip), p);
        return ::bind(Handle, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    };
    if (port == 0 && ClientPortMin != 0 && ClientPortMax != 0) {
        if (ClientPortMax < ClientPortMin) throw ENetInvalidPortRange(ClientPortMin, ClientPortMax);
        for (int32_t p = ClientPortMax; p >= ClientPortMin; --p) {
            if (tryBind(p)) return;
        }
        throw ENetCanNotBindPortInRange(ClientPortMin, ClientPortMax);
    }
    // Any address and any port is what connect() picks by itself.
    if (ip.empty() && port == 0) return;
    if (!tryBind(port)) {
        if (errno == EADDRINUSE) throw ENetCouldNotBindSocket();
        RaiseSocketError(errno);
    }
}

void TNetSocketHandle::SetPeer(const std::string& ip, int32_t port) {
    PeerIP = ip;
    PeerPort = port;
}

void TNetSocketHandle::SetNoDelay() {
    const int on = 1;
    if (::setsockopt(Handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) RaiseSocketError(errno);
}

void TNetSocketHandle::Connect() {
    const sockaddr_in addr = makeAddress(canonicalDotted(PeerIP), PeerPort);
    while (::connect(Handle, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno != EINTR) RaiseSocketError(errno);
    }
}

bool TNetSocketHandle::StartConnect() {
    StopConnectThread();
    ConnectFailure.clear();
    connectFinished_ = false;
    connectStopping_ = false;
    const sockaddr_in addr = makeAddress(canonicalDotted(PeerIP), PeerPort);
    setBlocking(Handle, false);
    int err = 0;
    if (::connect(Handle, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) err = errno;
    if (err == EINPROGRESS || err == EINTR) {
        // A peer on this machine has usually answered already: then there is nothing to wait for.
        pollfd fd{Handle, POLLOUT, 0};
        if (::poll(&fd, 1, 0) != 1) return false;
        socklen_t len = sizeof err;
        if (::getsockopt(Handle, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    }
    finishConnect(err);
    return true;
}

void TNetSocketHandle::StartConnectThread() {
    if (::pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) RaiseSocketError(errno);
    connectThread_ = std::thread([this] { runConnect(); });
}

// The thread waits for the connect begun by StartConnect, on the socket and on a wake-up pipe, so that
// telling it to end is immediate and the socket is closed only after the thread has let go of it.
void TNetSocketHandle::runConnect() {
    int err = 0;
    pollfd fds[2] = {{Handle, POLLOUT, 0}, {wakeFds_[0], POLLIN, 0}};
    while (true) {
        const int rc = ::poll(fds, 2, -1);
        if (rc < 0 && errno == EINTR) continue;
        if (rc < 0) {
            err = errno;
            break;
        }
        if (fds[1].revents) {
            err = EBADF;  // told to end: the socket is about to be closed under it
            break;
        }
        socklen_t len = sizeof err;
        if (::getsockopt(Handle, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
        break;
    }
    finishConnect(err);
}

void TNetSocketHandle::finishConnect(int err) {
    setBlocking(Handle, true);
    std::lock_guard<std::mutex> guard(connectLock_);
    if (err != 0) {
        const int32_t code = SocketCodeFromErrno(err);
        // These two arise when the socket is closed under the thread; the waiting side reports that itself.
        if (code != 10009 && code != 10038 && !connectStopping_) ConnectFailure = ENetSocketError(code).what();
    }
    connectFinished_ = true;
    connectDone_.notify_all();
}

bool TNetSocketHandle::WaitConnectThread(int ms) {
    std::unique_lock<std::mutex> guard(connectLock_);
    return connectDone_.wait_for(guard, std::chrono::milliseconds(std::max(0, ms)),
                                 [this] { return connectFinished_; });
}

void TNetSocketHandle::StopConnectThread() {
    if (!connectThread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(connectLock_);
        connectStopping_ = true;
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds_[1], &byte, 1);
    connectThread_.join();
    ::close(wakeFds_[0]);
    ::close(wakeFds_[1]);
    wakeFds_[0] = wakeFds_[1] = -1;
}

bool TNetSocketHandle::pollFor(short events, int ms) const {
    pollfd fd{Handle, events, 0};
    while (true) {
        const int rc = ::poll(&fd, 1, ms);
        if (rc < 0 && errno == EINTR) continue;
        if (rc < 0) RaiseSocketError(errno);
        return rc == 1;
    }
}

bool TNetSocketHandle::waitFor(short events, int ms) {
    if (!Allocated) throw ENetConnClosedGracefully();
    if (TNetIdlePumpBase::PumpApplies()) {
        auto slice = [] {
            TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump();
            return std::max(1, pump ? pump->IdleTimeOut : 250);
        };
        // In slices, the pump run after each, until the socket is ready or the limit (if any) is used up: a
        // long limit must not keep the windows from painting, nor Stop from being seen, until it runs out.
        while (ms < 0 || ms > slice()) {
            const int wait = slice();
            const bool ready = pollFor(events, wait);
            pumpIfDue(!ready);
            if (ready || !Allocated) return true;
            if (ms >= 0) ms -= wait;
        }
    }
    const bool ready = pollFor(events, ms);
    pumpIfDue(!ready);
    return ready || !Allocated;
}

bool TNetSocketHandle::WaitReadable(int ms) { return waitFor(POLLIN, ms); }

bool TNetSocketHandle::WaitWritable(int ms) { return waitFor(POLLOUT, ms); }

ssize_t TNetIOHandlerSocket::Receive(char* buffer, size_t count, int& err) {
    ssize_t n;
    do {
        n = ::recv(Binding.Handle, buffer, count, 0);
    } while (n < 0 && errno == EINTR);
    err = n < 0 ? errno : 0;
    return n;
}

ssize_t TNetIOHandlerSocket::SendSome(const char* bytes, size_t count, int& err) {
    ssize_t n;
    do {
        n = ::send(Binding.Handle, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    err = n < 0 ? errno : 0;
    return n;
}

void TNetSocketHandle::CloseSocket() {
    StopConnectThread();
    if (!Allocated) return;
    ::shutdown(Handle, SHUT_WR);
    ::close(Handle);
    Handle = -1;
    Allocated = false;
}

}  // namespace dorvanel::http
