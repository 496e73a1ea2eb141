#pragma once
// One IPv4 stream socket and the transport handler that owns it. The handle also runs the short-lived
// connect thread of a timed connect: that thread touches nothing but this socket, and the handle never
// closes the socket while the thread still uses it.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>

namespace dorvanel::http {

class TNetSocketHandle {
public:
    TNetSocketHandle() = default;
    ~TNetSocketHandle();
    TNetSocketHandle(const TNetSocketHandle&) = delete;
    TNetSocketHandle& operator=(const TNetSocketHandle&) = delete;

    int Handle = -1;
    bool Allocated = false;
    std::string IP;
    int32_t Port = 0;
    std::string PeerIP;
    int32_t PeerPort = 0;
    int32_t ClientPortMin = 0;
    int32_t ClientPortMax = 0;

    // Closes any socket and forgets the addresses.
    void Reset();
    // Fails with ENetInvalidSocket.
    void AllocateSocket();
    // Binds to `ip` (any address when empty) and `port`, or to a port of the client range when `port` is 0
    // and both range ends are set.
    void Bind(const std::string& ip, int32_t port);
    void SetPeer(const std::string& ip, int32_t port);
    // Switches the TCP no-delay option on (false keeps the Nagle algorithm).
    void SetNoDelay();
    // A blocking connect; fails with ENetSocketError.
    void Connect();

    // A timed connect. StartConnect begins it without blocking and returns true when it has already
    // ended; otherwise the connect thread (StartConnectThread) waits for its end: WaitConnectThread waits
    // at most `ms` for the thread (true when it has ended), StopConnectThread tells it to end and waits for
    // that. Once the connect has ended, ConnectFailure holds the message of a failure (empty otherwise).
    bool StartConnect();
    void StartConnectThread();
    bool WaitConnectThread(int ms);
    void StopConnectThread();
    std::string ConnectFailure;

    // Waits until data (or the peer's close) can be read, at most `ms` milliseconds (below 0: no limit), in
    // slices of the idle pump's IdleTimeOut while the pump applies, pumping after each slice that brought
    // nothing. Fails with ENetConnClosedGracefully when the socket is not allocated. Also returns true when
    // the program closed the socket from inside the pump, so that the caller sees the connection gone.
    bool WaitReadable(int ms);
    // The same for room to send: a peer that stops reading fills the socket's buffer, and the wait for room
    // must keep the windows alive like any other.
    bool WaitWritable(int ms);

    // Shuts the sending side down and closes the socket; nothing happens when none is allocated.
    void CloseSocket();

private:
    bool pollFor(short events, int ms) const;
    bool waitFor(short events, int ms);
    void runConnect();
    void finishConnect(int err);

    std::thread connectThread_;
    std::mutex connectLock_;
    std::condition_variable connectDone_;
    bool connectFinished_ = false;
    bool connectStopping_ = false;
    int wakeFds_[2] = {-1, -1};
};

// The transport handler: a socket handle plus the transport options, and the reads and writes over it. The
// plain handler passes bytes as they are; the TLS handler derives from it and encrypts them.
class TNetIOHandlerSocket {
public:
    virtual ~TNetIOHandlerSocket() = default;

    bool UseNagle = true;
    TNetSocketHandle Binding;

    virtual bool IsTLSHandler() const { return false; }
    bool Connected() const { return Binding.Allocated; }
    virtual void Close() { Binding.CloseSocket(); }

    // Once the connection to `host` is open: what the transport needs before the first byte (a TLS
    // handshake), within `timeoutMs` (0: no limit of its own).
    virtual void AfterConnect(const std::string& /*host*/, int32_t /*timeoutMs*/) {}
    // Takes what can be read now, at most `count` bytes, after the socket was found readable: the count,
    // 0 when the peer closed, -1 with `err` set (EAGAIN: nothing whole yet, wait for more).
    virtual ssize_t Receive(char* buffer, size_t count, int& err);
    // Sends what fits now without waiting: the count, or -1 with `err` set (EAGAIN: wait for room).
    virtual ssize_t SendSome(const char* bytes, size_t count, int& err);
    // Bytes can be read without waiting on the socket (a TLS record already taken in).
    virtual bool HasPendingInput() const { return false; }
    // The peer's last close came without the proof of an end the transport has (TLS: no close_notify).
    virtual bool ClosedUncleanly() const { return false; }
};

}  // namespace dorvanel::http
