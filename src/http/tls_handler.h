#pragma once
// The TLS transport handler on OpenSSL 3: the same socket as the plain handler, with a TLS session over it
// once the connection is open (or, through a proxy tunnel, once the proxy has opened the tunnel: until then
// the handler passes bytes through). It verifies the server's certificate against the system's trust store
// (and, for tests and the stand-in only, one extra trust anchor file), checks the host name or address,
// speaks TLS 1.2 and 1.3 only, with renegotiation and compression off; sessions are resumed within one
// client through the context it shares with every handler it makes.
#include <openssl/ssl.h>

#include <map>
#include <memory>
#include <string>

#include "http/socket_handle.h"

namespace dorvanel::http {

// OpenSSL's objects, each freed by its own function.
struct TSslContextFree {
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
struct TSslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
struct TSslSessionFree {
    void operator()(SSL_SESSION* session) const { SSL_SESSION_free(session); }
};
using TSslContextPtr = std::unique_ptr<SSL_CTX, TSslContextFree>;
using TSslPtr = std::unique_ptr<SSL, TSslFree>;
using TSslSessionPtr = std::unique_ptr<SSL_SESSION, TSslSessionFree>;

// What the handlers of one client share: the OpenSSL context with its settings and the session cache.
class TNetTLSContext {
public:
    // `trustAnchorFile`: an extra certificate authority to trust besides the system's (empty: none).
    explicit TNetTLSContext(const std::string& trustAnchorFile = {});

    SSL_CTX* Native() const { return ctx_.get(); }
    // The session last agreed with `key` (host:port), or none.
    SSL_SESSION* SessionFor(const std::string& key) const;
    void KeepSession(const std::string& key, TSslSessionPtr session);

private:
    TSslContextPtr ctx_;
    std::map<std::string, TSslSessionPtr> sessions_;
};

class TNetIOHandlerTLS : public TNetIOHandlerSocket {
public:
    explicit TNetIOHandlerTLS(std::shared_ptr<TNetTLSContext> context);
    ~TNetIOHandlerTLS() override;

    // Bytes go through unencrypted until StartTLS (the proxy tunnel's CONNECT).
    bool PassThrough = false;

    bool IsTLSHandler() const override { return true; }
    // In encrypted mode, shakes hands at once (see StartTLS).
    void AfterConnect(const std::string& host, int32_t timeoutMs) override;
    // Shakes hands with `host` over the open connection: fails with ENetTLSVerifyError or ENetTLSError.
    void StartTLS(const std::string& host, int32_t timeoutMs);
    ssize_t Receive(char* buffer, size_t count, int& err) override;
    ssize_t SendSome(const char* bytes, size_t count, int& err) override;
    bool HasPendingInput() const override;
    // The handshake is done and bytes go encrypted.
    bool Encrypted() const;
    // The last close came without the peer's close_notify (told apart from a clean one).
    bool UncleanClose() const { return uncleanClose_; }
    bool ClosedUncleanly() const override { return uncleanClose_; }
    // The last handshake resumed a session of an earlier connection.
    bool SessionReused() const { return sessionReused_; }
    // A session the server gave for this connection, kept for the next one to the same server.
    void KeepSession(TSslSessionPtr session);
    void Close() override;

private:
    std::shared_ptr<TNetTLSContext> context_;
    TSslPtr ssl_;
    std::string sessionKey_;
    bool uncleanClose_ = false;
    bool sessionReused_ = false;
};

}  // namespace dorvanel::http
