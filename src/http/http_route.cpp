// Which connection a request goes out on: straight to the server, to an HTTP proxy that forwards it, or
// through a tunnel the proxy opens to an https server. A tunnel belongs to the one server it was opened to
// and carries nothing before its TLS handshake with that server is done.
#include <algorithm>

#include "http/exceptions.h"
#include "http/http_client.h"
#include "http/net_text.h"
#include "http/peer_text.h"

namespace dorvanel::http {

void TNetCustomHTTP::ensureTransport(bool tls, bool passThrough) {
    wantTls_ = tls;
    wantPassThrough_ = passThrough;
    if (!IOHandler || !OwnsIOHandler()) return;  // the program's own handler is used as it is
    auto* current = dynamic_cast<TNetIOHandlerTLS*>(IOHandler.get());
    if ((current != nullptr) != tls) {
        CloseConnection();  // frees the handler; connecting makes the right one
    } else if (current && !IsConnected()) {
        current->PassThrough = passThrough;
    }
}

std::shared_ptr<TNetIOHandlerSocket> TNetCustomHTTP::MakeIOHandler() {
    if (!wantTls_) return TNetTCPClient::MakeIOHandler();
    if (!tlsContext_) tlsContext_ = std::make_shared<TNetTLSContext>(TrustAnchorFile);
    auto handler = std::make_shared<TNetIOHandlerTLS>(tlsContext_);
    handler->PassThrough = wantPassThrough_;
    return handler;
}

// Secure cookies go only over a connection that is encrypted to the server itself.
bool TNetCustomHTTP::secureConnection() const {
    const auto* tls = dynamic_cast<const TNetIOHandlerTLS*>(IOHandler.get());
    if (tls) return tls->Encrypted();
    return IOHandler && IOHandler->IsTLSHandler() &&
           (Request.Route == TNetHTTPRoute::SecureRoute || Request.Route == TNetHTTPRoute::SecureProxyRoute);
}

TNetHTTPRoute TNetCustomHTTP::chooseRoute() {
    const bool https = SameText(currentUri_.Protocol, "HTTPS");
    const bool direct = ProxyParams.ProxyServer().empty();
    if (direct) {
        const int32_t port = PortNumber(currentUri_.PortText);
        if (!SameText(Host, currentUri_.Host) || Port != port) {
            if (IsConnected()) CloseConnection();
            Host = currentUri_.Host;
            Port = port;
        }
    } else if (Host != ProxyParams.ProxyServer() || Port != ProxyParams.ProxyPort()) {
        if (IsConnected()) CloseConnection();
        Host = ProxyParams.ProxyServer();
        Port = ProxyParams.ProxyPort();
    }
    // Through a proxy the TLS handler passes bytes through until the tunnel is open.
    ensureTransport(https, https && !direct);
    // Without a handler of its own yet, connecting makes the one the route needs.
    const bool tls = IOHandler ? IOHandler->IsTLSHandler() : https;
    if (https && !tls) throw ENetIOHandlerPropInvalid();
    if (direct) return https ? TNetHTTPRoute::SecureRoute : TNetHTTPRoute::DirectRoute;
    return https ? TNetHTTPRoute::SecureProxyRoute : TNetHTTPRoute::ProxyRoute;
}

bool TNetCustomHTTP::openRoute() {
    Request.Route = chooseRoute();
    if (Request.Route == TNetHTTPRoute::ProxyRoute) Request.Target = currentUri_.ComposeUri();
    if (ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 && Request.Connection.empty()) {
        if (Request.Route == TNetHTTPRoute::DirectRoute) Request.Connection = "keep-alive";
        if (Request.Route == TNetHTTPRoute::ProxyRoute) Request.ProxyConnection = "keep-alive";
    }
    if (Request.Route == TNetHTTPRoute::SecureRoute || Request.Route == TNetHTTPRoute::SecureProxyRoute) {
        Request.Connection.clear();
    }
    // The connection is decided once, here: kept when the last answer allowed it and the peer is still there.
    if (!response_.KeepsConnection()) CloseConnection();
    PollPeerClosed(false);
    bool reused = IsConnected();
    if (Request.Route == TNetHTTPRoute::SecureProxyRoute) {
        // A kept tunnel serves only the server it was opened to, and only once it is encrypted to it; any
        // other connection to the proxy is closed and a new tunnel opened, so that nothing of a request ever
        // goes to the proxy in plain text or to another server's tunnel.
        const std::string server = currentUri_.Host + ":" + currentUri_.PortText;
        const auto* tls = dynamic_cast<const TNetIOHandlerTLS*>(IOHandler.get());
        const bool encrypted = tls ? tls->Encrypted() : IOHandler && IOHandler->IsTLSHandler();
        if (reused && !(encrypted && SameText(tunnelServer_, server))) {
            CloseConnection();
            reused = false;
        }
        if (!reused) openTunnel(server);
    } else if (!reused) {
        OpenConnection(ReadTimeout);
    }
    sendRequestHead(Request, &currentUri_, Request.Route == TNetHTTPRoute::ProxyRoute);
    if ((Request.Verb == TNetHTTPMethod::hmPost || Request.Verb == TNetHTTPMethod::hmPut) && Request.BodySource) {
        WriteFromStream(*Request.BodySource, true, 0, false);
    }
    return reused;
}

// The proxy is asked to open a tunnel to `server` (host:port); once it answers 2xx, the TLS handler shakes
// hands with the server through it. The proxy's answer is the proxy's own: its cookies are not stored, and
// a proxy challenge is answered with the proxy's credentials.
void TNetCustomHTTP::openTunnel(const std::string& server) {
    tunnelServer_.clear();
    TNetHTTPRequest tunnel;
    tunnel.UserAgent = Request.UserAgent;
    tunnel.Host = server;
    tunnel.Pragma = "no-cache";
    tunnel.ProxyConnection = "keep-alive";
    tunnel.Verb = TNetHTTPMethod::hmConnect;
    tunnel.Target = server;
    TNetHTTPResponse answer(*this);
    for (int32_t attempt = 0; attempt <= AuthRetries; ++attempt) {
        if (!IsConnected()) {
            // Until the tunnel is open the bytes are the proxy's, in plain text.
            if (auto* tls = dynamic_cast<TNetIOHandlerTLS*>(IOHandler.get())) tls->PassThrough = true;
            OpenConnection(ReadTimeout);
        }
        sendRequestHead(tunnel, nullptr, true);
        answer.StatusLine = ReadLine();
        if (!IsStatusLine(answer.StatusLine)) {
            throw ENetProtocolError("Invalid status line: " + QuotedPeerText(answer.StatusLine));
        }
        bool whole = false;
        readResponseHead(answer, &whole);
        if (!whole) throw ENetConnClosedGracefully();
        const int32_t code = answer.StatusCode();
        if (code / 100 == 2) {
            // Bytes that came after the proxy's answer and before the handshake are nobody's: taken for the
            // server's, they would let the proxy answer in the server's name.
            if (!BufferedInput().empty()) {
                throw ENetProtocolError("The proxy sent " + std::to_string(BufferedInput().size()) +
                                        " bytes before the TLS handshake.");
            }
            // A TLS transport of the program's own shakes hands by itself.
            if (auto* tls = dynamic_cast<TNetIOHandlerTLS*>(IOHandler.get())) {
                tls->StartTLS(currentUri_.Host, ReadTimeout > 0 ? ReadTimeout : -1);
            }
            tunnelServer_ = server;
            return;
        }
        checkFraming(answer);
        if (code == 407 && proxyAuthAttempts_ < AuthRetries && authorizeProxy(answer)) {
            if (answer.KeepsConnection()) {
                discardBody(answer);
            } else {
                CloseConnection();
            }
            continue;
        }
        failWithStatus(answer);
    }
    throw ENetIOHandlerPropInvalid();
}

}  // namespace dorvanel::http
