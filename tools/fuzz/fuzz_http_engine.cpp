// Arbitrary server bytes through a socket pair into FetchToStream: the status line, the header block and each
// body kind. The first byte picks a fixed head to put before the rest (none, a length, chunks, until close)
// and the client's options; the second scales a length, an abort point and a body cap. With bit 64 the peer
// is a live one: a thread trickles the bytes in small pieces, and with bit 128 it then stalls instead of
// closing, while the idle pump (on a clock of its own) runs and, as the program's Stop, closes the connection
// after some runs. Everything a test would call a property is checked: nothing is written that was not
// received, no body passes its cap, and the call ends (no hang, no crash).
#include <fcntl.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "http/exceptions.h"
#include "http/http_client.h"
#include "http/idle_pump.h"
#include "http/net_stream.h"
#include "http/uri.h"

using namespace dorvanel::http;

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

std::shared_ptr<TNetIOHandlerSocket> handlerFor(int fd) {
    auto handler = std::make_shared<TNetIOHandlerSocket>();
    handler->Binding.Handle = fd;
    handler->Binding.Allocated = true;
    return handler;
}

// The server's end of the pair. A still peer has written everything and shut its sending side before the
// client starts; a live one writes from a thread of its own, `piece` bytes at a time.
class Peer {
public:
    Peer(const std::string& bytes, bool live, bool stall, size_t piece) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0) return;
        ::fcntl(fds_[1], F_SETFL, O_NONBLOCK);
        if (!live) {
            sendAll(bytes, bytes.size());
            ::shutdown(fds_[1], SHUT_WR);
            return;
        }
        writer_ = std::thread([this, bytes, stall, piece] {
            sendAll(bytes, piece);
            if (!stall) ::shutdown(fds_[1], SHUT_WR);
        });
    }
    ~Peer() {
        done_ = true;
        if (writer_.joinable()) writer_.join();
        if (fds_[1] >= 0) ::close(fds_[1]);
    }
    int ClientEnd() const { return fds_[0]; }

private:
    void sendAll(const std::string& bytes, size_t piece) {
        size_t sent = 0;
        while (sent < bytes.size() && !done_) {
            const ssize_t n = ::send(fds_[1], bytes.data() + sent, std::min(piece, bytes.size() - sent), MSG_NOSIGNAL);
            if (n > 0) sent += static_cast<size_t>(n);
            if (n < 0 && errno != EAGAIN && errno != EINTR) break;
            sched_yield();
        }
    }

    int fds_[2] = {-1, -1};
    std::thread writer_;
    std::atomic<bool> done_{false};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t mode = data[0];
    const uint8_t scale = data[1];
    std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    std::string server;
    switch (mode & 3) {
        case 0:
            server = rest;
            break;
        case 1:
            server = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(scale * 37) + "\r\n\r\n" + rest;
            break;
        case 2:
            server = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + rest;
            break;
        case 3:
            server = "HTTP/1.0 200 OK\r\n\r\n" + rest;
            break;
    }
    const bool live = (mode & 64) != 0;
    Peer peer(server, live, live && (mode & 128) != 0, 1 + scale % 7);
    if (peer.ClientEnd() < 0) return 0;
    auto handler = handlerFor(peer.ClientEnd());

    // The pump's clock moves on one millisecond a reading, so the clock rule runs it as often as the slices.
    int64_t clockReads = 0;
    TNetIdlePump pump;
    pump.IdleTimeOut = 1;
    pump.Clock = [&clockReads] {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(++clockReads));
    };
    TNetHTTP http;
    // The endpoint the handler stands for, so that the engine keeps it instead of connecting elsewhere. A new
    // connection (after the pair is closed) goes to a closed loopback port and is refused at once.
    http.SetHost("127.0.0.1");
    http.SetPort(9);
    http.SetIOHandler(handler);
    http.HandleRedirects = (mode & 4) != 0;
    http.RedirectMaximum = 4;
    if (mode & 16) http.MaxLineAction = TNetMaxLineAction::maSplit;
    if (mode & 32) http.ASCIIFilter = true;
    http.OnRedirect = [](TNetCustomHTTP&, std::string& dest, int32_t, bool&, TNetHTTPMethod&) {
        // Only the closed loopback port is ever addressed: a location that resolves anywhere else (another
        // host, another port, a network-path reference) is turned into a local path.
        const TNetURI resolved(ResolveReference("http://127.0.0.1:9/start", dest));
        if (resolved.Host != "127.0.0.1" || resolved.PortText != "9") dest = "/elsewhere";
    };
    int pumps = 0;
    const int stopAt = 2 + scale % 16;
    pump.OnProcessMessages = [&] {
        if (++pumps == stopAt) http.CloseConnection();
    };
    if (scale & 1) http.MaxBodyBytes = int64_t{scale} * 64 + 1;
    if (mode & 8) {
        const int64_t abortAt = int64_t{scale} * 64;
        http.OnWork = [&http, abortAt](TNetComponent&, TWorkMode, int64_t total) {
            if (total >= abortAt) http.CloseConnection();
        };
    }
    for (int call = 0; call < 2; ++call) {
        TNetMemoryStream page;
        try {
            http.FetchToStream("http://127.0.0.1:9/start", page);
        } catch (const ENetHTTPProtocolException& e) {
            check(e.ReplyBody.size() <= server.size());
            check(e.ReplyBody.size() <= TNetCustomHTTP::kMaxReplyBodyBytes);
        } catch (const ENetException&) {}
        check(page.Size() <= static_cast<int64_t>(server.size()));
        check(http.MaxBodyBytes == 0 || page.Size() <= http.MaxBodyBytes);
        if (!http.IsConnected()) break;
    }
    return 0;
}
