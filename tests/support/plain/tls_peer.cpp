#include "support/plain/tls_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "support/plain/loopback.h"

namespace dorvanel::test {

TlsPeer::TlsPeer(const std::string& certificate, const std::string& key, std::vector<Connection> connections)
    : connections_(std::move(connections)) {
    ctx_ = SSL_CTX_new(TLS_server_method());
    if (!ctx_ || SSL_CTX_use_certificate_chain_file(ctx_, certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx_, key.c_str(), SSL_FILETYPE_PEM) != 1) {
        throw std::runtime_error("TLS peer: cannot load " + certificate);
    }
    thread_ = std::thread([this] { run(); });
}

TlsPeer::~TlsPeer() {
    listener_.SignalStop();
    thread_.join();
    SSL_CTX_free(ctx_);
}

std::string TlsPeer::Url(const std::string& path, const std::string& host) const {
    return "https://" + host + ":" + std::to_string(listener_.Port()) + path;
}

std::vector<std::string> TlsPeer::Heads() const {
    std::lock_guard<std::mutex> guard(lock_);
    return heads_;
}

void TlsPeer::run() {
    for (const Connection& connection : connections_) {
        pollfd fds[2] = {{listener_.Fd(), POLLIN, 0}, {listener_.StopFd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        const int fd = ::accept4(listener_.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        // A client that stops answering must not hold the peer (and the test) for ever.
        timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        play(fd, connection);
        ::close(fd);
    }
}

void TlsPeer::play(int fd, const Connection& connection) {
    SSL* ssl = SSL_new(ctx_);
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) == 1) {
        for (const std::string& answer : connection.Answers) {
            std::string head;
            char buffer[4096];
            while (head.find("\r\n\r\n") == std::string::npos) {
                const int n = SSL_read(ssl, buffer, sizeof buffer);
                if (n <= 0) break;
                head.append(buffer, static_cast<size_t>(n));
            }
            if (head.find("\r\n\r\n") == std::string::npos) break;
            {
                std::lock_guard<std::mutex> guard(lock_);
                heads_.push_back(head);
            }
            if (SSL_write(ssl, answer.data(), static_cast<int>(answer.size())) <= 0) break;
        }
        if (connection.CleanClose) SSL_shutdown(ssl);
    }
    SSL_free(ssl);
}

}  // namespace dorvanel::test
