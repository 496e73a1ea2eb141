// The harvests' requests and cuts through the program's own HTTP client against the stand-in services on
// loopback: the security-image handshake with its cookie, and every engine's way of sending a page.
#include <gtest/gtest.h>

#include "harvest/pages/captcha_page.h"
#include "harvest/pages/result_count_pages.h"
#include "harvest/pages/suggestion_pages.h"
#include "http/exceptions.h"
#include "http/http_client.h"
#include "standin/pages.h"
#include "standin/standin_process.h"
#include "support/plain/temp_dir.h"
#include "support/plain/test_certificates.h"

namespace dorvanel::pages {
namespace {

// One fetch as the program makes it: redirects followed, cookies kept by the client, closed afterwards.
std::string fetch(http::TNetHTTP& client, const std::string& url) {
    http::TNetMemoryStream page;
    try {
        client.FetchToStream(url, page);
    } catch (...) {
        client.CloseConnection();
        throw;
    }
    client.CloseConnection();
    return page.DataString();
}

TEST(StandinRoundTrip, GatherKeywordsThroughOneWrongAndOneRightAnswer) {
    standin::StandinServer services;
    http::TNetHTTP client;
    client.HandleRedirects = true;
    const std::string host = services.hostPort();

    std::string page = fetch(client, SuggestionsAddress(host, "golf clubs"));
    ASSERT_TRUE(IsSecurityImagePage(page));
    auto values = CutCaptchaPage(page);
    EXPECT_EQ(values.seed, "golf+clubs");
    EXPECT_EQ(values.imageSrc, "http://" + host + "/captcha.png?random=" + values.random + "&size=5");

    page = fetch(client, CaptchaAnswerAddress(host, "WRONG", values.random, values.seed));
    ASSERT_TRUE(IsSecurityImagePage(page));
    values = CutCaptchaPage(page);

    page = fetch(client, CaptchaAnswerAddress(host, services.captchaText(values.random), values.random, values.seed));
    ASSERT_FALSE(IsSecurityImagePage(page));
    const auto rows = ParseSuggestions(page);
    const auto expected = standin::SuggestionsFor("golf clubs");
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].keyword, expected[i].keyword);
        EXPECT_EQ(rows[i].count, expected[i].count);
    }

    // The client kept the session cookie: the next request is answered at once.
    EXPECT_FALSE(IsSecurityImagePage(fetch(client, SuggestionsAddress(host, "shoes"))));
    EXPECT_EQ(services.requests().size(), 4u);
}

TEST(StandinRoundTrip, EveryEngineChunkedRedirectedOrReadUntilClose) {
    standin::StandinServer services;
    http::TNetHTTP client;
    client.HandleRedirects = true;
    for (SearchType type : {SearchType::Precise, SearchType::Broad}) {
        for (Engine engine : kEngines) {
            const std::string page = fetch(client, ResultCountAddress(engine, services.hostPort(), "golf clubs", type));
            const auto se = static_cast<standin::Engine>(static_cast<int>(engine));
            EXPECT_EQ(CutResultCount(engine, page),
                      standin::CountCellText(se, "golf clubs", type == SearchType::Precise));
        }
    }
    EXPECT_EQ(services.requests(), (std::vector<std::string>{
                                      "/search?q=%22golf+clubs%22",
                                      "/search?p=%22golf+clubs%22",
                                      "/search?p=%22golf+clubs%22&fr=yfp-t-501",
                                      "/results.aspx?q=%22golf+clubs%22",
                                      "/search?q=golf+clubs",
                                      "/search?p=golf+clubs",
                                      "/search?p=golf+clubs&fr=yfp-t-501",
                                      "/results.aspx?q=golf+clubs",
                                  }));
}

TEST(StandinRoundTrip, TrickledPagesArriveWhole) {
    standin::StandinServer services({"--trickle", "10"});
    http::TNetHTTP client;
    client.HandleRedirects = true;
    for (Engine engine : kEngines) {
        const std::string page =
            fetch(client, ResultCountAddress(engine, services.hostPort(), "golf", SearchType::Broad));
        EXPECT_EQ(page, standin::EnginePage(static_cast<standin::Engine>(static_cast<int>(engine)), "golf", false));
    }
}

TEST(StandinRoundTrip, FailingEngineFailsTheFetch) {
    standin::StandinServer services({"--fail", "yahoo"});
    http::TNetHTTP client;
    client.HandleRedirects = true;
    EXPECT_THROW(fetch(client, ResultCountAddress(Engine::Yahoo, services.hostPort(), "x", SearchType::Broad)),
                 dorvanel::Exception);
    services.configure("fail=google&fail-mode=cut");
    EXPECT_THROW(fetch(client, ResultCountAddress(Engine::Google, services.hostPort(), "x", SearchType::Broad)),
                 dorvanel::Exception);
}

TEST(StandinRoundTrip, HttpsModeServesEveryServiceOverTls) {
    test::TempDir dir;
    const test::TestCertificates certificates(dir.path().string());
    standin::StandinServer services(
        {"--tls-cert", certificates.Certificate("good"), "--tls-key", certificates.Key("good"), "--captcha", "never"});
    http::TNetHTTP client;
    client.HandleRedirects = true;
    client.TrustAnchorFile = certificates.Authority();
    const std::string host = "https://localhost:" + std::to_string(services.port());
    const auto rows = ParseSuggestions(fetch(client, SuggestionsAddress(host, "golf clubs")));
    EXPECT_EQ(rows.size(), standin::SuggestionsFor("golf clubs").size());
    // Yahoo's redirect stays on https.
    for (Engine engine : kEngines) {
        const std::string page = fetch(client, ResultCountAddress(engine, host, "golf", SearchType::Broad));
        const auto se = static_cast<standin::Engine>(static_cast<int>(engine));
        EXPECT_EQ(CutResultCount(engine, page), standin::CountCellText(se, "golf", false));
    }
    // Without the test's authority the stand-in's certificate is not trusted.
    http::TNetHTTP untrusting;
    http::TNetMemoryStream page;
    EXPECT_THROW(untrusting.FetchToStream(SuggestionsAddress(host, "golf"), page), http::ENetTLSVerifyError);
}

}  // namespace
}  // namespace dorvanel::pages
