#include "http/tls_handler.h"

#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>

#include "http/exceptions.h"
#include "http/net_stack.h"

namespace dorvanel::http {

namespace {

// The reason OpenSSL gives for its last failure, or `fallback` when it gives none.
std::string lastReason(const char* fallback) {
    const unsigned long code = ERR_peek_last_error();
    const char* reason = code ? ERR_reason_error_string(code) : nullptr;
    return reason ? reason : fallback;
}

// OpenSSL's record layer sees an answer in plain text (an HTTP server on the port) as a record of a wrong
// version or an impossible length.
bool looksLikePlainText() {
    const unsigned long code = ERR_peek_last_error();
    if (ERR_GET_LIB(code) != ERR_LIB_SSL) return false;
    const int reason = ERR_GET_REASON(code);
    return reason == SSL_R_WRONG_VERSION_NUMBER || reason == SSL_R_PACKET_LENGTH_TOO_LONG ||
           reason == SSL_R_RECORD_LENGTH_MISMATCH || reason == SSL_R_HTTP_REQUEST;
}

bool uncleanEof() {
    const unsigned long code = ERR_peek_last_error();
    return ERR_GET_LIB(code) == ERR_LIB_SSL && ERR_GET_REASON(code) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

// Where a TLS session finds the handler it belongs to, for the new-session callback.
int handlerIndex() {
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

void setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

}  // namespace

TNetTLSContext::TNetTLSContext(const std::string& trustAnchorFile) {
    ctx_.reset(SSL_CTX_new(TLS_client_method()));
    SSL_CTX* ctx = ctx_.get();
    if (!ctx) throw ENetTLSError("TLS handshake failed: " + lastReason("no TLS context"));
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_max_proto_version(ctx, TLS1_3_VERSION);
    SSL_CTX_set_options(ctx, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION);
    SSL_CTX_set_mode(ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    // Verification is always on: a certificate that does not verify ends the handshake.
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(ctx);
    if (!trustAnchorFile.empty() && SSL_CTX_load_verify_locations(ctx, trustAnchorFile.c_str(), nullptr) != 1) {
        throw ENetTLSError("TLS handshake failed: cannot read the trust anchor file " + trustAnchorFile);
    }
    // Sessions are kept by the context and offered again to the same server (resumption within one client).
    // With TLS 1.3 they arrive after the handshake, so the callback takes each one as it comes.
    SSL_CTX_set_session_cache_mode(ctx, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(ctx, [](SSL* ssl, SSL_SESSION* session) {
        auto* handler = static_cast<TNetIOHandlerTLS*>(SSL_get_ex_data(ssl, handlerIndex()));
        if (!handler) return 0;
        handler->KeepSession(TSslSessionPtr(session));
        return 1;  // the context keeps the reference
    });
}

SSL_SESSION* TNetTLSContext::SessionFor(const std::string& key) const {
    const auto found = sessions_.find(key);
    return found == sessions_.end() ? nullptr : found->second.get();
}

void TNetTLSContext::KeepSession(const std::string& key, TSslSessionPtr session) {
    if (session) sessions_[key] = std::move(session);
}

// The handshake's last flight and the first request leave as separate small writes; with the Nagle
// algorithm the second would wait for the server's delayed acknowledgement of the first (some 40 ms a
// connection), so a TLS connection sends at once.
TNetIOHandlerTLS::TNetIOHandlerTLS(std::shared_ptr<TNetTLSContext> context) : context_(std::move(context)) {
    UseNagle = false;
}

TNetIOHandlerTLS::~TNetIOHandlerTLS() { Close(); }

void TNetIOHandlerTLS::AfterConnect(const std::string& host, int32_t timeoutMs) {
    uncleanClose_ = false;
    if (!PassThrough) StartTLS(host, timeoutMs);
}

void TNetIOHandlerTLS::StartTLS(const std::string& host, int32_t timeoutMs) {
    const bool tunnelled = PassThrough;
    PassThrough = false;
    sessionReused_ = false;
    ssl_.reset(SSL_new(context_->Native()));
    SSL* ssl = ssl_.get();
    if (!ssl) throw ENetTLSError("TLS handshake failed: " + lastReason("no TLS session"));
    setNonBlocking(Binding.Handle);
    // A connection whose peer cannot be checked is no connection: each setting that fails fails it.
    bool checked = SSL_set_fd(ssl, Binding.Handle) == 1;
    if (IsDottedIP(host)) {
        checked = checked && X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str()) == 1;
    } else {
        // The name goes to the server (SNI) and is checked against the certificate's DNS names.
        checked = checked && SSL_set_tlsext_host_name(ssl, host.c_str()) == 1 && SSL_set1_host(ssl, host.c_str()) == 1;
    }
    if (!checked) throw ENetTLSError("TLS handshake failed: cannot check the server's name " + host);
    SSL_set_ex_data(ssl, handlerIndex(), this);
    sessionKey_ = host + ":" + std::to_string(Binding.PeerPort);
    // Through a proxy's tunnel a session is not resumed. A resumed handshake ends with the client's flight,
    // and the request that follows it in a second small write is held by a relaying proxy's Nagle algorithm
    // until the server acknowledges the first, some 40 ms a connection. After a full handshake the server
    // speaks last and the request leaves alone.
    if (SSL_SESSION* session = context_->SessionFor(sessionKey_); session && !tunnelled) {
        SSL_set_session(ssl, session);
    }
    while (true) {
        ERR_clear_error();
        const int rc = SSL_connect(ssl);
        if (rc == 1) break;
        const int error = SSL_get_error(ssl, rc);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
            // A server that stalls in the handshake keeps the windows alive and Stop working like any wait.
            const bool ready =
                error == SSL_ERROR_WANT_READ ? Binding.WaitReadable(timeoutMs) : Binding.WaitWritable(timeoutMs);
            if (!Binding.Allocated) throw ENetNotConnected();
            if (!ready) throw ENetTLSError("TLS handshake failed: the server did not answer in time.");
            continue;
        }
        const long verified = SSL_get_verify_result(ssl);
        if (verified != X509_V_OK) throw ENetTLSVerifyError(X509_verify_cert_error_string(verified));
        if (looksLikePlainText())
            throw ENetTLSError("TLS handshake failed: the server does not speak TLS on this port.");
        if (error == SSL_ERROR_SYSCALL || error == SSL_ERROR_ZERO_RETURN || uncleanEof()) {
            throw ENetTLSError("TLS handshake failed: the server closed the connection.");
        }
        throw ENetTLSError("TLS handshake failed: " + lastReason("unknown failure"));
    }
    sessionReused_ = SSL_session_reused(ssl) == 1;
}

void TNetIOHandlerTLS::KeepSession(TSslSessionPtr session) { context_->KeepSession(sessionKey_, std::move(session)); }

ssize_t TNetIOHandlerTLS::Receive(char* buffer, size_t count, int& err) {
    if (!ssl_) return TNetIOHandlerSocket::Receive(buffer, count, err);
    ERR_clear_error();
    errno = 0;  // a failure of the socket itself is told by errno, which must not be an old one
    const int n = SSL_read(ssl_.get(), buffer, static_cast<int>(std::min<size_t>(count, 1 << 30)));
    if (n > 0) return n;
    const int error = SSL_get_error(ssl_.get(), n);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        err = EAGAIN;
        return -1;
    }
    if (error == SSL_ERROR_ZERO_RETURN) return 0;  // the peer's close_notify: a clean end
    if (error == SSL_ERROR_SYSCALL && errno != 0 && errno != EAGAIN) {
        err = errno;
        return -1;
    }
    if (error == SSL_ERROR_SYSCALL || uncleanEof()) {
        uncleanClose_ = true;
        return 0;
    }
    throw ENetTLSError("TLS connection failed: " + lastReason("unknown failure"));
}

ssize_t TNetIOHandlerTLS::SendSome(const char* bytes, size_t count, int& err) {
    if (!ssl_) return TNetIOHandlerSocket::SendSome(bytes, count, err);
    ERR_clear_error();
    errno = 0;
    const int n = SSL_write(ssl_.get(), bytes, static_cast<int>(std::min<size_t>(count, 1 << 30)));
    if (n > 0) return n;
    const int error = SSL_get_error(ssl_.get(), n);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        err = EAGAIN;
        return -1;
    }
    err = error == SSL_ERROR_SYSCALL && errno != 0 ? errno : EPIPE;
    return -1;
}

bool TNetIOHandlerTLS::Encrypted() const { return ssl_ && SSL_is_init_finished(ssl_.get()); }

bool TNetIOHandlerTLS::HasPendingInput() const { return ssl_ && SSL_pending(ssl_.get()) > 0; }

void TNetIOHandlerTLS::Close() {
    if (ssl_) {
        // A close_notify goes out when it can at once; nobody waits for the answer.
        if (Binding.Allocated && SSL_is_init_finished(ssl_.get())) SSL_shutdown(ssl_.get());
        ssl_.reset();
    }
    TNetIOHandlerSocket::Close();
}

}  // namespace dorvanel::http
