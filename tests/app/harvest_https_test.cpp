// The real main window against the stand-in services in https mode: both harvests over TLS to a server whose
// certificate comes from an authority made at test time, an untrusted certificate shown as a connection
// error, and the harvest through a real proxy (tinyproxy) named by the environment.
#include "app/harvest_fixture.h"
#include "support/plain/test_certificates.h"
#include "support/plain/tinyproxy_peer.h"

#include <cstdlib>
#include <map>
#include <optional>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class HttpsHarvestTest : public HarvestTest {
protected:
    void OpenSecure(bool trusted) {
        certificates = std::make_unique<TestCertificates>(certificateDir.path().string());
        Open({"--tls-cert", certificates->Certificate("good"), "--tls-key", certificates->Key("good"), "--captcha",
              "never"});
        const std::string host = "https://localhost:" + std::to_string(standin->port());
        // As the program takes its services: the proxies of the environment come with them.
        window->Fetcher().UseServices(pages::TServiceHosts::AllAt(host));
        // The test's authority is trusted through the option kept for tests; the program never sets it.
        if (trusted) window->Fetcher().NetHTTP1.TrustAnchorFile = certificates->Authority();
    }

    // Both harvests, and the counts of the first row.
    void HarvestBoth() {
        TfrmMain& w = *window;
        w.SetMainKeyword(QStringLiteral("golf clubs"));
        w.btnGatherKeywordClick();
        const auto expected = standin::SuggestionsFor("golf clubs");
        ASSERT_EQ(w.Items().Count(), static_cast<int>(expected.size()));
        EXPECT_EQ(Std(w.Items().Item(0).SubItem(workbench::cellKeyword)), expected[0].keyword);
        WhenModals({ChooseSearch(true)});
        w.btnGatherDataClick();
        const std::string first = expected[0].keyword;
        EXPECT_EQ(Std(Cell(0, workbench::cellGoogle)), standin::ResultCount(standin::Engine::Google, first, true));
        EXPECT_EQ(Std(Cell(0, workbench::cellYahoo)), standin::ResultCount(standin::Engine::Yahoo, first, true));
        EXPECT_EQ(Std(Cell(0, workbench::cellMsn)),
                  standin::ResultCount(standin::Engine::Msn, first, true) + " results");
        EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
                  "Process completed sucessfull!");
    }

    TempDir certificateDir;
    std::unique_ptr<TestCertificates> certificates;
};

// Environment variables set for one test and put back after it.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const std::map<std::string, std::string>& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace

TEST_F(HttpsHarvestTest, KeywordsAndCountsArriveOverTls) {
    OpenSecure(true);
    HarvestBoth();
}

// The proxy the environment names carries only tunnels; a host no_proxy names is asked directly.
TEST_F(HttpsHarvestTest, ThroughTinyproxyFromTheEnvironmentUnlessNoProxyNamesTheHost) {
    if (!TinyproxyPeer::Available()) GTEST_SKIP() << "tinyproxy is not installed";
    const struct {
        const char* noProxy;
        bool throughProxy;
    } cases[] = {{"direct.example", true}, {".example, localhost", false}};
    for (const auto& c : cases) {
        TempDir proxyDir;
        TinyproxyPeer proxy(proxyDir.path().string());
        ScopedEnvironment environment({{"https_proxy", proxy.Url()}, {"no_proxy", c.noProxy}});
        OpenSecure(true);
        HarvestBoth();
        const auto lines = proxy.RequestLines();
        // Through the proxy: the suggestion page, then three engines for each keyword.
        EXPECT_EQ(lines.size() >= 4, c.throughProxy) << c.noProxy;
        for (const std::string& line : lines) EXPECT_EQ(line.rfind("CONNECT localhost:", 0), 0u) << line;
    }
}

TEST_F(HttpsHarvestTest, UntrustedCertificateIsAConnectionError) {
    OpenSecure(false);
    TfrmMain& w = *window;
    w.SetMainKeyword(QStringLiteral("golf clubs"));
    w.btnGatherKeywordClick();
    EXPECT_EQ(w.Items().Count(), 0);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Connection error, check if you are connected and url exists.");
}
