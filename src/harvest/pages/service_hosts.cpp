#include "harvest/pages/service_hosts.h"

#include "common/ini_file.h"

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
    return hosts;
}

}  // namespace dorvanel::pages
