#include "http/header_info.h"

#include "http/exceptions.h"
#include "http/net_text.h"
#include "http/uri.h"

namespace dorvanel::http {

namespace {

constexpr int kRecordWrapColumn = 1024;

// Sets the line only when there is something to say.
void setIfAny(TNetHeaderList& lines, const char* name, const std::string& value) {
    if (!value.empty()) lines.SetHeaderValue(name, value);
}

void setDateIfAny(TNetHeaderList& lines, const char* name, TDateTime value) {
    if (value > 0) lines.SetHeaderValue(name, FormatHttpDate(value));
}

// A length is digits only (RFC 9110 8.6), read into 64 bits: a sign, a blank inside or a value past the
// range gives -1, as an absent length does; the engine fails such a response before reading a body.
int64_t lengthOrNone(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    int64_t value = -1;
    return ReadInt64(text, value) ? value : -1;
}

uint32_t rangeBound(const std::string& text) {
    int64_t value = 0;
    if (!ReadInt64(text, value) || value < 0 || value > UINT32_MAX) throw ENetConvertError(text);
    return static_cast<uint32_t>(value);
}

// An "Authorization" value from the current scheme, or from a Basic scheme made from the credentials when
// there is none and Basic is asked for.
std::string authorizationFrom(std::unique_ptr<TNetAuthentication>& scheme, bool basic, const std::string& username,
                              const std::string& password) {
    if (scheme) return scheme->AuthorizationValue();
    if (!basic) return {};
    scheme = std::make_unique<TNetBasicAuthentication>();
    scheme->SetUsername(username);
    scheme->SetPassword(password);
    return scheme->AuthorizationValue();
}

}  // namespace

TNetEntityHeaderInfo::TNetEntityHeaderInfo() {
    HeaderLines.WrapColumn = kRecordWrapColumn;
    resetEntity();
}

void TNetEntityHeaderInfo::resetEntity() {
    Connection.clear();
    ContentEncoding.clear();
    ContentLanguage.clear();
    ContentLength = -1;
    ContentRangeEnd = 0;
    ContentRangeStart = 0;
    ContentType = "text/html";
    ContentVersion.clear();
    Date = 0;
    Expires = 0;
    LastModified = 0;
}

void TNetEntityHeaderInfo::ResetFields() { resetEntity(); }

void TNetEntityHeaderInfo::writeEntityLines() {
    HeaderLines.Clear();
    setIfAny(HeaderLines, "Connection", Connection);
    setIfAny(HeaderLines, "Content-Version", ContentVersion);
    setIfAny(HeaderLines, "Content-Encoding", ContentEncoding);
    setIfAny(HeaderLines, "Content-Language", ContentLanguage);
    setIfAny(HeaderLines, "Content-Type", ContentType);
    if (ContentLength >= 0) HeaderLines.SetHeaderValue("Content-Length", std::to_string(ContentLength));
    setIfAny(HeaderLines, "Cache-control", CacheControl);
    setDateIfAny(HeaderLines, "Date", Date);
    setDateIfAny(HeaderLines, "Expires", Expires);
    setIfAny(HeaderLines, "Pragma", Pragma);
    // Custom lines go after ours as they are, unfolded.
    HeaderLines.Lines.insert(HeaderLines.Lines.end(), CustomHeaders.Lines.begin(), CustomHeaders.Lines.end());
}

void TNetEntityHeaderInfo::WriteToLines() { writeEntityLines(); }

void TNetEntityHeaderInfo::readEntityLines() {
    Connection = HeaderLines.ValueOf("Connection");
    ContentVersion = HeaderLines.ValueOf("Content-Version");
    ContentEncoding = HeaderLines.ValueOf("Content-Encoding");
    ContentLanguage = HeaderLines.ValueOf("Content-Language");
    ContentType = HeaderLines.ValueOf("Content-Type");
    ContentLength = lengthOrNone(Trim(HeaderLines.ValueOf("Content-Length")));
    Date = ParseHttpDate(HeaderLines.ValueOf("Date"));
    LastModified = ParseHttpDate(HeaderLines.ValueOf("Last-Modified"));
    const std::string expires = HeaderLines.ValueOf("Expires");
    int32_t seconds = 0;
    Expires = ReadInt32(expires, seconds) ? Now() + seconds / 86400.0 : ParseHttpDate(expires);
    Pragma = HeaderLines.ValueOf("Pragma");
}

void TNetEntityHeaderInfo::ReadFromLines() { readEntityLines(); }

// Request lines are never folded: an old server may not join a folded line again, and a long "Cookie" line
// must arrive whole.
TNetRequestHeaderInfo::TNetRequestHeaderInfo() {
    HeaderLines.WrapOnSet = false;
    ResetFields();
}

void TNetRequestHeaderInfo::ResetFields() {
    Accept = "text/html, */*";
    AcceptCharSet.clear();
    UserAgent = "Mozilla/3.0 (compatible; Dorvanel)";
    BasicAuthentication = false;
    resetEntity();
}

void TNetRequestHeaderInfo::WriteToLines() {
    writeEntityLines();
    setIfAny(HeaderLines, "Proxy-Connection", ProxyConnection);
    setIfAny(HeaderLines, "Host", Host);
    setIfAny(HeaderLines, "Accept", Accept);
    setIfAny(HeaderLines, "Accept-Charset", AcceptCharSet);
    setIfAny(HeaderLines, "Accept-Encoding", AcceptEncoding);
    setIfAny(HeaderLines, "Accept-Language", AcceptLanguage);
    setIfAny(HeaderLines, "From", From);
    setIfAny(HeaderLines, "Referer", Referer);
    setIfAny(HeaderLines, "User-Agent", UserAgent);
    setDateIfAny(HeaderLines, "If-Modified-Since", LastModified);
    if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
        std::string range = "bytes=" + std::to_string(ContentRangeStart) + "-";
        if (ContentRangeEnd != 0) range += std::to_string(ContentRangeEnd);
        HeaderLines.SetHeaderValue("Range", range);
    }
    setIfAny(HeaderLines, "Authorization", authorizationFrom(AuthScheme, BasicAuthentication, Username, Password));
}

TNetResponseHeaderInfo::TNetResponseHeaderInfo() { ResetFields(); }

void TNetResponseHeaderInfo::ResetFields() {
    resetEntity();
    Location.clear();
    Server.clear();
    WWWAuthenticate.Clear();
    ProxyAuthenticate.Clear();
}

void TNetResponseHeaderInfo::ReadFromLines() {
    Location = HeaderLines.ValueOf("Location");
    Server = HeaderLines.ValueOf("Server");
    ProxyConnection = HeaderLines.ValueOf("Proxy-Connection");
    if (HeaderLines.FindHeader("Content-Range") >= 0) {
        std::string range = HeaderLines.ValueOf("Content-Range");
        TakeToken(range, " ");
        ContentRangeStart = rangeBound(TakeToken(range, "-"));
        ContentRangeEnd = rangeBound(TakeToken(range, "/"));
    }
    WWWAuthenticate.Clear();
    HeaderLines.CollectValues("WWW-Authenticate", WWWAuthenticate.Lines);
    ProxyAuthenticate.Clear();
    HeaderLines.CollectValues("Proxy-Authenticate", ProxyAuthenticate.Lines);
    readEntityLines();
}

void TNetProxyConnectionInfo::SetProxyServer(const std::string& value) {
    if (!SameText(value, proxyServer_)) authentication_.reset();
    proxyServer_ = value;
}

void TNetProxyConnectionInfo::SetProxyPort(int32_t value) {
    if (value != proxyPort_) authentication_.reset();
    proxyPort_ = value;
}

void TNetProxyConnectionInfo::WriteToLines(TNetHeaderList& lines) {
    setIfAny(lines, "Proxy-Authorization",
             authorizationFrom(authentication_, BasicAuthentication, ProxyUsername, ProxyPassword));
}

void TNetProxyConnectionInfo::ResetFields() {
    BasicAuthentication = false;
    ProxyPassword.clear();
    proxyPort_ = 0;
    proxyServer_.clear();
    ProxyUsername.clear();
    authentication_.reset();
}

}  // namespace dorvanel::http
