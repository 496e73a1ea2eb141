#pragma once
// The typed header records: they write their fields as header lines before a request is sent and fill them
// from the lines of a response. The engine keeps one request, one response and one proxy record.
#include <cstdint>
#include <memory>
#include <string>

#include "http/authentication.h"
#include "http/header_list.h"
#include "http/http_date.h"

namespace dorvanel::http {

class TNetEntityHeaderInfo {
public:
    TNetEntityHeaderInfo();
    virtual ~TNetEntityHeaderInfo() = default;

    std::string CacheControl;
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    int64_t ContentLength = -1;  // -1: no length
    uint32_t ContentRangeEnd = 0;
    uint32_t ContentRangeStart = 0;
    std::string ContentType;
    std::string ContentVersion;
    TNetHeaderList CustomHeaders;
    TDateTime Date = 0;
    TDateTime Expires = 0;
    TDateTime LastModified = 0;
    std::string Pragma;

    // The lines written or read; folded at column 1024.
    TNetHeaderList HeaderLines;

    // A content length of 0 or more was set or read.
    bool LengthKnown() const { return ContentLength >= 0; }

    virtual void ResetFields();
    virtual void WriteToLines();
    virtual void ReadFromLines();

protected:
    void resetEntity();
    void writeEntityLines();
    void readEntityLines();
};

class TNetRequestHeaderInfo : public TNetEntityHeaderInfo {
public:
    TNetRequestHeaderInfo();

    std::string Accept;
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    bool BasicAuthentication = false;
    std::string Host;
    std::string From;
    std::string Password;
    std::string Referer;
    std::string UserAgent;
    std::string Username;
    std::string ProxyConnection;
    // The current scheme; the record owns it.
    std::unique_ptr<TNetAuthentication> AuthScheme;

    void ResetFields() override;
    void WriteToLines() override;
};

class TNetResponseHeaderInfo : public TNetEntityHeaderInfo {
public:
    TNetResponseHeaderInfo();

    std::string Location;
    std::string Server;
    std::string ProxyConnection;
    TNetHeaderList WWWAuthenticate;
    TNetHeaderList ProxyAuthenticate;

    void ResetFields() override;
    // Fails with ENetConvertError when "Content-Range" holds a bound that is not a decimal integer.
    void ReadFromLines() override;
};

class TNetProxyConnectionInfo {
public:
    bool BasicAuthentication = false;
    std::string ProxyPassword;
    std::string ProxyUsername;

    const std::string& ProxyServer() const { return proxyServer_; }
    int32_t ProxyPort() const { return proxyPort_; }
    // Moving to another server (compared without case) or port drops the current scheme.
    void SetProxyServer(const std::string& value);
    void SetProxyPort(int32_t value);

    TNetAuthentication* Authentication() const { return authentication_.get(); }
    void SetAuthentication(std::unique_ptr<TNetAuthentication> value) { authentication_ = std::move(value); }

    // Adds "Proxy-Authorization" to the request's lines when there is something to send.
    void WriteToLines(TNetHeaderList& lines);
    void ResetFields();

private:
    std::string proxyServer_;
    int32_t proxyPort_ = 0;
    std::unique_ptr<TNetAuthentication> authentication_;
};

}  // namespace dorvanel::http
