#pragma once
// Sockets on 127.0.0.1 for test peers: the only address the tests ever use.
#include <netinet/in.h>

namespace dorvanel::test {

sockaddr_in LoopbackAddress(int port);
// Binds `fd` to 127.0.0.1 on a port the system picks and returns that port.
int BindLoopback(int fd);
// True when something accepts a connection on 127.0.0.1:port.
bool LoopbackAccepts(int port);

// A socket listening on 127.0.0.1 (a port the system picks) and a pipe whose read end becomes readable when
// the peer's serving thread is to stop. Throws std::runtime_error when either cannot be made.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Fd() const { return fd_; }
    int Port() const { return port_; }
    int StopFd() const { return stop_[0]; }
    void SignalStop() const;

private:
    int fd_ = -1;
    int port_ = 0;
    int stop_[2] = {-1, -1};
};

}  // namespace dorvanel::test
