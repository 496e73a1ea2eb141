#include "support/plain/peer_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/plain/loopback.h"

namespace dorvanel::test {

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int port = BindLoopback(fd);
    ::close(fd);
    return port;
}

pid_t StartPeerProcess(const std::vector<std::string>& argv, int port, const std::string& what) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_RDWR);
        ::dup2(devnull, 0);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    if (pid < 0) throw std::runtime_error("cannot start " + what);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!LoopbackAccepts(port)) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) throw std::runtime_error(what + " did not start");
        if (std::chrono::steady_clock::now() > deadline) {
            StopPeerProcess(pid);
            throw std::runtime_error(what + " did not start");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pid;
}

void StopPeerProcess(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

}  // namespace dorvanel::test
