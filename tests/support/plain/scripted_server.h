#pragma once
// A loopback HTTP peer for tests: it listens on 127.0.0.1 on a port the system picks, plays one script per
// accepted connection (exact bytes in as many writes as the script says, pauses, early closes, resets) and
// records every byte it received on each connection.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dorvanel::test {

struct ServerStep {
    enum class Kind { ReadHead, ReadBytes, Send, Trickle, Pause, Close, Reset, WaitClose, Stall };
    Kind kind;
    std::string bytes;
    size_t count = 0;
    int ms = 0;

    // Reads until the end of a request head (an empty line).
    static ServerStep ReadHead() { return {Kind::ReadHead, {}, 0, 0}; }
    static ServerStep ReadBytes(size_t count) { return {Kind::ReadBytes, {}, count, 0}; }
    // One write of exactly these bytes.
    static ServerStep Send(std::string bytes) { return {Kind::Send, std::move(bytes), 0, 0}; }
    // The bytes one at a time, `ms` apart: a peer that keeps every wait of the client short.
    static ServerStep Trickle(std::string bytes, int ms) { return {Kind::Trickle, std::move(bytes), 0, ms}; }
    static ServerStep Pause(int ms) { return {Kind::Pause, {}, 0, ms}; }
    // Neither reads nor sends any more, until the client closes its side or the server stops: a peer that
    // stopped (its receive buffer fills, so the client's sends stall too).
    static ServerStep Stall() { return {Kind::Stall, {}, 0, 0}; }
    // Closes the connection (a FIN after everything sent).
    static ServerStep Close() { return {Kind::Close, {}, 0, 0}; }
    // Closes with a reset instead of a FIN.
    static ServerStep Reset() { return {Kind::Reset, {}, 0, 0}; }
    // Waits until the client closes its side (reading and recording whatever comes).
    static ServerStep WaitClose() { return {Kind::WaitClose, {}, 0, 0}; }
};

using ServerScript = std::vector<ServerStep>;

// The bytes cut at the given offsets, each piece one write with a pause after it.
ServerScript SendInPieces(const std::string& bytes, const std::vector<size_t>& cuts, int pauseMs = 20);
// ReadHead, then the answer, then a close.
ServerScript AnswerAndClose(const std::string& response);

class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;

    // The script of the next connection to be accepted. Connections beyond the scripts are closed at once.
    void AddConnection(ServerScript script);
    // Starts accepting; call after the scripts are added.
    void Start();
    // Waits until every scripted connection has played its script (at most `ms`).
    bool WaitDone(int ms = 5000);

    int Accepted() const { return accepted_.load(); }
    // Everything received on connection `index` (0-based), request heads and bodies alike.
    std::string Received(size_t index) const;
    // The request heads received, over all connections, in order.
    std::vector<std::string> Heads() const;

private:
    void run();
    void play(int fd, size_t index);
    // Waits for the socket to become readable or for the stop signal; false on stop.
    bool waitReadable(int fd, int ms) const;
    bool readSome(int fd, size_t index);

    int listenFd_ = -1;
    int stopFds_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
    std::vector<ServerScript> scripts_;
    std::atomic<int> accepted_{0};
    std::atomic<int> finished_{0};
    mutable std::mutex lock_;
    std::vector<std::string> received_;
    std::vector<std::string> heads_;
};

}  // namespace dorvanel::test
