#include "harvest/pages/service_hosts.h"

#include "common/ini_file.h"
#include "common/text.h"

namespace dorvanel::pages {

TServiceHosts TServiceHosts::Load(const std::string& path) {
    const common::TIniFile ini(path);
    TServiceHosts hosts;
    auto read = [&](const char* key, std::string& value) {
        const std::string v = ini.ReadString("Services", key, value);
        if (!v.empty()) value = v;
    };
    read("SuggestionHost", hosts.SuggestionHost);
    read("GoogleHost", hosts.GoogleHost);
    read("YahooHost", hosts.YahooHost);
    read("MsnHost", hosts.MsnHost);
    read("AffiliateHost", hosts.AffiliateHost);
    // A value no file can hold tells a missing key from an empty one.
    const std::string unset(1, '\0');
    const std::string proxy = ini.ReadString("Services", "Proxy", unset);
    if (proxy != unset) hosts.Proxy = proxy;
    return hosts;
}

TServiceHosts TServiceHosts::AllAt(const std::string& host) {
    TServiceHosts hosts;
    hosts.SuggestionHost = hosts.GoogleHost = hosts.YahooHost = hosts.MsnHost = hosts.AffiliateHost = host;
    return hosts;
}

std::string ServiceOrigin(std::string_view service) {
    for (const std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
        if (service.size() >= scheme.size() && common::SameText(service.substr(0, scheme.size()), scheme)) {
            std::string_view host = service.substr(scheme.size());
            while (!host.empty() && host.back() == '/') host.remove_suffix(1);
            return std::string(scheme) + std::string(host);
        }
    }
    return "http://" + std::string(service);
}

}  // namespace dorvanel::pages
