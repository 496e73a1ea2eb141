#include "standin/standin_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <stdexcept>

namespace dorvanel::standin {

StandinServer::StandinServer(const std::string& program, const std::vector<std::string>& options) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("stand-in: no pipe");
    std::vector<std::string> args = {program, "0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("stand-in: fork failed");
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);

    // The first line says "... port NNNNN"; give it ten seconds on a busy machine.
    std::string line;
    pollfd pfd{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&pfd, 1, 10000) > 0) {
        char buf[256];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<size_t>(n));
    }
    close(out[0]);
    const size_t at = line.find("port ");
    if (at != std::string::npos) {
        const char* digits = line.c_str() + at + 5;
        std::from_chars(digits, line.c_str() + line.size(), port_);
    }
    if (port_ <= 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        throw std::runtime_error("stand-in did not start: '" + line + "' from " + program);
    }
}

StandinServer::~StandinServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::string StandinServer::captchaText(const std::string& random) {
    std::string body = BodyOf(RawGet(port_, "/standin/captcha-text" + (random.empty() ? "" : "?random=" + random)));
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
    return body;
}

std::vector<std::string> StandinServer::requests(bool clear) { return lines("/standin/requests", clear); }

std::vector<std::string> StandinServer::faults(bool clear) { return lines("/standin/faults", clear); }

std::vector<std::string> StandinServer::lines(const std::string& path, bool clear) {
    const std::string body = BodyOf(RawGet(port_, clear ? path + "?clear=1" : path));
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl = body.find('\n'); nl != std::string::npos; nl = body.find('\n', from)) {
        lines.push_back(body.substr(from, nl - from));
        from = nl + 1;
    }
    return lines;
}

void StandinServer::configure(const std::string& query) {
    const std::string response = RawGet(port_, "/standin/config?" + query);
    if (response.rfind("HTTP/1.1 200", 0) != 0) throw std::runtime_error("stand-in refused " + query + ": " + response);
}

std::string RawGet(int port, const std::string& target, const std::string& extraHeaders) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("no socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        throw std::runtime_error("cannot connect to 127.0.0.1:" + std::to_string(port));
    }
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" +
                                extraHeaders + "Connection: close\r\n\r\n";
    for (size_t sent = 0; sent < request.size();) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    std::string response;
    char buf[16384];
    for (ssize_t n; (n = recv(fd, buf, sizeof buf, 0)) > 0;) response.append(buf, static_cast<size_t>(n));
    close(fd);
    return response;
}

std::string BodyOf(const std::string& response) {
    const size_t headEnd = response.find("\r\n\r\n");
    if (headEnd == std::string::npos) return {};
    const std::string head = response.substr(0, headEnd);
    std::string body = response.substr(headEnd + 4);
    if (head.find("Transfer-Encoding: chunked") == std::string::npos) return body;
    std::string joined;
    size_t at = 0;
    while (at < body.size()) {
        const size_t eol = body.find("\r\n", at);
        if (eol == std::string::npos) break;
        const size_t size = std::stoul(body.substr(at, eol - at), nullptr, 16);
        if (size == 0) break;
        joined += body.substr(eol + 2, size);
        at = eol + 2 + size + 2;
    }
    return joined;
}

}  // namespace dorvanel::standin
