#pragma once
// The HTTP/1.x client every web request of the program goes through. FetchToStream sends a GET for a URL and
// writes the response body into a stream; around it the engine merges the URL into its current URI, picks
// the route (direct or through an HTTP proxy), connects or reuses the connection, writes the request head
// with the cookies that apply, reads the status line and header block, stores cookies, and then finishes,
// follows a redirect, retries with credentials or fails with the status.
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "http/authentication.h"
#include "http/cookie_jar.h"
#include "http/header_info.h"
#include "http/net_stream.h"
#include "http/tcp_client.h"
#include "http/tls_handler.h"
#include "http/uri.h"

namespace dorvanel::http {

enum class TNetHTTPMethod { hmHead, hmGet, hmPost, hmOptions, hmTrace, hmPut, hmDelete, hmConnect };
enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };
enum class TNetHTTPOption { hoInProcessAuth, hoKeepOrigProtocol, hoForceEncodeParams };
enum class TNetHTTPRoute { DirectRoute, SecureRoute, ProxyRoute, SecureProxyRoute };

// The word that opens a request line, with its space.
std::string MethodWord(TNetHTTPMethod method);
// A status line is "HTTP/1.", a digit, a blank and three digits, then a blank and the reason, or nothing.
bool IsStatusLine(const std::string& line);
// A port text as a number; ENetConvertError when it is none, ENetURIException outside 1..65535.
int32_t PortNumber(const std::string& text);
// The origin credentials belong to: scheme, host (both without case) and port.
std::string OriginOf(const TNetURI& uri);

class TNetCustomHTTP;

class TNetHTTPRequest : public TNetRequestHeaderInfo {
public:
    std::string Target;
    TNetHTTPMethod Verb = TNetHTTPMethod::hmGet;
    TNetStream* BodySource = nullptr;
    TNetHTTPRoute Route = TNetHTTPRoute::DirectRoute;
};

class TNetHTTPResponse : public TNetResponseHeaderInfo {
public:
    explicit TNetHTTPResponse(TNetCustomHTTP& owner) : owner_(owner) {}

    std::string StatusLine;
    TNetStream* BodyTarget = nullptr;
    TNetHTTPProtocolVersion ReplyVersion = TNetHTTPProtocolVersion::pv1_1;

    // The number after the first space of the status line; -1 when it is not a number.
    int32_t StatusCode() const;
    // Whether the connection may serve the next request: decided by the client's own protocol version and
    // the response's "Connection" / "Proxy-Connection"; false when the connection is gone.
    bool KeepsConnection();

private:
    TNetCustomHTTP& owner_;
};

class TNetCustomHTTP : public TNetTCPClient {
public:
    using TNetHTTPOnRedirectEvent = std::function<void(TNetCustomHTTP& Sender, std::string& dest, int32_t NumRedirect,
                                                       bool& Handled, TNetHTTPMethod& VMethod)>;
    using TNetOnSelectAuthorization = std::function<void(
        TNetCustomHTTP& Sender, const TNetAuthenticationClass*& AuthenticationClass, const TNetHeaderList& AuthInfo)>;
    using TNetOnAuthorization =
        std::function<void(TNetCustomHTTP& Sender, TNetAuthentication& Authentication, bool& Handled)>;

    // Bounds on what a peer may send, beyond the line length of the connection.
    static constexpr size_t kMaxHeaderBlockBytes = 256 * 1024;
    static constexpr size_t kMaxReplyBodyBytes = 1024 * 1024;
    static constexpr size_t kMaxChunkSizeDigits = 16;
    // Interim (1xx) answers read and dropped before a call fails; together they share kMaxHeaderBlockBytes.
    static constexpr int kMaxInterimAnswers = 8;
    static constexpr int32_t kDiscardTimeoutMs = 4000;
    static constexpr int32_t kErrorBodyTimeoutMs = 2000;

    TNetCustomHTTP();
    ~TNetCustomHTTP() override;

    int32_t AuthRetries = 3;
    bool AllowCookies = true;
    bool HandleRedirects = false;
    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    int32_t RedirectMaximum = 15;
    // The most bytes of a final body written into the caller's stream; 0 for no limit. Past it the call
    // fails with ENetProtocolError, the stream holding the first MaxBodyBytes bytes.
    int64_t MaxBodyBytes = 0;
    // For tests and the stand-in only, never set by the program: a certificate authority file trusted besides
    // the system's. Read when the client makes its first TLS connection.
    std::string TrustAnchorFile;
    TNetProxyConnectionInfo ProxyParams;
    TNetHTTPRequest Request;
    std::set<TNetHTTPOption> HTTPOptions{TNetHTTPOption::hoForceEncodeParams};
    TNetHTTPOnRedirectEvent OnRedirect;
    TNetOnSelectAuthorization OnSelectAuthorization;
    TNetOnSelectAuthorization OnSelectProxyAuthorization;
    TNetOnAuthorization OnAuthorization;
    TNetOnAuthorization OnProxyAuthorization;
    // Never set by the program; a scheme that finished its steps is handed to it on disconnect.
    TNetAuthenticationManager* AuthenticationManager = nullptr;

    TNetHTTPResponse& LastResponse() { return response_; }
    const std::string& StatusLine() const { return response_.StatusLine; }
    TNetURI& CurrentUri() { return currentUri_; }
    int32_t RedirectCount() const { return redirectCount_; }
    int32_t AuthAttempts() const { return authAttempts_; }
    int32_t ProxyAuthAttempts() const { return proxyAuthAttempts_; }

    // The endpoint; setting it also sets the current URI's host or port text.
    void SetHost(const std::string& host);
    void SetPort(int32_t port);

    // The cookie jar: none until the first response (then one of the client's own, with AllowCookies).
    // A jar the program assigns is only referenced and must outlive its use here or be unassigned first.
    TNetCookieManager* CookieManager() const { return cookieManager_; }
    void SetCookieManager(TNetCookieManager* manager);

    // GET `url` and write the body of the final 2xx response into `stream` from its position on. The stream
    // ends where that body (or, after a failure, whatever part of a body arrived) ends: a redirect's body
    // or bytes the stream held beyond it are cut away.
    void FetchToStream(const std::string& url, TNetStream& stream);
    void PerformRequest(TNetHTTPMethod verb, const std::string& url, TNetStream* source, TNetStream* target);

protected:
    void DoDisconnected() override;
    std::shared_ptr<TNetIOHandlerSocket> MakeIOHandler() override;

private:
    enum class TNextStep { Undecided, FollowNext, Finished, RetryWithAuth };
    enum class TFraming { ByLength, Chunked, UntilClose };

    static void cutTarget(TNetStream* target);
    static void cutTargetQuietly(TNetStream* target);
    void prepareTarget();
    TNetHTTPRoute chooseRoute();
    // Both true when the request went out on a connection kept from an earlier exchange.
    bool openRoute();
    void openTunnel(const std::string& server);
    // Sends the request and reads the status line; false when a GET on a reused connection got no answer
    // at all and should go once more on a new connection.
    bool sendAndReadStatusLine(bool retried);
    void readFinalHead();
    // `toProxy`: the head goes to the proxy itself (a CONNECT, or a request it forwards), which alone may
    // read the proxy's credentials.
    void sendRequestHead(TNetHTTPRequest& request, TNetURI* uri, bool toProxy);
    // The header block's bytes; `whole` tells whether it ended with its empty line (not cut by a close).
    size_t readResponseHead(TNetHTTPResponse& response, bool* whole = nullptr);
    static TFraming framingOf(const TNetHTTPResponse& response);
    static void checkFraming(TNetHTTPResponse& response);
    void storeCookies(TNetHTTPResponse& response);
    TNextStep decideNextStep(TNetHTTPResponse& response);
    std::string redirectTarget(const std::string& location);
    bool askRedirect(std::string& location, TNetHTTPMethod& verb);
    void discardBody(TNetHTTPResponse& response);
    [[noreturn]] void failWithStatus(TNetHTTPResponse& response);
    void readBody(TNetHTTPResponse& response);
    void readFinalBody(TNetHTTPResponse& response);
    void readChunkedBody(TNetStream& target);
    // The client's events as the negotiation's callbacks (empty when the event is not set).
    TNetSelectScheme selectWith(const TNetOnSelectAuthorization& onSelect);
    TNetAskCredentials askWith(const TNetOnAuthorization& onAuthorize);
    bool authorizeServer(TNetHTTPResponse& response);
    bool authorizeProxy(TNetHTTPResponse& response);

    TNetURI currentUri_;
    TNetHTTPResponse response_;
    TNetCookieManager* cookieManager_ = nullptr;
    std::unique_ptr<TNetCookieManager> ownCookieManager_;
    int32_t redirectCount_ = 0;
    int32_t authAttempts_ = 0;
    int32_t proxyAuthAttempts_ = 0;
    // The origin an "Authorization" may go to, and whether its credentials came from a challenge (then
    // they stay with that origin whatever the next address names).
    std::string authOrigin_;
    bool credentialsFromChallenge_ = false;
    // The server (host:port) the open tunnel leads to; empty without one.
    std::string tunnelServer_;
    // Shared by the TLS handlers the client makes, so that sessions are resumed.
    std::shared_ptr<TNetTLSContext> tlsContext_;
    // The transport the route needs: a TLS handler of the client's own for https (unless the program gave
    // one), a plain one otherwise; an own handler of the other kind goes with its connection.
    void ensureTransport(bool tls, bool passThrough);
    bool wantTls_ = false;
    bool wantPassThrough_ = false;
    bool secureConnection() const;
};

class TNetHTTP : public TNetCustomHTTP {};

}  // namespace dorvanel::http
