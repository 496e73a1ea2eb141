// Arbitrary server bytes through a socket pair into FetchToStream: the status line, the header block and each
// body kind. The first byte picks a fixed head to put before the rest (none, a length, chunks, until close)
// and the client's options; the second scales a length or an abort point. Everything a test would call a
// property is checked: nothing is written that was not received, and the call ends (no hang, no crash).
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "http/exceptions.h"
#include "http/http_client.h"
#include "http/net_stream.h"
#include "http/uri.h"

using namespace dorvanel::http;

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// A transport whose socket is one end of a socket pair already holding the server's bytes. The other end
// (returned in `serverEnd`) stays open for the request heads until the run is over.
std::shared_ptr<TNetIOHandlerSocket> pairedHandler(const std::string& serverBytes, int& serverEnd) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return nullptr;
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    size_t sent = 0;
    while (sent < serverBytes.size()) {
        const ssize_t n = ::send(fds[1], serverBytes.data() + sent, serverBytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    ::shutdown(fds[1], SHUT_WR);
    serverEnd = fds[1];
    auto handler = std::make_shared<TNetIOHandlerSocket>();
    handler->Binding.Handle = fds[0];
    handler->Binding.Allocated = true;
    return handler;
}

struct ClosedAtEnd {
    int fd = -1;
    ~ClosedAtEnd() {
        if (fd >= 0) ::close(fd);
    }
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
    ClosedAtEnd serverEnd;
    auto handler = pairedHandler(server, serverEnd.fd);
    if (!handler) return 0;

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
        // Only the loopback is ever addressed: a location naming a host is turned into a local path.
        if (!TNetURI(dest).Host.empty()) dest = "/elsewhere";
    };
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
        } catch (const ENetException&) {
        }
        check(page.Size() <= static_cast<int64_t>(server.size()));
        if (!http.IsConnected()) break;
    }
    return 0;
}
