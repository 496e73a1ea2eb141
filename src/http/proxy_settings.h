#pragma once
// Which proxy a request goes through, the way Linux programs decide it (curl's rules): "https_proxy" or
// "HTTPS_PROXY" for https addresses, "http_proxy" for http ones (lower case only: a CGI environment sets
// "HTTP_PROXY" from a request header, so the upper-case name is never trusted), and "no_proxy" or
// "NO_PROXY" for hosts that go direct. A proxy the program's own settings name wins over the environment.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "http/header_info.h"

namespace dorvanel::http {

struct TNetProxyAddress {
    std::string Host;
    int32_t Port = 0;
    std::string Username;
    std::string Password;
};

// "[http://][user[:password]@]host[:port][/]"; the port defaults to 1080 as curl's does, user and password
// are percent-decoded. Empty for a text that names no usable proxy (another scheme than http, no host, a
// bad port).
std::optional<TNetProxyAddress> ParseProxyUrl(const std::string& text);

// A "no_proxy" list: comma- or blank-separated host names, domain suffixes with or without a leading dot,
// IP addresses, or "*" for every host; compared without case.
bool NoProxyMatches(const std::string& noProxy, const std::string& host);

class TNetProxySettings {
public:
    using TGetEnv = std::function<const char*(const char*)>;

    // The environment's proxies; `getEnv` stands in for getenv in tests.
    static TNetProxySettings FromEnvironment(const TGetEnv& getEnv);

    // The program's own setting: a proxy URL for every scheme, or empty to go direct whatever the
    // environment says.
    void Override(const std::string& proxyUrl);

    // The proxy for `url` (scheme and host), or none to go direct.
    std::optional<TNetProxyAddress> For(const std::string& url) const;
    // Sets the client's proxy for `url`: its server, port and Basic credentials, or none.
    void Apply(const std::string& url, TNetProxyConnectionInfo& params) const;

private:
    std::optional<TNetProxyAddress> http_;
    std::optional<TNetProxyAddress> https_;
    std::string noProxy_;
};

}  // namespace dorvanel::http
