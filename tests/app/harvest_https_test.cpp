// The real main window against the stand-in services in https mode: both harvests over TLS to a server whose
// certificate comes from an authority made at test time, and an untrusted certificate shown as a
// connection error.
#include "app/harvest_fixture.h"
#include "support/plain/test_certificates.h"

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
        window->Fetcher().ServiceHosts = {host, host, host, host, host};
        // The test's authority is trusted through the option kept for tests; the program never sets it.
        if (trusted) window->Fetcher().NetHTTP1.TrustAnchorFile = certificates->Authority();
    }

    TempDir certificateDir;
    std::unique_ptr<TestCertificates> certificates;
};

}  // namespace

TEST_F(HttpsHarvestTest, KeywordsAndCountsArriveOverTls) {
    OpenSecure(true);
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
    EXPECT_EQ(Std(Cell(0, workbench::cellMsn)), standin::ResultCount(standin::Engine::Msn, first, true) + " results");
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Process completed sucessfull!");
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
