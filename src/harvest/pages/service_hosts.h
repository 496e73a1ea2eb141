#pragma once
// Where the remote services live. The optional file dbservices.dat beside the program names them (section
// "Services", each a host or host:port, or with a scheme "https://host[:port]"; without one a service is
// asked over http); a missing file or key leaves the public default.
#include <optional>
#include <string>
#include <string_view>

namespace dorvanel::pages {

struct TServiceHosts {
    std::string SuggestionHost = "freekeywords.wordtracker.com";
    std::string GoogleHost = "www.google.com";
    std::string YahooHost = "search.yahoo.com";
    std::string MsnHost = "search.msn.com";
    std::string AffiliateHost = "www.wordtracker.com";
    // "Proxy": the proxy URL every service is asked through, over the environment's; set but empty to go
    // direct whatever the environment says; missing to follow the environment.
    std::optional<std::string> Proxy;

    static TServiceHosts Load(const std::string& path);
    // Every service at one host (the stand-in's).
    static TServiceHosts AllAt(const std::string& host);
};

// The start of every address of a service: its scheme, "://" and its host[:port]. A service named with
// "http://" or "https://" (either in any letter case) keeps that scheme; any other name is asked over http.
std::string ServiceOrigin(std::string_view service);

}  // namespace dorvanel::pages
