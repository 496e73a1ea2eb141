#pragma once
// Where the remote services live. The optional file dbservices.dat beside the program names them (section
// "Services", each a host or host:port); a missing file or key leaves the public default.
#include <string>

namespace dorvanel::pages {

struct TServiceHosts {
    std::string SuggestionHost = "freekeywords.wordtracker.com";
    std::string GoogleHost = "www.google.com";
    std::string YahooHost = "search.yahoo.com";
    std::string MsnHost = "search.msn.com";
    std::string AffiliateHost = "www.wordtracker.com";

    static TServiceHosts Load(const std::string& path);
};

}  // namespace dorvanel::pages
