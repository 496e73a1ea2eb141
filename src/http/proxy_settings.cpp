#include "http/proxy_settings.h"

#include "http/net_stack.h"
#include "http/net_text.h"
#include "http/uri.h"

namespace dorvanel::http {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string envValue(const TNetProxySettings::TGetEnv& getEnv, const char* name) {
    const char* value = getEnv ? getEnv(name) : nullptr;
    return value ? std::string(value) : std::string();
}

}  // namespace

std::optional<TNetProxyAddress> ParseProxyUrl(const std::string& text) {
    std::string rest = Trim(text);
    const size_t schemeEnd = rest.find("://");
    if (schemeEnd != std::string::npos) {
        // Only a proxy spoken to in plain HTTP is supported; a socks or TLS proxy is not one to send to.
        if (!SameText(rest.substr(0, schemeEnd), "http")) return std::nullopt;
        rest = rest.substr(schemeEnd + 3);
    }
    rest = rest.substr(0, rest.find('/'));
    TNetProxyAddress proxy;
    const size_t at = rest.rfind('@');
    if (at != std::string::npos) {
        const std::string login = rest.substr(0, at);
        const size_t colon = login.find(':');
        proxy.Username = percentDecoded(login.substr(0, colon));
        if (colon != std::string::npos) proxy.Password = percentDecoded(login.substr(colon + 1));
        rest = rest.substr(at + 1);
    }
    std::string portText;
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string::npos) return std::nullopt;
        proxy.Host = rest.substr(1, close - 1);
        if (close + 1 < rest.size()) {
            if (rest[close + 1] != ':') return std::nullopt;
            portText = rest.substr(close + 2);
        }
    } else {
        const size_t colon = rest.rfind(':');
        proxy.Host = rest.substr(0, colon);
        if (colon != std::string::npos) portText = rest.substr(colon + 1);
    }
    proxy.Port = 1080;
    if (!portText.empty() && (!ReadInt32(portText, proxy.Port) || proxy.Port < 1 || proxy.Port > 65535)) {
        return std::nullopt;
    }
    if (proxy.Host.empty()) return std::nullopt;
    return proxy;
}

bool NoProxyMatches(const std::string& noProxy, const std::string& host) {
    std::string bareHost = host;
    if (bareHost.size() >= 2 && bareHost.front() == '[' && bareHost.back() == ']') {
        bareHost = bareHost.substr(1, bareHost.size() - 2);
    }
    while (!bareHost.empty() && bareHost.back() == '.') bareHost.pop_back();
    if (bareHost.empty()) return false;
    size_t start = 0;
    while (start <= noProxy.size()) {
        const size_t end = noProxy.find_first_of(", \t", start);
        std::string entry = noProxy.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? noProxy.size() + 1 : end + 1;
        if (entry.empty()) continue;
        if (entry == "*") return true;
        if (entry.front() == '.') entry.erase(0, 1);
        if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']') entry = entry.substr(1, entry.size() - 2);
        while (!entry.empty() && entry.back() == '.') entry.pop_back();
        if (entry.empty()) continue;
        if (SameText(entry, bareHost)) return true;
        // A name entry covers its subdomains, on a label boundary; an address covers only itself.
        if (!IsDottedIP(bareHost) && bareHost.size() > entry.size() &&
            bareHost[bareHost.size() - entry.size() - 1] == '.' &&
            SameText(std::string_view(bareHost).substr(bareHost.size() - entry.size()), entry)) {
            return true;
        }
    }
    return false;
}

TNetProxySettings TNetProxySettings::FromEnvironment(const TGetEnv& getEnv) {
    TNetProxySettings settings;
    settings.http_ = ParseProxyUrl(envValue(getEnv, "http_proxy"));
    std::string https = envValue(getEnv, "https_proxy");
    if (https.empty()) https = envValue(getEnv, "HTTPS_PROXY");
    settings.https_ = ParseProxyUrl(https);
    settings.noProxy_ = envValue(getEnv, "no_proxy");
    if (settings.noProxy_.empty()) settings.noProxy_ = envValue(getEnv, "NO_PROXY");
    return settings;
}

void TNetProxySettings::Override(const std::string& proxyUrl) { http_ = https_ = ParseProxyUrl(proxyUrl); }

std::optional<TNetProxyAddress> TNetProxySettings::For(const std::string& url) const {
    const TNetURI uri(url);
    if (NoProxyMatches(noProxy_, uri.Host)) return std::nullopt;
    return SameText(uri.Protocol, "https") ? https_ : http_;
}

void TNetProxySettings::Apply(const std::string& url, TNetProxyConnectionInfo& params) const {
    const std::optional<TNetProxyAddress> proxy = For(url);
    params.SetProxyServer(proxy ? proxy->Host : std::string());
    params.SetProxyPort(proxy ? proxy->Port : 0);
    params.ProxyUsername = proxy ? proxy->Username : std::string();
    params.ProxyPassword = proxy ? proxy->Password : std::string();
    params.BasicAuthentication = proxy && !proxy->Username.empty();
}

}  // namespace dorvanel::http
