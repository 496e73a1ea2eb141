#include "support/plain/forwarding_proxy.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "support/plain/loopback.h"

namespace dorvanel::test {

namespace {

bool sendAll(int fd, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = ::send(fd, bytes, count, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ForwardingProxy::ForwardingProxy(int serverPort, Options options) : serverPort_(serverPort), options_(options) {
    thread_ = std::thread([this] { run(); });
}

ForwardingProxy::~ForwardingProxy() {
    listener_.SignalStop();
    thread_.join();
}

std::vector<std::string> ForwardingProxy::ConnectHeads() const {
    std::lock_guard<std::mutex> guard(lock_);
    return connectHeads_;
}

std::vector<std::string> ForwardingProxy::FirstHeads() const {
    std::lock_guard<std::mutex> guard(lock_);
    return firstHeads_;
}

bool ForwardingProxy::stopped(int ms) const {
    pollfd stop{listener_.StopFd(), POLLIN, 0};
    return ::poll(&stop, 1, ms) == 1;
}

void ForwardingProxy::run() {
    while (true) {
        pollfd fds[2] = {{listener_.Fd(), POLLIN, 0}, {listener_.StopFd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno == EINTR) continue;
        if (fds[1].revents) return;
        const int client = ::accept4(listener_.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        relay(client);
        ::close(client);
    }
}

void ForwardingProxy::relay(int client) {
    char buffer[16384];
    int port = serverPort_;
    std::string forward;  // a plain request's bytes, for the server
    if (options_.Connect) {
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            head.append(buffer, static_cast<size_t>(n));
        }
        const bool connect = head.rfind("CONNECT ", 0) == 0;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (connect) connectHeads_.push_back(head);
            firstHeads_.push_back(head);
        }
        if (connect) {
            if (options_.ToNamedPort) {
                const size_t colon = head.find(':');
                port = colon == std::string::npos ? 0 : std::atoi(head.c_str() + colon + 1);
            }
            const std::string& answer = options_.ConnectAnswer;
            if (!sendAll(client, answer.data(), answer.size())) return;
            if (answer.rfind("HTTP/1.1 200", 0) != 0 && answer.rfind("HTTP/1.0 200", 0) != 0) {
                // An answer that opens no tunnel: the proxy waits for the client to go.
                while (::recv(client, buffer, sizeof buffer, 0) > 0) {}
                return;
            }
        } else {
            forward = head;
        }
    }
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in addr = LoopbackAddress(port);
    if (::connect(server, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(server);
        return;
    }
    if (!forward.empty() && !sendAll(server, forward.data(), forward.size())) {
        ::close(server);
        return;
    }
    long long fromServer = 0;
    bool open = true;
    while (open) {
        pollfd fds[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {listener_.StopFd(), POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[2].revents) break;
        if (fds[0].revents) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0 || !sendAll(server, buffer, static_cast<size_t>(n))) open = false;
        }
        if (open && fds[1].revents) {
            ssize_t n = ::recv(server, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            if (options_.CutAfter >= 0) n = std::min<ssize_t>(n, static_cast<ssize_t>(options_.CutAfter - fromServer));
            const size_t piece = options_.PieceBytes ? options_.PieceBytes : static_cast<size_t>(n);
            for (ssize_t sent = 0; open && sent < n; sent += static_cast<ssize_t>(piece)) {
                const size_t size = std::min(piece, static_cast<size_t>(n - sent));
                if (!sendAll(client, buffer + sent, size)) open = false;
                if (options_.PauseMs && stopped(options_.PauseMs)) open = false;
            }
            fromServer += n;
            if (options_.CutAfter >= 0 && fromServer >= options_.CutAfter) open = false;
        }
    }
    ::close(server);
}

}  // namespace dorvanel::test
