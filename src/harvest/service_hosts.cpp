#include "harvest/service_hosts.h"

#include "platform/ini_file.h"

namespace dorvanel::harvest {

TServiceHosts TServiceHosts::Load(const std::string& path) {
    const platform::TIniFile ini(path);
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

}  // namespace dorvanel::harvest
