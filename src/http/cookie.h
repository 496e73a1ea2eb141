#pragma once
// One cookie as received in a "Set-cookie" or "Set-cookie2" header. Three flavours share one class line:
// the Netscape format, RFC 2109 (every "Set-cookie") and RFC 2965 (every "Set-cookie2").
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "http/http_date.h"

namespace dorvanel::http {

class TNetNetscapeCookie {
public:
    virtual ~TNetNetscapeCookie() = default;

    std::string CookieName;
    std::string CookieValue;  // a cookie with an empty value is never sent
    std::string DomainText;
    std::string PathText;
    std::string ExpiresText;  // empty: the cookie does not expire
    bool IsSecure = false;
    std::string SourceText;  // the last text parsed into this cookie
    uint8_t Flavor = 0;      // 0 Netscape, 1 RFC 2109, 2 RFC 2965
    // What "now" is when an expiry is worked out; the jar hands each cookie its own clock.
    std::function<TDateTime()> Clock = Now;

    // Reads name, value and attributes from a header value; the same text twice in a row is read once.
    void ParseCookieText(const std::string& text);
    // Reads the attribute items (names upper-cased) that followed the name and value.
    virtual void ApplyAttributes(const std::vector<std::string>& items);
    // Whether a cookie with this domain may come from `host`.
    bool MatchesOrigin(const std::string& host) const;
    // The cookie as a "Set-cookie" text.
    virtual std::string ServerForm() const;
    // "name=value", as the "Cookie" header carries it.
    std::string ClientForm() const { return CookieName + "=" + CookieValue; }
    virtual void SetExpires(const std::string& text) { ExpiresText = text; }

protected:
    // The value of the item `NAME=value`, or empty.
    static std::string attribute(const std::vector<std::string>& items, const std::string& name);
    static bool hasItem(const std::vector<std::string>& items, const std::string& bareName);
    // Appends "; name=value" (or the first item) when the value is not empty.
    static void addItem(std::string& form, const std::string& name, const std::string& value);
    void addNetscapeItems(std::string& form) const;
};

class TNetCookieRFC2109 : public TNetNetscapeCookie {
public:
    TNetCookieRFC2109() { Flavor = 1; }

    int64_t MaxAgeSeconds = -1;
    std::string VersionText;
    std::string CommentText;

    void ApplyAttributes(const std::vector<std::string>& items) override;
    std::string ServerForm() const override;
    // Also sets MaxAgeSeconds to the whole seconds from now to that date.
    void SetExpires(const std::string& text) override;
};

class TNetCookieRFC2965 : public TNetCookieRFC2109 {
public:
    TNetCookieRFC2965() { Flavor = 2; }

    std::string CommentUrlText;
    bool IsDiscard = false;
    std::vector<int32_t> Ports;

    // Fails with ENetConvertError when a quoted "Port" list holds something that is not a number.
    void ApplyAttributes(const std::vector<std::string>& items) override;
};

// Four "."-separated fields, each a number from 0 to 255.
bool IsDottedAddress(const std::string& host);

}  // namespace dorvanel::http
