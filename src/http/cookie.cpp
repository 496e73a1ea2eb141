#include "http/cookie.h"

#include <cmath>
#include <limits>

#include "http/exceptions.h"
#include "http/http_date.h"
#include "http/net_text.h"
#include "http/uri.h"

namespace dorvanel::http {

namespace {

// Splits the header value into trimmed items at ";"; a value without ";" is its own, untrimmed, only item.
std::vector<std::string> splitItems(std::string text) {
    std::vector<std::string> items;
    if (text.find(';') == std::string::npos) {
        items.push_back(text);
        return items;
    }
    while (text.find(';') != std::string::npos) items.push_back(Trim(TakeToken(text, ";")));
    text = Trim(text);
    if (!text.empty()) items.push_back(text);
    return items;
}

bool isHostName(const std::string& host) {
    if (IsDottedAddress(host)) return false;
    return host.find('.') == std::string::npos || host.front() != '.';
}

// The host from its first "." on ("web.shop.test" gives ".shop.test"); empty without a ".".
std::string parentDomain(const std::string& host) {
    const size_t dot = host.find('.');
    return dot == std::string::npos ? std::string() : host.substr(dot);
}

int64_t secondsUntil(TDateTime when, TDateTime now) {
    const double seconds = std::trunc((when - now) * 86400.0);
    if (!(seconds > static_cast<double>(std::numeric_limits<int64_t>::min())))
        return std::numeric_limits<int64_t>::min();
    if (!(seconds < static_cast<double>(std::numeric_limits<int64_t>::max())))
        return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(seconds);
}

}  // namespace

bool IsDottedAddress(const std::string& host) {
    std::string rest = host;
    for (int field = 0; field < 4; ++field) {
        if (field < 3 && rest.find('.') == std::string::npos) return false;
        const std::string part = TakeToken(rest, ".");
        if (part.empty() || part.size() > 3) return false;
        int value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255) return false;
    }
    return rest.empty() && host.back() != '.';
}

std::string TNetNetscapeCookie::attribute(const std::vector<std::string>& items, const std::string& name) {
    for (const auto& item : items) {
        const size_t eq = item.find('=');
        if (eq != std::string::npos && SameText(std::string_view(item).substr(0, eq), name)) return item.substr(eq + 1);
    }
    return {};
}

bool TNetNetscapeCookie::hasItem(const std::vector<std::string>& items, const std::string& bareName) {
    for (const auto& item : items) {
        if (SameText(item, bareName)) return true;
    }
    return false;
}

void TNetNetscapeCookie::ParseCookieText(const std::string& text) {
    if (text == SourceText) return;
    SourceText = text;
    std::vector<std::string> items = splitItems(text);
    const std::string& first = items.front();
    const size_t eq = first.find('=');
    CookieName = eq == std::string::npos ? std::string() : first.substr(0, eq);
    CookieValue = eq == std::string::npos ? std::string() : first.substr(eq + 1);
    items.erase(items.begin());
    for (auto& item : items) {
        const size_t itemEq = item.find('=');
        item = itemEq == std::string::npos ? UpperCase(item) : UpperCase(item.substr(0, itemEq)) + item.substr(itemEq);
    }
    ApplyAttributes(items);
}

void TNetNetscapeCookie::ApplyAttributes(const std::vector<std::string>& items) {
    PathText = attribute(items, "PATH");
    if (!PathText.empty() && PathText.front() == '"') PathText.erase(0, 1);
    if (!PathText.empty() && PathText.back() == '"') PathText.pop_back();
    SetExpires(attribute(items, "EXPIRES"));
    DomainText = attribute(items, "DOMAIN");
    IsSecure = hasItem(items, "SECURE");
}

bool TNetNetscapeCookie::MatchesOrigin(const std::string& host) const {
    if (IsDottedAddress(host)) return DomainText == host;
    if (isHostName(host)) {
        if (isHostName(DomainText)) return DomainText == host;
        return DomainText == parentDomain(host);
    }
    return SameText(DomainText, parentDomain(host));
}

void TNetNetscapeCookie::addItem(std::string& form, const std::string& name, const std::string& value) {
    if (value.empty()) return;
    if (!form.empty()) form += "; ";
    form += name + "=" + value;
}

void TNetNetscapeCookie::addNetscapeItems(std::string& form) const {
    addItem(form, CookieName, CookieValue);
    addItem(form, "path", PathText);
    if (Flavor == 0) addItem(form, "expires", ExpiresText);
    addItem(form, "domain", DomainText);
    if (IsSecure) form += form.empty() ? "secure" : "; secure";
}

std::string TNetNetscapeCookie::ServerForm() const {
    std::string form;
    addNetscapeItems(form);
    return form;
}

void TNetCookieRFC2109::SetExpires(const std::string& text) {
    ExpiresText = text;
    MaxAgeSeconds = secondsUntil(ParseHttpDate(text), Clock());
}

void TNetCookieRFC2109::ApplyAttributes(const std::vector<std::string>& items) {
    TNetNetscapeCookie::ApplyAttributes(items);
    int64_t maxAge = -1;
    const bool hasMaxAge = ReadInt64(attribute(items, "MAX-AGE"), maxAge);
    // A Max-Age of zero or below deletes the cookie (RFC 6265 5.2.2), whatever an Expires says.
    if (hasMaxAge && maxAge < 0) maxAge = 0;
    MaxAgeSeconds = hasMaxAge ? maxAge : -1;
    VersionText = attribute(items, "VERSION");
    CommentText = attribute(items, "COMMENT");
    if (ExpiresText.empty()) Flavor = 0;
    if (hasMaxAge && maxAge == 0) {
        // Two seconds back: the date text holds whole seconds and its decoding rounds to the millisecond, so
        // "now" itself, late in a second, would be written as the next second and outlive the next purge.
        SetExpires(FormatHttpDate(Clock() - 2.0 / 86400.0));
        MaxAgeSeconds = 0;
    } else if (ExpiresText.empty()) {
        if (MaxAgeSeconds >= 0) {
            const int64_t maxAgeRead = MaxAgeSeconds;
            SetExpires(FormatHttpDate(Clock() + static_cast<double>(MaxAgeSeconds) / 86400.0));
            MaxAgeSeconds = maxAgeRead;
        }
    }
}

std::string TNetCookieRFC2109::ServerForm() const {
    std::string form;
    addNetscapeItems(form);
    if (MaxAgeSeconds >= 0 && ExpiresText.empty()) addItem(form, "max-age", std::to_string(MaxAgeSeconds));
    addItem(form, "comment", CommentText);
    addItem(form, "version", VersionText);
    return form;
}

void TNetCookieRFC2965::ApplyAttributes(const std::vector<std::string>& items) {
    TNetCookieRFC2109::ApplyAttributes(items);
    CommentUrlText = attribute(items, "COMMENTURL");
    IsDiscard = hasItem(items, "DISCARD");
    Ports.clear();
    const std::string port = attribute(items, "PORT");
    if (port.empty()) {
        Ports.push_back(80);
    } else if (port.front() == '"') {
        std::string inner = port.substr(1);
        if (!inner.empty() && inner.back() == '"') inner.pop_back();
        if (Trim(inner).empty()) {
            Ports.push_back(80);
        } else {
            while (!inner.empty()) {
                const std::string field = Trim(TakeToken(inner, ","));
                int32_t value = 0;
                if (!ReadInt32(field, value)) throw ENetConvertError(field);
                Ports.push_back(value);
            }
        }
    }
}

}  // namespace dorvanel::http
