#include "http/http_client.h"

#include <algorithm>
#include <limits>

#include "http/chunked_reader.h"
#include "http/exceptions.h"
#include "http/net_text.h"
#include "http/peer_text.h"
#include "http/stream_adapters.h"

namespace dorvanel::http {

namespace {}  // namespace

int32_t PortNumber(const std::string& text) {
    int32_t port = 0;
    if (!ReadInt32(text, port)) throw ENetConvertError(text);
    if (port < 1 || port > 65535) throw ENetURIException("Port out of range: " + QuotedPeerText(text));
    return port;
}

std::string OriginOf(const TNetURI& uri) {
    return common::LowerCase(uri.Protocol) + "://" + common::LowerCase(uri.Host) + ":" + uri.PortText;
}

namespace {

bool isControlByte(char c, bool tabAllowed) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && !(tabAllowed && byte == '\t')) || byte == 0x7F;
}

}  // namespace

// A status line is "HTTP/1.", a digit, a blank and three digits, then a blank and the reason, or nothing.
bool IsStatusLine(const std::string& line) {
    auto digit = [&](size_t i) { return i < line.size() && line[i] >= '0' && line[i] <= '9'; };
    return line.rfind("HTTP/1.", 0) == 0 && digit(7) && line.size() >= 12 && line[8] == ' ' && digit(9) && digit(10) &&
           digit(11) && (line.size() == 12 || line[12] == ' ');
}

namespace {

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
    // Credentials the caller gave go to the origin the caller named; credentials a challenge obtained stay
    // with the origin that asked for them, unless the caller names new ones in the address.
    const bool loginInUrl = !TNetURI(url).LoginName.empty();
    bool firstTarget = true;
    bool retried = false;
    try {
        bool done = false;
        while (!done) {
            ++redirectCount_;
            prepareTarget();
            if (firstTarget && (!credentialsFromChallenge_ || loginInUrl)) {
                authOrigin_ = OriginOf(currentUri_);
                credentialsFromChallenge_ = false;
            }
            firstTarget = false;
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
    bool headWhole = false;
    int interim = 0;
    size_t interimBytes = 0;
    while (true) {
        if (!IsStatusLine(response_.StatusLine)) {
            throw ENetProtocolError("Invalid status line: " + QuotedPeerText(response_.StatusLine));
        }
        bool whole = false;
        const size_t headBytes = readResponseHead(response_, &whole);
        headWhole = whole;
        if (response_.StatusCode() / 100 != 1) break;
        interimBytes += response_.StatusLine.size() + 2 + headBytes;
        if (++interim > kMaxInterimAnswers || interimBytes > kMaxHeaderBlockBytes) {
            throw ENetProtocolError("Too many interim answers.");
        }
        response_.StatusLine = ReadLine();
    }
    checkFraming(response_);
    // A head cut off by a close may lack the attributes that limit a cookie (a Secure or Path line that
    // never came): nothing of it is stored.
    if (headWhole) storeCookies(response_);
}

// The framing of a body (RFC 9112 6.3): "Transfer-Encoding" is a comma-separated list of codings over all its
// lines, compared without case. Chunked as the last coding frames the body and wins over a length; any
// other last coding leaves the body to run until the close, whatever a length says; without the header the
// length lines must agree. A token that merely contains "chunked" is another coding.
// Why so strict: a proxy in between frames the answer by these same rules, and a client that read only the
// first line, or found "chunked" inside another word, would take another body than the proxy passed on; the
// bytes after it would then be read as the next answer, which lets a peer plant an answer for a later request.
TNetCustomHTTP::TFraming TNetCustomHTTP::framingOf(const TNetHTTPResponse& response) {
    std::vector<std::string> values;
    response.HeaderLines.CollectValues("Transfer-Encoding", values);
    std::string last;
    for (const std::string& value : values) {
        std::string rest = value;
        while (!rest.empty()) {
            const std::string coding = Trim(TakeToken(rest, ","));
            if (!coding.empty()) last = coding;
        }
    }
    if (values.empty()) return TFraming::ByLength;
    return SameText(last, "chunked") ? TFraming::Chunked : TFraming::UntilClose;
}

void TNetCustomHTTP::checkFraming(TNetHTTPResponse& response) {
    switch (framingOf(response)) {
        case TFraming::Chunked:
            return;
        case TFraming::UntilClose:
            response.ContentLength = -1;
            return;
        case TFraming::ByLength:
            response.ContentLength = announcedLength(response.HeaderLines);
            return;
    }
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
    PortNumber(currentUri_.PortText);
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

void TNetCustomHTTP::sendRequestHead(TNetHTTPRequest& request, TNetURI* uri, bool toProxy) {
    request.WriteToLines();
    if (uri && OriginOf(*uri) != authOrigin_) {
        // This origin (scheme, host and port) was not the one the credentials were meant for: no
        // "Authorization" goes to it, and no scheme made from the credentials stays behind.
        request.HeaderLines.SetHeaderValue("Authorization", "");
        request.AuthScheme.reset();
    }
    // The proxy's credentials are for the proxy: on a CONNECT and on a plain request it forwards, never
    // inside a tunnel, where the server would read them.
    if (toProxy) ProxyParams.WriteToLines(request.HeaderLines);
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

size_t TNetCustomHTTP::readResponseHead(TNetHTTPResponse& response, bool* whole) {
    response.HeaderLines.Clear();
    size_t total = 0;
    if (whole) *whole = false;
    try {
        while (true) {
            std::string line = ReadLine();
            if (line.empty()) break;
            total += line.size() + 2;
            if (total > kMaxHeaderBlockBytes) throw ENetProtocolError("Response header too large.");
            response.HeaderLines.Add(line);
        }
        if (whole) *whole = true;
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
    const std::string base = currentUri_.ComposeFullUri({});
    std::string reference = location;
    const std::string scheme = ReferenceScheme(location);
    const bool web = SameText(scheme, "http") || SameText(scheme, "https");
    // "https:next" names its scheme without an authority. Under the base's own scheme it is the relative
    // reference it would be without the scheme (RFC 3986 5.2.2, the non-strict reading browsers share);
    // under another scheme it is an address of that scheme with no host, which cannot be asked.
    if (web && location.compare(scheme.size() + 1, 2, "//") != 0) {
        if (!SameText(scheme, ReferenceScheme(base))) {
            throw ENetURIException("Redirect to an address without a host: " + QuotedPeerText(location));
        }
        reference = location.substr(scheme.size() + 1);
    }
    const std::string resolved = ResolveReference(base, reference);
    const std::string resolvedScheme = ReferenceScheme(resolved);
    if (!SameText(resolvedScheme, "http") && !SameText(resolvedScheme, "https")) {
        throw ENetUnknownProtocol(resolvedScheme);
    }
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
    if (framingOf(response) == TFraming::Chunked) {
        readChunkedBody(*target);
    } else if (response.ContentLength > 0) {
        ReadToStream(*target, response.ContentLength);
    } else if (!response.LengthKnown()) {
        ReadToStream(*target, -1, true);
    }
}

// The framing is parsed from what arrives; chunk data is moved into the stream by the connection's counted
// reads, so a large chunk streams with its work events as a body with a length does.
void TNetCustomHTTP::readChunkedBody(TNetStream& target) {
    ReportStatus(TNetStatus::hsStatusText, "Chunk Started");
    const size_t lineLimit =
        MaxLineLength > 0 ? static_cast<size_t>(MaxLineLength) : std::numeric_limits<size_t>::max();
    TNetChunkedReader reader(lineLimit, kMaxHeaderBlockBytes);
    while (!reader.Done()) {
        if (const int64_t data = reader.DataRemaining(); data > 0) {
            ReadToStream(target, data);
            reader.SkipData(data);
            continue;
        }
        const std::string_view input = BufferedInput();
        const size_t used = input.empty() ? 0 : reader.Feed(input, {});
        if (used > 0) {
            TakeInput(used);
        } else if (!reader.Done()) {
            WaitForMoreInput();
        }
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

TNetSelectScheme TNetCustomHTTP::selectWith(const TNetOnSelectAuthorization& onSelect) {
    if (!onSelect) return {};
    return [this, &onSelect](const TNetAuthenticationClass*& chosen, const TNetHeaderList& challenges) {
        onSelect(*this, chosen, challenges);
    };
}

TNetAskCredentials TNetCustomHTTP::askWith(const TNetOnAuthorization& onAuthorize) {
    return [this, &onAuthorize](TNetAuthentication& scheme, bool& handled) { onAuthorize(*this, scheme, handled); };
}

// A scheme is made only when a handler takes up the challenge: one made for nothing would send an
// "Authorization" with empty credentials on every later request.
bool TNetCustomHTTP::authorizeServer(TNetHTTPResponse& response) {
    ++authAttempts_;
    std::unique_ptr<TNetAuthentication> fresh;
    if (!Request.AuthScheme) {
        const TNetAuthenticationClass* chosen =
            ChooseScheme(response.WWWAuthenticate, selectWith(OnSelectAuthorization));
        if (!chosen || !OnAuthorization) return false;
        fresh = chosen->Create();
    }
    if (!OnAuthorization) return false;
    TNetAuthentication& scheme = fresh ? *fresh : *Request.AuthScheme;
    if (!NegotiateCredentials(scheme, Request.Username, Request.Password, response.WWWAuthenticate,
                              askWith(OnAuthorization), AuthRetries, &Request.BasicAuthentication)) {
        return false;
    }
    if (fresh) Request.AuthScheme = std::move(fresh);
    // What the challenge brought belongs to the origin that asked.
    authOrigin_ = OriginOf(currentUri_);
    credentialsFromChallenge_ = true;
    return true;
}

bool TNetCustomHTTP::authorizeProxy(TNetHTTPResponse& response) {
    ++proxyAuthAttempts_;
    std::unique_ptr<TNetAuthentication> fresh;
    if (!ProxyParams.Authentication()) {
        const TNetAuthenticationClass* chosen =
            ChooseScheme(response.ProxyAuthenticate, selectWith(OnSelectProxyAuthorization));
        if (!chosen || !OnProxyAuthorization) return false;
        fresh = chosen->Create();
    }
    if (!OnProxyAuthorization) return false;
    TNetAuthentication& scheme = fresh ? *fresh : *ProxyParams.Authentication();
    ProxyParams.ProxyPassword.clear();
    scheme.ResetSteps();
    if (!NegotiateCredentials(scheme, ProxyParams.ProxyUsername, ProxyParams.ProxyPassword, response.ProxyAuthenticate,
                              askWith(OnProxyAuthorization), AuthRetries)) {
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
