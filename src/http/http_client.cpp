#include "http/http_client.h"

#include <algorithm>
#include <limits>

#include "http/exceptions.h"
#include "http/net_text.h"

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

// The text of an error body: keeps the first `cap` bytes and reads the rest into nothing, so that a hostile
// error page cannot fill the memory.
class TCappedTextStream : public TNetStream {
public:
    explicit TCappedTextStream(size_t cap) : cap_(cap) {}
    int64_t Read(void*, int64_t) override { return 0; }
    void Write(const void* buffer, int64_t count) override {
        const auto keep = static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(cap_ - text_.size())));
        text_.append(static_cast<const char*>(buffer), keep);
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
    size_t cap_;
    std::string text_;
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
    return port;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

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
    if (owner_.ProtocolVersion == TNetHTTPProtocolVersion::pv1_0) {
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
    try {
        bool done = false;
        while (!done) {
            ++redirectCount_;
            prepareTarget();
            openRoute();
            do {
                response_.StatusLine = ReadLine();
                readResponseHead(response_);
                storeCookies(response_);
            } while (response_.StatusCode() == 100);
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

// The target holds the last body only: bytes of an earlier, longer body (a redirect's) past it go.
void TNetCustomHTTP::cutTarget(TNetStream* target) {
    if (target && target->Size() > target->Position()) target->SetSize(target->Position());
}

// On the way out of a failure, whose report matters more than a stream that cannot be cut.
void TNetCustomHTTP::cutTargetQuietly(TNetStream* target) {
    try {
        cutTarget(target);
    } catch (...) {
    }
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
    if (!target.Host.empty()) currentUri_.Host = target.Host;
    currentUri_.Protocol = target.Protocol.empty() ? std::string("http") : target.Protocol;
    if (!target.PortText.empty()) {
        currentUri_.PortText = target.PortText;
    } else {
        const int32_t current = Int32Or(currentUri_.PortText, 0);
        if (current == 0 || current == 80 || current == 443) {
            if (SameText(currentUri_.Protocol, "http")) {
                currentUri_.PortText = "80";
            } else if (SameText(currentUri_.Protocol, "https")) {
                currentUri_.PortText = "443";
            } else {
                throw ENetUnknownProtocol();
            }
        }
    }
    Request.Target = currentUri_.RequestTarget();
    if (Request.Verb == TNetHTTPMethod::hmOptions && target.DocName == "*") Request.Target = "*";
    const bool needs11 = Request.Verb == TNetHTTPMethod::hmOptions || Request.Verb == TNetHTTPMethod::hmTrace ||
                         Request.Verb == TNetHTTPMethod::hmPut || Request.Verb == TNetHTTPMethod::hmDelete;
    if (needs11 && ProtocolVersion != TNetHTTPProtocolVersion::pv1_1) {
        throw ENetException("This request method is supported in HTTP 1.1");
    }
    const bool hasBody = Request.Verb == TNetHTTPMethod::hmPost || Request.Verb == TNetHTTPMethod::hmPut;
    Request.ContentLength = hasBody && Request.BodySource ? static_cast<int32_t>(Request.BodySource->Size()) : -1;
    Request.Host = currentUri_.Host + (currentUri_.PortText != "80" ? ":" + currentUri_.PortText : std::string());
}

TNetHTTPRoute TNetCustomHTTP::chooseRoute() {
    const bool https = SameText(currentUri_.Protocol, "HTTPS");
    const bool tls = IOHandler && IOHandler->IsTLSHandler();
    if (ProxyParams.ProxyServer().empty()) {
        const int32_t port = portNumber(currentUri_.PortText);
        if (!SameText(Host, currentUri_.Host) || Port != port) {
            if (IsConnected()) CloseConnection();
            Host = currentUri_.Host;
            Port = port;
        }
        if (https) {
            if (!tls) throw ENetIOHandlerPropInvalid();
            return TNetHTTPRoute::SecureRoute;
        }
        return TNetHTTPRoute::DirectRoute;
    }
    if (Host != ProxyParams.ProxyServer() || Port != ProxyParams.ProxyPort()) {
        if (IsConnected()) CloseConnection();
        Host = ProxyParams.ProxyServer();
        Port = ProxyParams.ProxyPort();
    }
    if (https) {
        // The tunnel needs a transport that can switch to TLS once the proxy has opened it.
        if (!tls) throw ENetIOHandlerPropInvalid();
        return TNetHTTPRoute::SecureProxyRoute;
    }
    return TNetHTTPRoute::ProxyRoute;
}

void TNetCustomHTTP::openRoute() {
    Request.Route = chooseRoute();
    if (Request.Route == TNetHTTPRoute::ProxyRoute) Request.Target = currentUri_.ComposeUri();
    if (ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 && Request.Connection.empty()) {
        if (Request.Route == TNetHTTPRoute::DirectRoute) Request.Connection = "keep-alive";
        if (Request.Route == TNetHTTPRoute::ProxyRoute) Request.ProxyConnection = "keep-alive";
    }
    if (Request.Route == TNetHTTPRoute::SecureRoute || Request.Route == TNetHTTPRoute::SecureProxyRoute) {
        Request.Connection.clear();
    }
    if (Request.Route == TNetHTTPRoute::SecureProxyRoute) openTunnel();
    ensureConnected();
    sendRequestHead(Request, &currentUri_);
    if ((Request.Verb == TNetHTTPMethod::hmPost || Request.Verb == TNetHTTPMethod::hmPut) && Request.BodySource) {
        WriteFromStream(*Request.BodySource, true, 0, false);
    }
}

// Only reachable with a TLS transport attached, which this program never does; the tunnel request is built
// and answered as for any other exchange, and the transport is then expected to take over.
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
            storeCookies(answer);
        }
        if (answer.StatusCode() == 200) return;
        decideNextStep(answer);
    }
    throw ENetIOHandlerPropInvalid();
}

void TNetCustomHTTP::ensureConnected() {
    if (!response_.KeepsConnection()) CloseConnection();
    PollPeerClosed(false);
    if (!IsConnected()) OpenConnection(ReadTimeout);
}

void TNetCustomHTTP::sendRequestHead(TNetHTTPRequest& request, TNetURI* uri) {
    request.WriteToLines();
    ProxyParams.WriteToLines(request.HeaderLines);
    if (uri && cookieManager_) {
        const std::string cookies = cookieManager_->CookieHeaderFor(*uri, IOHandler && IOHandler->IsTLSHandler());
        if (!cookies.empty()) request.HeaderLines.SetHeaderValue("Cookie", cookies);
    }
    const char* version = ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    BeginBufferedWrite();
    try {
        WriteLine(MethodWord(request.Verb) + request.Target + " HTTP/" + version);
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

void TNetCustomHTTP::readResponseHead(TNetHTTPResponse& response) {
    response.HeaderLines.Clear();
    size_t total = 0;
    try {
        while (true) {
            std::string line = ReadLine();
            if (line.empty()) break;
            total += line.size() + 2;
            if (total > kMaxHeaderBlockBytes) throw ENetException("Response header too large.");
            response.HeaderLines.Add(line);
        }
    } catch (const ENetConnClosedGracefully&) {
        CloseConnection();
    }
    response.ReadFromLines();
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
            Request.Target = location;
            Request.Verb = verb;
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
        if (code != 204) readBody(response);
        return TNextStep::Finished;
    }
    return next;
}

bool TNetCustomHTTP::askRedirect(std::string& location, TNetHTTPMethod& verb) {
    bool handled = HandleRedirects;
    if (OnRedirect) {
        int32_t numRedirect = redirectCount_;
        OnRedirect(*this, location, numRedirect, handled, verb);
    }
    return handled;
}

void TNetCustomHTTP::discardBody(TNetHTTPResponse& response) {
    TRestore<int32_t> timeout(ReadTimeout, kDiscardTimeoutMs);
    TNullStream nothing;
    TRestore<TNetStream*> target(response.BodyTarget, &nothing);
    try {
        readBody(response);
    } catch (...) {
        // A body nobody will look at may end any way it likes.
    }
}

void TNetCustomHTTP::failWithStatus(TNetHTTPResponse& response) {
    TCappedTextStream text(kMaxReplyBodyBytes);
    {
        TRestore<int32_t> timeout(ReadTimeout, kErrorBodyTimeoutMs);
        TRestore<TNetStream*> target(response.BodyTarget, &text);
        try {
            readBody(response);
        } catch (const ENetConnClosedGracefully&) {
            // An error page cut short still reports its status, with the part of the page that arrived.
        }
    }
    throw ENetHTTPProtocolException(response.StatusLine, response.StatusCode(), text.Text());
}

void TNetCustomHTTP::readBody(TNetHTTPResponse& response) {
    TNetStream* target = response.BodyTarget;
    if (!target) return;
    if (response.ContentLength > 0) {
        ReadToStream(*target, response.ContentLength);
    } else if (response.HeaderLines.ValueOf("Transfer-Encoding").find("chunked") != std::string::npos) {
        ReportStatus(TNetStatus::hsStatusText, "Chunk Started");
        for (int64_t size = readChunkSize(); size > 0; size = readChunkSize()) {
            ReadToStream(*target, size);
            ReadLine();
        }
        // Trailer lines up to the empty line are consumed too, so that none is taken for the next response
        // on a kept connection.
        while (!ReadLine().empty()) {
        }
    } else if (!response.LengthKnown()) {
        ReadToStream(*target, -1, true);
    }
}

int64_t TNetCustomHTTP::readChunkSize() {
    const std::string line = ReadLine();
    // The size ends at a space, or at the ";" of a chunk extension (RFC 9112 7.1.1), which would otherwise
    // make the size unreadable and end the body early as if it were complete.
    const size_t end = line.find_first_of(" ;");
    const std::string digits = line.substr(0, end);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isHex)) return 0;
    if (digits.size() > kMaxChunkSizeDigits) {
        throw ENetException("Chunk size line '" + line.substr(0, 40) + "' has more than 16 hex digits.");
    }
    uint64_t value = 0;
    for (const char digit : digits) value = value * 16 + static_cast<uint64_t>(hexValue(digit));
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        throw ENetException("Chunk size line '" + line.substr(0, 40) + "' does not fit.");
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

bool TNetCustomHTTP::authorizeServer(TNetHTTPResponse& response) {
    ++authAttempts_;
    if (!Request.AuthScheme) {
        const TNetAuthenticationClass* chosen = chooseScheme(response.WWWAuthenticate, OnSelectAuthorization);
        if (!chosen) return false;
        Request.AuthScheme = chosen->Create();
    }
    if (!OnAuthorization) return false;
    return askForCredentials(*Request.AuthScheme, Request.Username, Request.Password, response.WWWAuthenticate,
                             OnAuthorization, &Request.BasicAuthentication);
}

bool TNetCustomHTTP::authorizeProxy(TNetHTTPResponse& response) {
    ++proxyAuthAttempts_;
    if (!ProxyParams.Authentication()) {
        const TNetAuthenticationClass* chosen = chooseScheme(response.ProxyAuthenticate, OnSelectProxyAuthorization);
        if (!chosen) return false;
        ProxyParams.SetAuthentication(chosen->Create());
    }
    if (!OnProxyAuthorization) return false;
    ProxyParams.ProxyPassword.clear();
    ProxyParams.Authentication()->ResetSteps();
    return askForCredentials(*ProxyParams.Authentication(), ProxyParams.ProxyUsername, ProxyParams.ProxyPassword,
                             response.ProxyAuthenticate, OnProxyAuthorization, nullptr);
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
