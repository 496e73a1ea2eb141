// Service hosts may carry a scheme: "https://host[:port]" is asked over TLS, a bare host over http.
#include "harvest/pages/service_hosts.h"

#include <gtest/gtest.h>

#include "harvest/pages/result_count_pages.h"
#include "harvest/pages/suggestion_pages.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::pages {
namespace {

TEST(ServiceHosts, OriginKeepsAnHttpOrHttpsScheme) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kw.example", "http://kw.example"},
        {"127.0.0.1:8080", "http://127.0.0.1:8080"},
        {"https://kw.example", "https://kw.example"},
        {"HTTPS://kw.example:8443/", "https://kw.example:8443"},
        {"http://kw.example", "http://kw.example"},
        {"ftp://kw.example", "http://ftp://kw.example"},  // no scheme of ours: a (broken) host name
    };
    for (const auto& [service, origin] : cases) EXPECT_EQ(ServiceOrigin(service), origin) << service;
}

TEST(ServiceHosts, AddressesUseTheScheme) {
    EXPECT_EQ(SuggestionsAddress("https://kw.example:8443", "golf"),
              "https://kw.example:8443/?seed=golf&adult_filter=remove_offensive&suggest=Hit+Me");
    EXPECT_EQ(CaptchaAnswerAddress("https://h", "a", "1", "s"),
              "https://h/keyword-suggestion-tool.html?password=a&random=1&seed=s");
    EXPECT_EQ(ResultCountAddress(Engine::Google, "https://g.example", "golf", SearchType::Precise),
              "https://g.example/search?q=%22golf%22");
}

TEST(ServiceHosts, FileMayNameHttpsHosts) {
    test::TempDir dir;
    const std::string path = dir.file("dbservices.dat");
    test::writeFileBytes(path, "[Services]\r\nSuggestionHost=https://127.0.0.1:8443\r\nGoogleHost=127.0.0.1:8080\r\n");
    const TServiceHosts hosts = TServiceHosts::Load(path);
    EXPECT_EQ(ServiceOrigin(hosts.SuggestionHost), "https://127.0.0.1:8443");
    EXPECT_EQ(ServiceOrigin(hosts.GoogleHost), "http://127.0.0.1:8080");
    EXPECT_EQ(hosts.YahooHost, TServiceHosts().YahooHost);
}

}  // namespace
}  // namespace dorvanel::pages
