#include "http/http_client.h"

#include <algorithm>
#include <limits>

#include "http/exceptions.h"
#include "http/net_text.h"
#include "http/peer_text.h"

namespace dorvanel::http {

namespace {

// Where a discarded body goes.
class TNullStream : public TNetStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    void Write(const void*, int64_t count) override { position_ += count; }
    using TNetStream::Write;
    int64_t Size() const override { return position_; }
    void SetSize(int64_t size) override { position_ = std::min(position_, size); }
    int64_t Position() const override { return position_; }
    void SetPosition(int64_t position) override { position_ = position; }

private:
    int64_t position_ = 0;
};

// The text of an error body.
class TTextStream : public TNetStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    void Write(const void* buffer, int64_t count) override {
        text_.append(static_cast<const char*>(buffer), static_cast<size_t>(count));
    }
    using TNetStream::Write;
    int64_t Size() const override { return static_cast<int64_t>(text_.size()); }
    void SetSize(int64_t size) override {
        text_.resize(std::min(text_.size(), static_cast<size_t>(std::max<int64_t>(0, size))));
    }
    int64_t Position() const override { return static_cast<int64_t>(text_.size()); }
    void SetPosition(int64_t) override {}
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Thrown by TCappedStream when a body goes past its cap; the caller decides what that means.
struct TBodyCapReached {};

// Passes a body on to another stream up to `cap` bytes; the write that would go past the cap writes what
// still fits and then throws TBodyCapReached, so that a peer cannot make the client read (or keep) more.
class TCappedStream : public TNetStream {
public:
    TCappedStream(TNetStream& inner, int64_t cap) : inner_(inner), cap_(cap) {}
    int64_t Read(void* buffer, int64_t count) override { return inner_.Read(buffer, count); }
    void Write(const void* buffer, int64_t count) override {
        const int64_t room = cap_ - written_;
        if (count > room) {
            inner_.Write(buffer, room);
            written_ = cap_;
            throw TBodyCapReached();
        }
        inner_.Write(buffer, count);
        written_ += count;
    }
    using TNetStream::Write;
    int64_t Size() const override { return inner_.Size(); }
    void SetSize(int64_t size) override { inner_.SetSize(size); }
    int64_t Position() const override { return inner_.Position(); }
    void SetPosition(int64_t position) override { inner_.SetPosition(position); }

private:
    TNetStream& inner_;
    int64_t cap_;
    int64_t written_ = 0;
};

// Restores a value when the scope ends, on failure too.
template <typename T>
class TRestore {
public:
    TRestore(T& place, T value) : place_(place), saved_(place) { place_ = value; }
    ~TRestore() { place_ = saved_; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& place_;
    T saved_;
};

int32_t portNumber(const std::string& text) {
    int32_t port = 0;
    if (!ReadInt32(text, port)) throw ENetConvertError(text);
    if (port < 1 || port > 65535) throw ENetURIException("Port out of range: " + QuotedPeerText(text));
    return port;
}

bool isControlByte(char c, bool tabAllowed) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && !(tabAllowed && byte == '\t')) || byte == 0x7F;
}

// A status line is "HTTP/1.", a digit, a blank and three digits, then a blank and the reason, or nothing.
bool isStatusLine(const std::string& line) {
    auto digit = [&](size_t i) { return i < line.size() && line[i] >= '0' && line[i] <= '9'; };
    return line.rfind("HTTP/1.", 0) == 0 && digit(7) && line.size() >= 12 && line[8] == ' ' && digit(9) && digit(10) &&
           digit(11) && (line.size() == 12 || line[12] == ' ');
}

// The one body length the "Content-Length" lines give, -1 without any; fails on a value that is not digits
// only, does not fit 64 bits, or differs from another (RFC 9112 6.3).
int64_t announcedLength(const TNetHeaderList& lines) {
    std::vector<std::string> values;
    lines.CollectValues("Content-Length", values);
    int64_t length = -1;
    for (const std::string& value : values) {
        std::string rest = value;
        while (true) {
            const std::string item = Trim(TakeToken(rest, ","));
            int64_t read = 0;
            if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos || !ReadInt64(item, read)) {
                throw ENetProtocolError("Unreadable Content-Length: " + QuotedPeerText(value));
            }
            if (length >= 0 && read != length) {
                throw ENetProtocolError("Conflicting Content-Length values: " + QuotedPeerText(value));
            }
            length = read;
            if (rest.empty()) break;
        }
    }
    return length;
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int hexValue(char c) {
    if (c <= '9') return c - '0';
    return (UpperChar(c) - 'A') + 10;
}

}  // namespace

std::string MethodWord(TNetHTTPMethod method) {
    switch (method) {
        case TNetHTTPMethod::hmHead:
            return "HEAD ";
        case TNetHTTPMethod::hmGet:
            return "GET ";
        case TNetHTTPMethod::hmPost:
            return "POST ";
        case TNetHTTPMethod::hmOptions:
            return "OPTIONS ";
        case TNetHTTPMethod::hmTrace:
            return "TRACE ";
        case TNetHTTPMethod::hmPut:
            return "PUT ";
        case TNetHTTPMethod::hmDelete:
            return "DELETE ";
        case TNetHTTPMethod::hmConnect:
            return "CONNECT ";
    }
    return "GET ";
}

int32_t TNetHTTPResponse::StatusCode() const {
    std::string rest = StatusLine;
    TakeToken(rest, " ");
    rest = Trim(rest);
    return Int32Or(TakeToken(rest, " "), -1);
}

bool TNetHTTPResponse::KeepsConnection() {
    const std::string version = StatusLine.size() >= 8 ? StatusLine.substr(5, 3) : std::string();
    if (SameText(version, "1.0")) ReplyVersion = TNetHTTPProtocolVersion::pv1_0;
    if (SameText(version, "1.1")) ReplyVersion = TNetHTTPProtocolVersion::pv1_1;
    if (!owner_.IsConnected()) return false;
    const std::string connection = Trim(Connection);
    const std::string proxyConnection = Trim(ProxyConnection);
    // An HTTP/1.0 server closes after its answer unless it says otherwise (RFC 9112 9.3), whatever version
    // the client asked with.
    const bool answer10 = StatusLine.rfind("HTTP/1.0", 0) == 0;
    if (owner_.ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 || answer10) {
        return SameText(connection, "KEEP-ALIVE") || SameText(proxyConnection, "KEEP-ALIVE");
    }
    return !SameText(connection, "CLOSE") && !SameText(proxyConnection, "CLOSE");
}

TNetCustomHTTP::TNetCustomHTTP() : response_(*this) {
    Port = 80;
    currentUri_.PortText = "80";
}

TNetCustomHTTP::~TNetCustomHTTP() = default;

void TNetCustomHTTP::SetHost(const std::string& host) {
    Host = host;
    currentUri_.Host = host;
}

void TNetCustomHTTP::SetPort(int32_t port) {
    Port = port;
    currentUri_.PortText = std::to_string(port);
}

void TNetCustomHTTP::SetCookieManager(TNetCookieManager* manager) {
    if (manager == cookieManager_) return;
    cookieManager_ = manager;
    ownCookieManager_.reset();
}

void TNetCustomHTTP::FetchToStream(const std::string& url, TNetStream& stream) {
    PerformRequest(TNetHTTPMethod::hmGet, url, nullptr, &stream);
}

void TNetCustomHTTP::PerformRequest(TNetHTTPMethod verb, const std::string& url, TNetStream* source,
                                    TNetStream* target) {
    const int64_t start = target ? target->Position() : 0;
    redirectCount_ = authAttempts_ = proxyAuthAttempts_ = 0;
    Request.Target = url;
    Request.Verb = verb;
    Request.BodySource = source;
    response_.BodyTarget = target;
    // Credentials go to the host the caller named, and to a host that asked for them and got them, only.
    const std::string urlHost = TNetURI(url).Host;
    authHost_ = urlHost.empty() ? currentUri_.Host : urlHost;
    bool retried = false;
    try {
        bool done = false;
        while (!done) {
            ++redirectCount_;
            prepareTarget();
            if (!sendAndReadStatusLine(retried)) {
                // A kept connection the server had closed meanwhile: the same GET once more, on a new one.
                retried = true;
                --redirectCount_;
                continue;
            }
            readFinalHead();
            switch (decideNextStep(response_)) {
                case TNextStep::FollowNext:
                    // The next body is written over this one; the target is cut at the end of whatever it
                    // holds last (below). Cutting it back here would empty a file only to refill it, which
                    // makes some file systems write it out at once.
                    if (target) target->SetPosition(start);
                    authAttempts_ = proxyAuthAttempts_ = 0;
                    break;
                case TNextStep::Finished:
                    done = true;
                    break;
                case TNextStep::Undecided:
                    throw ENetException("Undefined situation");
                case TNextStep::RetryWithAuth:
                    --redirectCount_;
                    Request.Target = url;
                    break;
            }
        }
    } catch (const ENetHTTPProtocolException&) {
        cutTargetQuietly(target);
        // The status was read with its whole body: the connection is where the next exchange can start.
        if (!response_.KeepsConnection()) CloseConnection();
        throw;
    } catch (...) {
        cutTargetQuietly(target);
        // Any other failure can leave part of an answer unread, which the next request on the same connection
        // would take for its own: the connection is closed whatever the previous response allowed.
        CloseConnection();
        throw;
    }
    cutTarget(target);
    if (!response_.KeepsConnection()) CloseConnection();
    redirectCount_ = 0;
}

bool TNetCustomHTTP::sendAndReadStatusLine(bool retried) {
    bool reused = false;
    try {
        reused = openRoute();
        response_.StatusLine = ReadLine();
        return true;
    } catch (const ENetException& e) {
        // Only a GET (which may be sent twice) on a reused connection that brought no byte of an answer.
        const bool gone = dynamic_cast<const ENetConnClosedGracefully*>(&e) != nullptr ||
                          dynamic_cast<const ENetSocketError*>(&e) != nullptr;
        if (!gone || !reused || retried || Request.Verb != TNetHTTPMethod::hmGet || PendingInput().Size() != 0) throw;
    }
    CloseConnection();
    return false;
}

// The status line and head of the final answer. Interim (1xx) answers before it are read and dropped, their
// cookies with them, within kMaxInterimAnswers heads and kMaxHeaderBlockBytes together.
void TNetCustomHTTP::readFinalHead() {
    int interim = 0;
    size_t interimBytes = 0;
    while (true) {
        if (!isStatusLine(response_.StatusLine)) {
            throw ENetProtocolError("Invalid status line: " + QuotedPeerText(response_.StatusLine));
        }
        const size_t headBytes = readResponseHead(response_);
        if (response_.StatusCode() / 100 != 1) break;
        interimBytes += response_.StatusLine.size() + 2 + headBytes;
        if (++interim > kMaxInterimAnswers || interimBytes > kMaxHeaderBlockBytes) {
            throw ENetProtocolError("Too many interim answers.");
        }
        response_.StatusLine = ReadLine();
    }
    checkFraming(response_);
    storeCookies(response_);
}

// Chunked framing wins over a length (RFC 9112 6.3); without it, the length lines must agree.
void TNetCustomHTTP::checkFraming(TNetHTTPResponse& response) {
    if (isChunked(response)) return;
    response.ContentLength = announcedLength(response.HeaderLines);
}

bool TNetCustomHTTP::isChunked(const TNetHTTPResponse& response) {
    return response.HeaderLines.ValueOf("Transfer-Encoding").find("chunked") != std::string::npos;
}

// The target holds the last body only: bytes of an earlier, longer body (a redirect's) past it go.
void TNetCustomHTTP::cutTarget(TNetStream* target) {
    if (target && target->Size() > target->Position()) target->SetSize(target->Position());
}

// On the way out of a failure, whose report matters more than a stream that cannot be cut.
void TNetCustomHTTP::cutTargetQuietly(TNetStream* target) {
    try {
        cutTarget(target);
    } catch (...) {}
}

void TNetCustomHTTP::prepareTarget() {
    TNetURI target(Request.Target);
    if (!target.LoginName.empty()) {
        Request.Username = target.LoginName;
        Request.Password = target.LoginPassword;
    }
    currentUri_.LoginName = Request.Username;
    currentUri_.LoginPassword = Request.Password;
    currentUri_.DirPath = MergePath(currentUri_.DirPath, target.DirPath, '/');
    currentUri_.DocName = target.DocName;
    currentUri_.QueryText = target.QueryText;
    currentUri_.Fragment.clear();
    if (!target.Host.empty()) {
        // Credentials of one host never travel to another.
        if (!SameText(target.Host, currentUri_.Host)) Request.AuthScheme.reset();
        currentUri_.Host = target.Host;
    }
    currentUri_.Protocol = target.Protocol.empty() ? std::string("http") : target.Protocol;
    if (!target.PortText.empty()) {
        currentUri_.PortText = target.PortText;
    } else {
        // A URL that names a host without a port means the scheme's port, never the previous request's.
        const int32_t current = target.Host.empty() ? Int32Or(currentUri_.PortText, 0) : 0;
        if (current == 0 || current == 80 || current == 443) {
            if (SameText(currentUri_.Protocol, "http")) {
                currentUri_.PortText = "80";
            } else if (SameText(currentUri_.Protocol, "https")) {
                currentUri_.PortText = "443";
            } else {
                throw ENetUnknownProtocol(currentUri_.Protocol);
            }
        }
    }
    portNumber(currentUri_.PortText);
    Request.Target = currentUri_.RequestTarget();
    if (Request.Verb == TNetHTTPMethod::hmOptions && target.DocName == "*") Request.Target = "*";
    const bool needs11 = Request.Verb == TNetHTTPMethod::hmOptions || Request.Verb == TNetHTTPMethod::hmTrace ||
                         Request.Verb == TNetHTTPMethod::hmPut || Request.Verb == TNetHTTPMethod::hmDelete;
    if (needs11 && ProtocolVersion != TNetHTTPProtocolVersion::pv1_1) {
        throw ENetException("This request method is supported in HTTP 1.1");
    }
    const bool hasBody = Request.Verb == TNetHTTPMethod::hmPost || Request.Verb == TNetHTTPMethod::hmPut;
    Request.ContentLength = hasBody && Request.BodySource ? Request.BodySource->Size() : -1;
    Request.Host = currentUri_.Host + (currentUri_.PortText != "80" ? ":" + currentUri_.PortText : std::string());
}

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
        const int32_t port = portNumber(currentUri_.PortText);
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
    if (Request.Route == TNetHTTPRoute::SecureProxyRoute) {
        // A tunnel kept from the last request is already encrypted to the server.
        auto* tls = dynamic_cast<TNetIOHandlerTLS*>(IOHandler.get());
        if (!(tls && tls->Encrypted() && response_.KeepsConnection())) openTunnel();
    }
    const bool reused = ensureConnected();
    sendRequestHead(Request, &currentUri_);
    if ((Request.Verb == TNetHTTPMethod::hmPost || Request.Verb == TNetHTTPMethod::hmPut) && Request.BodySource) {
        WriteFromStream(*Request.BodySource, true, 0, false);
    }
    return reused;
}

// The proxy is asked to open a tunnel to the server; once it answers 200, the TLS handler shakes hands with
// the server through it.
void TNetCustomHTTP::openTunnel() {
    TNetHTTPRequest tunnel;
    tunnel.UserAgent = Request.UserAgent;
    tunnel.Host = Request.Host;
    tunnel.ContentLength = Request.ContentLength;
    tunnel.Pragma = "no-cache";
    tunnel.ProxyConnection = "keep-alive";
    tunnel.Verb = TNetHTTPMethod::hmConnect;
    tunnel.Target = currentUri_.Host + ":" + currentUri_.PortText;
    TNetHTTPResponse answer(*this);
    TNetMemoryStream scratch;
    answer.BodyTarget = &scratch;
    for (int attempt = 0; attempt < RedirectMaximum; ++attempt) {
        ensureConnected();
        sendRequestHead(tunnel, nullptr);
        answer.StatusLine = ReadLine();
        if (answer.StatusLine.empty()) {
            answer.StatusLine = "HTTP/1.0 200 OK";
            answer.Connection = "close";
        } else {
            readResponseHead(answer);
            checkFraming(answer);
            storeCookies(answer);
        }
        if (answer.StatusCode() == 200) {
            // The proxy passes bytes on from here: the handshake with the server goes through it.
            if (auto* tls = dynamic_cast<TNetIOHandlerTLS*>(IOHandler.get())) {
                tls->StartTLS(currentUri_.Host, ReadTimeout > 0 ? ReadTimeout : -1);
            }
            return;
        }
        decideNextStep(answer);
    }
    throw ENetIOHandlerPropInvalid();
}

bool TNetCustomHTTP::ensureConnected() {
    if (!response_.KeepsConnection()) CloseConnection();
    PollPeerClosed(false);
    if (IsConnected()) return true;
    OpenConnection(ReadTimeout);
    return false;
}

void TNetCustomHTTP::sendRequestHead(TNetHTTPRequest& request, TNetURI* uri) {
    request.WriteToLines();
    if (uri && !SameText(uri->Host, authHost_)) {
        // This host was not the one the credentials were meant for: no "Authorization" goes to it, and no
        // scheme made from the credentials stays behind.
        request.HeaderLines.SetHeaderValue("Authorization", "");
        request.AuthScheme.reset();
    }
    ProxyParams.WriteToLines(request.HeaderLines);
    if (uri && cookieManager_) {
        const std::string cookies = cookieManager_->CookieHeaderFor(*uri, secureConnection());
        if (!cookies.empty()) request.HeaderLines.SetHeaderValue("Cookie", cookies);
    }
    // Blanks and bytes above 0x7E are sent escaped, as browsers do; a control byte is refused, as is a header
    // line that holds one (a tab inside a value aside) or that would continue the line before it.
    if (std::any_of(request.Target.begin(), request.Target.end(), [](char c) { return isControlByte(c, false); })) {
        throw ENetInvalidRequest("Request target holds a control byte: " + QuotedPeerText(request.Target));
    }
    const std::string target = EncodeTargetBytes(request.Target);
    for (const std::string& line : request.HeaderLines.Lines) {
        const bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (folded || std::any_of(line.begin(), line.end(), [](char c) { return isControlByte(c, true); })) {
            throw ENetInvalidRequest("Request header holds a control byte or a line break: " + QuotedPeerText(line));
        }
    }
    const char* version = ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    BeginBufferedWrite();
    try {
        WriteLine(MethodWord(request.Verb) + target + " HTTP/" + version);
        for (const std::string& line : request.HeaderLines.Lines) {
            if (!line.empty()) WriteLine(line);
        }
        WriteLine("");
    } catch (...) {
        CancelBufferedWrite();
        throw;
    }
    EndBufferedWrite();
}

size_t TNetCustomHTTP::readResponseHead(TNetHTTPResponse& response) {
    response.HeaderLines.Clear();
    size_t total = 0;
    try {
        while (true) {
            std::string line = ReadLine();
            if (line.empty()) break;
            total += line.size() + 2;
            if (total > kMaxHeaderBlockBytes) throw ENetProtocolError("Response header too large.");
            response.HeaderLines.Add(line);
        }
    } catch (const ENetConnClosedGracefully&) {
        CloseConnection();
    }
    response.ReadFromLines();
    return total;
}

void TNetCustomHTTP::storeCookies(TNetHTTPResponse& response) {
    if (!cookieManager_ && AllowCookies) {
        ownCookieManager_ = std::make_unique<TNetCookieManager>();
        cookieManager_ = ownCookieManager_.get();
    }
    if (!cookieManager_) return;
    std::vector<std::string> values;
    response.HeaderLines.CollectValues("Set-cookie", values);
    for (const std::string& value : values) cookieManager_->AcceptSetCookie(value, currentUri_);
    values.clear();
    response.HeaderLines.CollectValues("Set-cookie2", values);
    for (const std::string& value : values) cookieManager_->AcceptSetCookie2(value, currentUri_);
}

TNetCustomHTTP::TNextStep TNetCustomHTTP::decideNextStep(TNetHTTPResponse& response) {
    const int32_t code = response.StatusCode();
    const int32_t kind = code / 100;
    if ((kind == 3 && code != 304) || !response.Location.empty()) {
        std::string location = response.Location;
        TNetHTTPMethod verb = Request.Verb;
        TNextStep next;
        if (HandleRedirects && redirectCount_ < RedirectMaximum) {
            if (!askRedirect(location, verb)) failWithStatus(response);
            next = TNextStep::FollowNext;
            Request.Target = redirectTarget(location);
            Request.Verb = verb;
        } else if (HandleRedirects && askRedirect(location, verb)) {
            // A chain that does not end is a failure, not an empty page.
            throw ENetProtocolError("Too many redirects.");
        } else {
            if (!askRedirect(location, verb)) failWithStatus(response);
            next = TNextStep::Finished;
            response.Location = location;
        }
        if (IsConnected()) discardBody(response);
        return next;
    }
    TNextStep next = TNextStep::Undecided;
    if (kind != 2) {
        next = TNextStep::FollowNext;
        if (code == 401) {
            if (authAttempts_ >= AuthRetries || !authorizeServer(response)) {
                if (Request.AuthScheme) Request.AuthScheme->ResetSteps();
                failWithStatus(response);
            }
        } else if (code == 407) {
            if (proxyAuthAttempts_ >= AuthRetries || !authorizeProxy(response)) {
                if (ProxyParams.Authentication()) ProxyParams.Authentication()->ResetSteps();
                failWithStatus(response);
            }
        } else {
            failWithStatus(response);
        }
    }
    if (IsConnected()) {
        if ((code == 401 || code == 407) && HTTPOptions.count(TNetHTTPOption::hoInProcessAuth)) {
            discardBody(response);
            return TNextStep::RetryWithAuth;
        }
        if (code != 204) readFinalBody(response);
        return TNextStep::Finished;
    }
    return next;
}

// Where a redirect leads, resolved against the address just asked for. Only http and https are followed: a
// server cannot send the client to a file, a script or another protocol.
std::string TNetCustomHTTP::redirectTarget(const std::string& location) {
    const std::string resolved = ResolveReference(currentUri_.ComposeFullUri({}), location);
    const std::string scheme = ReferenceScheme(resolved);
    if (!SameText(scheme, "http") && !SameText(scheme, "https")) throw ENetUnknownProtocol(scheme);
    return resolved;
}

bool TNetCustomHTTP::askRedirect(std::string& location, TNetHTTPMethod& verb) {
    bool handled = HandleRedirects;
    if (OnRedirect) {
        int32_t numRedirect = redirectCount_;
        OnRedirect(*this, location, numRedirect, handled, verb);
    }
    return handled;
}

// A body nobody will look at is read up to kMaxReplyBodyBytes; a longer one, or one that does not end
// cleanly, closes the connection instead, so that nothing of it can be taken for the next answer.
void TNetCustomHTTP::discardBody(TNetHTTPResponse& response) {
    TRestore<int32_t> timeout(ReadTimeout, kDiscardTimeoutMs);
    TNullStream nothing;
    TCappedStream capped(nothing, static_cast<int64_t>(kMaxReplyBodyBytes));
    TRestore<TNetStream*> target(response.BodyTarget, &capped);
    try {
        readBody(response);
    } catch (...) {
        CloseConnection();
    }
}

void TNetCustomHTTP::failWithStatus(TNetHTTPResponse& response) {
    TTextStream text;
    {
        TRestore<int32_t> timeout(ReadTimeout, kErrorBodyTimeoutMs);
        TCappedStream capped(text, static_cast<int64_t>(kMaxReplyBodyBytes));
        TRestore<TNetStream*> target(response.BodyTarget, &capped);
        try {
            readBody(response);
        } catch (const ENetConnClosedGracefully&) {
            // An error page cut short still reports its status, with the part of the page that arrived.
            CloseConnection();
        } catch (const TBodyCapReached&) {
            // The first part is kept; the rest is not read but cut off with the connection.
            CloseConnection();
        }
    }
    throw ENetHTTPProtocolException(PeerText(response.StatusLine), response.StatusCode(), text.Text());
}

void TNetCustomHTTP::readBody(TNetHTTPResponse& response) {
    TNetStream* target = response.BodyTarget;
    if (!target) return;
    if (isChunked(response)) {
        ReportStatus(TNetStatus::hsStatusText, "Chunk Started");
        for (int64_t size = readChunkSize(); size > 0; size = readChunkSize()) {
            ReadToStream(*target, size);
            if (!ReadLine().empty()) throw ENetProtocolError("Chunk data not followed by a line end.");
        }
        // Trailer lines up to the empty line are consumed too, so that none is taken for the next response
        // on a kept connection; they count toward the header cap.
        size_t trailers = 0;
        for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) {
            trailers += line.size() + 2;
            if (trailers > kMaxHeaderBlockBytes) throw ENetProtocolError("Response header too large.");
        }
    } else if (response.ContentLength > 0) {
        ReadToStream(*target, response.ContentLength);
    } else if (!response.LengthKnown()) {
        ReadToStream(*target, -1, true);
    }
}

// The body of the final answer into the caller's stream, within MaxBodyBytes when that is set.
void TNetCustomHTTP::readFinalBody(TNetHTTPResponse& response) {
    if (MaxBodyBytes <= 0 || !response.BodyTarget) {
        readBody(response);
        return;
    }
    TCappedStream capped(*response.BodyTarget, MaxBodyBytes);
    TRestore<TNetStream*> target(response.BodyTarget, &capped);
    try {
        readBody(response);
    } catch (const TBodyCapReached&) {
        throw ENetProtocolError("Response body larger than " + std::to_string(MaxBodyBytes) + " bytes.");
    }
}

// The size ends at the ";" of a chunk extension (RFC 9112 7.1.1), after optional blanks; anything else on the
// line (nothing at all, a sign, a blank inside, a letter that is no hex digit) makes the line unreadable,
// which fails the call instead of ending the body as if it were complete.
int64_t TNetCustomHTTP::readChunkSize() {
    const std::string line = ReadLine();
    const size_t digits = static_cast<size_t>(std::find_if_not(line.begin(), line.end(), isHex) - line.begin());
    const size_t rest = line.find_first_not_of(" \t", digits);
    if (digits == 0 || (digits < line.size() && (rest == std::string::npos || line[rest] != ';'))) {
        throw ENetProtocolError("Unreadable chunk size line: " + QuotedPeerText(line));
    }
    if (digits > kMaxChunkSizeDigits) {
        throw ENetProtocolError("Chunk size line " + QuotedPeerText(line) + " has more than 16 hex digits.");
    }
    uint64_t value = 0;
    for (size_t i = 0; i < digits; ++i) value = value * 16 + static_cast<uint64_t>(hexValue(line[i]));
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        throw ENetProtocolError("Chunk size line " + QuotedPeerText(line) + " does not fit.");
    }
    return static_cast<int64_t>(value);
}

const TNetAuthenticationClass* TNetCustomHTTP::chooseScheme(const TNetHeaderList& challenges,
                                                            const TNetOnSelectAuthorization& onSelect) {
    const TNetAuthenticationClass* chosen = nullptr;
    for (const std::string& value : challenges.Lines) {
        std::string challenge = value;
        chosen = FindScheme(TakeToken(challenge, " "));
        if (chosen) break;
    }
    if (chosen && onSelect) onSelect(*this, chosen, challenges);
    return chosen;
}

bool TNetCustomHTTP::askForCredentials(TNetAuthentication& scheme, std::string& username, std::string& password,
                                       const TNetHeaderList& challenges, const TNetOnAuthorization& onAuthorize,
                                       bool* basicAuthentication) {
    scheme.SetUsername(username);
    scheme.SetPassword(password);
    scheme.SetChallenge(challenges.Lines);
    // A handler that accepts without ever giving a user name would be asked for ever; it gets as many
    // chances as a call has attempts.
    for (int32_t asked = 0; asked <= AuthRetries; ++asked) {
        switch (scheme.NextStep()) {
            case TNetAuthWhatsNext::SendNow:
                return true;
            case TNetAuthWhatsNext::GiveUp:
                return false;
            case TNetAuthWhatsNext::AskCaller: {
                scheme.SetUsername(username);
                scheme.SetPassword(password);
                bool handled = false;
                onAuthorize(*this, scheme, handled);
                if (!handled) return false;
                if (basicAuthentication) *basicAuthentication = true;
                username = scheme.Username();
                password = scheme.Password();
                break;
            }
        }
    }
    return false;
}

// A scheme is made only when a handler takes up the challenge: one made for nothing would send an
// "Authorization" with empty credentials on every later request.
bool TNetCustomHTTP::authorizeServer(TNetHTTPResponse& response) {
    ++authAttempts_;
    std::unique_ptr<TNetAuthentication> fresh;
    if (!Request.AuthScheme) {
        const TNetAuthenticationClass* chosen = chooseScheme(response.WWWAuthenticate, OnSelectAuthorization);
        if (!chosen || !OnAuthorization) return false;
        fresh = chosen->Create();
    }
    if (!OnAuthorization) return false;
    TNetAuthentication& scheme = fresh ? *fresh : *Request.AuthScheme;
    if (!askForCredentials(scheme, Request.Username, Request.Password, response.WWWAuthenticate, OnAuthorization,
                           &Request.BasicAuthentication)) {
        return false;
    }
    if (fresh) Request.AuthScheme = std::move(fresh);
    authHost_ = currentUri_.Host;
    return true;
}

bool TNetCustomHTTP::authorizeProxy(TNetHTTPResponse& response) {
    ++proxyAuthAttempts_;
    std::unique_ptr<TNetAuthentication> fresh;
    if (!ProxyParams.Authentication()) {
        const TNetAuthenticationClass* chosen = chooseScheme(response.ProxyAuthenticate, OnSelectProxyAuthorization);
        if (!chosen || !OnProxyAuthorization) return false;
        fresh = chosen->Create();
    }
    if (!OnProxyAuthorization) return false;
    TNetAuthentication& scheme = fresh ? *fresh : *ProxyParams.Authentication();
    ProxyParams.ProxyPassword.clear();
    scheme.ResetSteps();
    if (!askForCredentials(scheme, ProxyParams.ProxyUsername, ProxyParams.ProxyPassword, response.ProxyAuthenticate,
                           OnProxyAuthorization, nullptr)) {
        return false;
    }
    if (fresh) ProxyParams.SetAuthentication(std::move(fresh));
    return true;
}

void TNetCustomHTTP::DoDisconnected() {
    if (Request.AuthScheme && Request.AuthScheme->StepsDone >= Request.AuthScheme->StepCount()) {
        if (AuthenticationManager) AuthenticationManager->AddAuthentication(*Request.AuthScheme, currentUri_);
        Request.AuthScheme.reset();
    }
    if (ProxyParams.Authentication()) ProxyParams.Authentication()->ResetSteps();
    TNetTCPConnection::DoDisconnected();
}

}  // namespace dorvanel::http
