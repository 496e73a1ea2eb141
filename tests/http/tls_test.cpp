// https through the TLS handler: against nginx with certificates made at test time (a trusted one, an
// expired one, one for another name, a self-signed one), and against broken peers (plain HTTP on the TLS
// port, a handshake that stalls, a close without close_notify mid-body, a long chain sent slowly), across
// redirects between http and https with secure cookies, and through a CONNECT proxy.
#include <gtest/gtest.h>

#include <memory>

#include "http/certificates_fixture.h"
#include "http/counting_pump.h"
#include "http/exceptions.h"
#include "http/http_client.h"
#include "http/net_stream.h"
#include "support/plain/failure_text.h"
#include "support/plain/forwarding_proxy.h"
#include "support/plain/nginx_peer.h"
#include "support/plain/scripted_server.h"
#include "support/plain/temp_dir.h"
#include "support/plain/test_certificates.h"

namespace dorvanel::http {
namespace {

using test::CountingPump;
using test::ForwardingProxy;
using test::NginxPeer;
using test::ScriptedServer;
using test::ServerStep;

class Tls : public test::CertificatesFixture {
protected:
    void SetUp() override {
        if (!NginxPeer::Available()) GTEST_SKIP() << "nginx is not installed";
    }

    // An nginx serving https with the certificate of `kind`, a 100 KB file and `locations`.
    std::unique_ptr<NginxPeer> secureServer(const std::string& kind, const std::string& locations = {}) {
        auto dir = std::make_unique<test::TempDir>();
        const std::string path = dir->path().string();
        dirs_.push_back(std::move(dir));
        auto server = std::make_unique<NginxPeer>(path,
                                                  "    ssl_certificate " + certificates_->Certificate(kind) +
                                                      ";\n    ssl_certificate_key " + certificates_->Key(kind) + ";\n" +
                                                      locations,
                                                  "ssl");
        test::writeFileBytes(server->WwwFolder() + "/page.html", "secure page");
        test::writeFileBytes(server->WwwFolder() + "/large.bin", std::string(100000, 'L'));
        return server;
    }

    static std::string fetch(TNetHTTP& http, const std::string& url) {
        TNetMemoryStream page;
        http.FetchToStream(url, page);
        return page.DataString();
    }

    static std::string anchor() { return certificates_->Authority(); }

    std::vector<std::unique_ptr<test::TempDir>> dirs_;
};

TEST_F(Tls, TrustedCertificateByNameAndByAddressAndTheConnectionIsKept) {
    auto server = secureServer("good");
    TNetHTTP http;
    http.TrustAnchorFile = anchor();
    EXPECT_EQ(fetch(http, server->SecureUrl("/page.html")), "secure page");
    EXPECT_TRUE(http.IsConnected());
    EXPECT_TRUE(http.IOHandler->IsTLSHandler());
    EXPECT_EQ(fetch(http, server->SecureUrl("/large.bin")), std::string(100000, 'L'));
    EXPECT_EQ(fetch(http, server->SecureUrl("/page.html", "localhost")), "secure page");
}

TEST_F(Tls, SessionIsResumedWithinOneClient) {
    auto server = secureServer("good", "    keepalive_timeout 0;\n");
    auto handler = std::make_shared<TNetIOHandlerTLS>(std::make_shared<TNetTLSContext>(anchor()));
    TNetHTTP http;
    http.SetIOHandler(handler);
    EXPECT_EQ(fetch(http, server->SecureUrl("/page.html")), "secure page");
    EXPECT_FALSE(handler->SessionReused());
    EXPECT_FALSE(http.IsConnected());
    EXPECT_EQ(fetch(http, server->SecureUrl("/page.html")), "secure page");
    EXPECT_TRUE(handler->SessionReused());
    // Another client starts afresh.
    auto other = std::make_shared<TNetIOHandlerTLS>(std::make_shared<TNetTLSContext>(anchor()));
    TNetHTTP second;
    second.SetIOHandler(other);
    EXPECT_EQ(fetch(second, server->SecureUrl("/page.html")), "secure page");
    EXPECT_FALSE(other->SessionReused());
}

TEST_F(Tls, CertificatesThatDoNotVerifyNameTheReason) {
    struct Case {
        std::string kind;
        bool anchored;
        std::string host;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"good", false, "127.0.0.1", "Certificate verification failed: unable to get local issuer certificate"},
        {"expired", true, "localhost", "Certificate verification failed: certificate has expired"},
        {"othername", true, "localhost", "Certificate verification failed: hostname mismatch"},
        {"selfsigned", true, "localhost", "Certificate verification failed: self-signed certificate"},
    };
    for (const Case& c : cases) {
        auto server = secureServer(c.kind);
        TNetHTTP http;
        if (c.anchored) http.TrustAnchorFile = anchor();
        EXPECT_EQ(test::FailureText<ENetTLSVerifyError>([&] { fetch(http, server->SecureUrl("/page.html", c.host)); }),
                  c.message)
            << c.kind;
        EXPECT_FALSE(http.IsConnected());
    }
}

TEST_F(Tls, PlainHttpOnTheTlsPortIsNamed) {
    ScriptedServer server;
    server.AddConnection({ServerStep::ReadBytes(5),
                          ServerStep::Send("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"),
                          ServerStep::Close()});
    server.Start();
    TNetHTTP http;
    EXPECT_EQ(test::FailureText<ENetTLSError>(
                  [&] { fetch(http, "https://127.0.0.1:" + std::to_string(server.Port()) + "/"); }),
              "TLS handshake failed: the server does not speak TLS on this port.");
}

TEST_F(Tls, StalledHandshakeKeepsThePumpRunningAndEnds) {
    for (const bool stop : {true, false}) {
        ScriptedServer server;
        server.AddConnection({ServerStep::ReadBytes(5), ServerStep::Stall()});
        server.Start();
        CountingPump pump(50);
        TNetHTTP http;
        pump.onPump = [&](int runs) {
            if (stop && runs == 3) http.CloseConnection();
        };
        const std::string url = "https://127.0.0.1:" + std::to_string(server.Port()) + "/";
        if (stop) {
            EXPECT_THROW(fetch(http, url), ENetNotConnected);
        } else {
            http.ReadTimeout = 300;
            EXPECT_EQ(test::FailureText<ENetTLSError>([&] { fetch(http, url); }),
                      "TLS handshake failed: the server did not answer in time.");
        }
        EXPECT_GE(pump.pumps, stop ? 3 : 1);
    }
}

TEST_F(Tls, CloseWithoutCloseNotifyMidBodyIsACutOff) {
    auto server = secureServer("good");
    ForwardingProxy cutter(server->Port(), {false, 0, 0, 30000});
    TNetHTTP http;
    // A handler of the test's own, to look at after the call.
    auto handler = std::make_shared<TNetIOHandlerTLS>(std::make_shared<TNetTLSContext>(anchor()));
    http.SetIOHandler(handler);
    TNetMemoryStream page;
    EXPECT_THROW(http.FetchToStream("https://127.0.0.1:" + std::to_string(cutter.Port()) + "/large.bin", page),
                 ENetConnClosedGracefully);
    EXPECT_GT(page.Size(), 0);
    EXPECT_LT(page.Size(), 100000);
    EXPECT_FALSE(http.IsConnected());
    EXPECT_TRUE(handler->UncleanClose());
    // A new connection starts without it.
    EXPECT_EQ(fetch(http, server->SecureUrl("/page.html")), "secure page");
    EXPECT_FALSE(handler->UncleanClose());
}

TEST_F(Tls, LongChainSentSlowlyKeepsThePumpRunning) {
    auto server = secureServer("bigchain");
    ForwardingProxy slow(server->Port(), {false, 512, 5, -1});
    CountingPump pump(250, true);
    TNetHTTP http;
    http.TrustAnchorFile = anchor();
    EXPECT_EQ(fetch(http, "https://127.0.0.1:" + std::to_string(slow.Port()) + "/page.html"), "secure page");
    EXPECT_GT(pump.clockReads, 20);
    EXPECT_TRUE(pump.RanByTheClock()) << pump.pumps << " runs for " << pump.clockReads << " readings";
}

TEST_F(Tls, RedirectsBetweenHttpAndHttpsKeepSecureCookiesOnTls) {
    ScriptedServer plain;
    auto server = secureServer("good",
                               "    location = /a {\n      add_header Set-Cookie \"s=1; Path=/; Secure\" always;\n"
                               "      add_header Set-Cookie \"p=2; Path=/\" always;\n"
                               "      return 302 http://127.0.0.1:" +
                                   std::to_string(plain.Port()) +
                                   "/end;\n    }\n"
                                   "    location = /echo { return 200 \"$http_cookie\"; }\n");
    plain.AddConnection(test::AnswerAndClose("HTTP/1.1 302 Found\r\nLocation: " + server->SecureUrl("/a") +
                                             "\r\nContent-Length: 0\r\n\r\n"));
    plain.AddConnection(test::AnswerAndClose("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nend"));
    plain.Start();
    TNetHTTP http;
    http.HandleRedirects = true;
    http.TrustAnchorFile = anchor();
    // http -> https -> http: the plain request carries the plain cookie only.
    EXPECT_EQ(fetch(http, plain.Url("/start")), "end");
    ASSERT_EQ(plain.Heads().size(), 2u);
    EXPECT_NE(plain.Heads()[1].find("\r\nCookie: p=2\r\n"), std::string::npos) << plain.Heads()[1];
    EXPECT_FALSE(http.IOHandler && http.IOHandler->IsTLSHandler());
    // Over TLS both go.
    EXPECT_EQ(fetch(http, server->SecureUrl("/echo")), "p=2; s=1");
}

TEST_F(Tls, TunnelThroughAConnectProxy) {
    auto server = secureServer("good");
    ForwardingProxy proxy(server->Port(), {true, 0, 0, -1});
    TNetHTTP http;
    http.TrustAnchorFile = anchor();
    http.ProxyParams.SetProxyServer("127.0.0.1");
    http.ProxyParams.SetProxyPort(proxy.Port());
    const std::string url = "https://localhost:" + std::to_string(server->Port());
    EXPECT_EQ(fetch(http, url + "/page.html"), "secure page");
    EXPECT_EQ(fetch(http, url + "/page.html"), "secure page");
    const auto heads = proxy.ConnectHeads();
    // One tunnel, kept for the second request.
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].rfind("CONNECT localhost:" + std::to_string(server->Port()) + " HTTP/1.1\r\n", 0), 0u)
        << heads[0];
}

}  // namespace
}  // namespace dorvanel::http
