#include "support/plain/scripted_server.h"

#include "support/plain/loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace dorvanel::test {

ServerScript SendInPieces(const std::string& bytes, const std::vector<size_t>& cuts, int pauseMs) {
    ServerScript script;
    size_t from = 0;
    for (size_t cut : cuts) {
        if (cut <= from || cut >= bytes.size()) continue;
        script.push_back(ServerStep::Send(bytes.substr(from, cut - from)));
        script.push_back(ServerStep::Pause(pauseMs));
        from = cut;
    }
    script.push_back(ServerStep::Send(bytes.substr(from)));
    return script;
}

ServerScript AnswerAndClose(const std::string& response) {
    return {ServerStep::ReadHead(), ServerStep::Send(response), ServerStep::Close()};
}

ScriptedServer::ScriptedServer() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket failed");
    const int on = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    port_ = BindLoopback(listenFd_);
    if (::listen(listenFd_, 16) != 0) throw std::runtime_error("listen failed");
    if (::pipe2(stopFds_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

ScriptedServer::~ScriptedServer() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopFds_[1], &byte, 1);
    if (thread_.joinable()) thread_.join();
    ::close(listenFd_);
    ::close(stopFds_[0]);
    ::close(stopFds_[1]);
}

std::string ScriptedServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void ScriptedServer::AddConnection(ServerScript script) { scripts_.push_back(std::move(script)); }

void ScriptedServer::Start() {
    thread_ = std::thread([this] { run(); });
}

bool ScriptedServer::WaitDone(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (finished_.load() < static_cast<int>(scripts_.size())) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string ScriptedServer::Received(size_t index) const {
    std::lock_guard<std::mutex> guard(lock_);
    return index < received_.size() ? received_[index] : std::string();
}

std::vector<std::string> ScriptedServer::Heads() const {
    std::lock_guard<std::mutex> guard(lock_);
    return heads_;
}

bool ScriptedServer::waitReadable(int fd, int ms) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFds_[0], POLLIN, 0}};
    while (true) {
        const int rc = ::poll(fds, 2, ms);
        if (rc < 0 && errno == EINTR) continue;
        if (rc <= 0) return rc == 0;  // a timeout is not a stop
        return fds[1].revents == 0;
    }
}

void ScriptedServer::run() {
    while (true) {
        if (!waitReadable(listenFd_, -1)) return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        const size_t index = static_cast<size_t>(accepted_.fetch_add(1));
        {
            std::lock_guard<std::mutex> guard(lock_);
            received_.emplace_back();
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (index < scripts_.size()) {
            play(fd, index);
            finished_.fetch_add(1);
        } else {
            ::close(fd);
        }
    }
}

// Appends what one read brought; false when the peer closed (or the server stops).
bool ScriptedServer::readSome(int fd, size_t index) {
    char buffer[65536];
    if (!waitReadable(fd, 10000)) return false;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) return false;
    std::lock_guard<std::mutex> guard(lock_);
    received_[index].append(buffer, static_cast<size_t>(n));
    return true;
}

void ScriptedServer::play(int fd, size_t index) {
    size_t headFrom = 0;  // where the next request head starts in what was received
    bool open = true;
    for (const ServerStep& step : scripts_[index]) {
        if (!open && step.kind != ServerStep::Kind::Pause) break;
        switch (step.kind) {
            case ServerStep::Kind::ReadHead:
                while (true) {
                    {
                        std::lock_guard<std::mutex> guard(lock_);
                        const size_t end = received_[index].find("\r\n\r\n", headFrom);
                        if (end != std::string::npos) {
                            heads_.push_back(received_[index].substr(headFrom, end + 4 - headFrom));
                            headFrom = end + 4;
                            break;
                        }
                    }
                    if (!readSome(fd, index)) {
                        open = false;
                        break;
                    }
                }
                break;
            case ServerStep::Kind::ReadBytes:
                while (true) {
                    {
                        std::lock_guard<std::mutex> guard(lock_);
                        if (received_[index].size() >= headFrom + step.count) {
                            headFrom += step.count;
                            break;
                        }
                    }
                    if (!readSome(fd, index)) {
                        open = false;
                        break;
                    }
                }
                break;
            case ServerStep::Kind::Send: {
                size_t sent = 0;
                while (sent < step.bytes.size()) {
                    const ssize_t n = ::send(fd, step.bytes.data() + sent, step.bytes.size() - sent, MSG_NOSIGNAL);
                    if (n < 0 && errno == EINTR) continue;
                    if (n <= 0) {
                        open = false;
                        break;
                    }
                    sent += static_cast<size_t>(n);
                }
                break;
            }
            case ServerStep::Kind::Trickle:
                for (const char byte : step.bytes) {
                    if (::send(fd, &byte, 1, MSG_NOSIGNAL) != 1) {
                        open = false;
                        break;
                    }
                    pollfd stop{stopFds_[0], POLLIN, 0};
                    if (::poll(&stop, 1, step.ms) == 1) {
                        open = false;
                        break;
                    }
                }
                break;
            case ServerStep::Kind::Stall: {
                // POLLRDHUP tells the client's close without reading what it sent before.
                pollfd fds[2] = {{fd, POLLRDHUP, 0}, {stopFds_[0], POLLIN, 0}};
                while (::poll(fds, 2, -1) < 0 && errno == EINTR) {}
                open = false;
                break;
            }
            case ServerStep::Kind::Pause: {
                pollfd stop{stopFds_[0], POLLIN, 0};
                if (::poll(&stop, 1, step.ms) == 1) open = false;
                break;
            }
            case ServerStep::Kind::Close:
                open = false;
                break;
            case ServerStep::Kind::Reset: {
                linger hard{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
                open = false;
                break;
            }
            case ServerStep::Kind::WaitClose:
                while (readSome(fd, index)) {}
                open = false;
                break;
        }
    }
    ::close(fd);
}

}  // namespace dorvanel::test
