// What crosses the boundaries between hosts, and between http and https: the proxy tunnel (to one server,
// encrypted from its first byte, the proxy's answer and credentials kept the proxy's), credentials kept with
// the origin that asked for them, the end of a TLS body, and the framing and redirect readings a peer could
// turn against the client. Every peer is on 127.0.0.1: the TLS peer, a CONNECT proxy and scripted servers.
#include <gtest/gtest.h>

#include <memory>

#include "http/certificates_fixture.h"
#include "http/exceptions.h"
#include "http/http_answers.h"
#include "http/http_client.h"
#include "http/net_stream.h"
#include "support/plain/failure_text.h"
#include "support/plain/forwarding_proxy.h"
#include "support/plain/scripted_server.h"
#include "support/plain/temp_dir.h"
#include "support/plain/test_certificates.h"
#include "support/plain/tls_peer.h"

namespace dorvanel::http {
namespace {

using test::AnswerAndClose;
using test::ForwardingProxy;
using test::ok;
using test::ScriptedServer;
using test::ServerStep;
using test::TlsPeer;

class TrustBoundaries : public test::CertificatesFixture {
protected:
    static std::unique_ptr<TlsPeer> tlsPeer(std::vector<TlsPeer::Connection> connections) {
        return std::make_unique<TlsPeer>(certificates_->Certificate("good"), certificates_->Key("good"),
                                         std::move(connections));
    }
    static void useProxy(TNetHTTP& http, const ForwardingProxy& proxy) {
        http.TrustAnchorFile = certificates_->Authority();
        http.ProxyParams.SetProxyServer("127.0.0.1");
        http.ProxyParams.SetProxyPort(proxy.Port());
    }
    static std::string fetch(TNetHTTP& http, const std::string& url) {
        TNetMemoryStream page;
        http.FetchToStream(url, page);
        return page.DataString();
    }
    static bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }
};

// ---- the tunnel ----

TEST_F(TrustBoundaries, EveryConnectionToAnHttpsServerThroughTheProxyIsATunnel) {
    // HTTP/1.0 answers and "Connection: close" end their connection; the next request opens a new tunnel.
    const std::string closing[] = {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok",
                                   "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok"};
    for (const std::string& answer : closing) {
        auto server = tlsPeer({{{answer}, true}, {{answer}, true}, {{answer}, true}});
        ForwardingProxy proxy(server->Port(), {true});
        TNetHTTP http;
        useProxy(http, proxy);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(fetch(http, server->Url("/page")), "ok") << answer;
        const auto heads = proxy.FirstHeads();
        ASSERT_EQ(heads.size(), 3u) << answer;
        for (const std::string& head : heads) EXPECT_TRUE(startsWith(head, "CONNECT 127.0.0.1:")) << head;
        EXPECT_EQ(server->Heads().size(), 3u);
    }
}

TEST_F(TrustBoundaries, AKeptTunnelServesOnlyTheServerItWasOpenedTo) {
    auto first = tlsPeer({{{ok("one", "Set-Cookie: s=1; Path=/; Secure\r\n")}, true}});
    auto second = tlsPeer({{{ok("two")}, true}});
    ForwardingProxy::Options options{true};
    options.ToNamedPort = true;
    ForwardingProxy proxy(0, options);
    TNetHTTP http;
    useProxy(http, proxy);
    EXPECT_EQ(fetch(http, first->Url("/a")), "one");
    EXPECT_EQ(fetch(http, second->Url("/b", "localhost")), "two");
    const auto connects = proxy.ConnectHeads();
    ASSERT_EQ(connects.size(), 2u);
    EXPECT_TRUE(startsWith(connects[1], "CONNECT localhost:" + std::to_string(second->Port()) + " ")) << connects[1];
    EXPECT_EQ(first->Heads().size(), 1u);
    ASSERT_EQ(second->Heads().size(), 1u);
    EXPECT_EQ(second->Heads()[0].find("Cookie:"), std::string::npos) << second->Heads()[0];
}

TEST_F(TrustBoundaries, TheProxysAnswerIsNeverTakenForTheServers) {
    struct Case {
        std::string connectAnswer;
        std::string failure;  // empty: the fetch works
    };
    const Case cases[] = {
        // Bytes after the 200 and before the handshake.
        {"HTTP/1.1 200 OK\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nfake",
         "The proxy sent 42 bytes before the TLS handshake."},
        // A status line of another protocol.
        {"ICY 200 OK\r\n\r\n", "Invalid status line: 'ICY 200 OK'"},
        // An empty line is no answer.
        {"\r\n\r\n", "Invalid status line: ''"},
        // Its cookies are the proxy's: the fetch works, and the jar stays empty.
        {"HTTP/1.1 200 OK\r\nSet-Cookie: p=1; Path=/\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        auto server = tlsPeer({{{ok("real")}, true}});
        ForwardingProxy::Options options{true};
        options.ConnectAnswer = c.connectAnswer;
        ForwardingProxy proxy(server->Port(), options);
        TNetHTTP http;
        useProxy(http, proxy);
        TNetMemoryStream page;
        if (c.failure.empty()) {
            http.FetchToStream(server->Url("/"), page);
            EXPECT_EQ(page.DataString(), "real");
            ASSERT_NE(http.CookieManager(), nullptr);
            EXPECT_EQ(http.CookieManager()->CookieCollection().Count(), 0);
        } else {
            EXPECT_EQ(test::FailureText<ENetProtocolError>([&] { http.FetchToStream(server->Url("/"), page); }),
                      c.failure);
            EXPECT_EQ(page.DataString(), "");
        }
    }
}

TEST_F(TrustBoundaries, ProxyAuthorizationGoesToTheProxyOnly) {
    auto server = tlsPeer({{{ok("secure")}, true}});
    ScriptedServer plain;
    plain.AddConnection(AnswerAndClose(ok("plain")));
    plain.Start();
    ForwardingProxy::Options options{true};
    options.ToNamedPort = true;
    ForwardingProxy tunnels(0, options);
    ForwardingProxy forwarder(plain.Port(), {true});
    TNetHTTP http;
    http.ProxyParams.BasicAuthentication = true;
    http.ProxyParams.ProxyUsername = "u";
    http.ProxyParams.ProxyPassword = "p";
    useProxy(http, tunnels);
    EXPECT_EQ(fetch(http, server->Url("/")), "secure");
    useProxy(http, forwarder);
    EXPECT_EQ(fetch(http, plain.Url("/")), "plain");
    const std::string credentials = "\r\nProxy-Authorization: Basic dTpw\r\n";
    ASSERT_EQ(tunnels.ConnectHeads().size(), 1u);
    EXPECT_NE(tunnels.ConnectHeads()[0].find(credentials), std::string::npos) << tunnels.ConnectHeads()[0];
    ASSERT_EQ(server->Heads().size(), 1u);
    EXPECT_EQ(server->Heads()[0].find("Proxy-Authorization"), std::string::npos) << server->Heads()[0];
    ASSERT_EQ(plain.Heads().size(), 1u);
    EXPECT_NE(plain.Heads()[0].find(credentials), std::string::npos) << plain.Heads()[0];
}

// ---- credentials ----

TEST_F(TrustBoundaries, CredentialsFromAChallengeStayWithTheOriginThatAskedForThem) {
    ScriptedServer asking;
    asking.AddConnection({ServerStep::ReadHead(),
                          ServerStep::Send("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n"
                                           "Content-Length: 0\r\n\r\n"),
                          ServerStep::ReadHead(), ServerStep::Send(ok("secret")), ServerStep::WaitClose()});
    asking.Start();
    ScriptedServer other;  // the same host, another port: another origin
    other.AddConnection(AnswerAndClose(ok("public")));
    other.Start();
    TNetHTTP http;
    http.HTTPOptions.insert(TNetHTTPOption::hoInProcessAuth);
    http.OnAuthorization = [](TNetCustomHTTP&, TNetAuthentication& scheme, bool& handled) {
        scheme.SetUsername("Aladdin");
        scheme.SetPassword("open sesame");
        handled = true;
    };
    EXPECT_EQ(fetch(http, asking.Url("/")), "secret");
    EXPECT_EQ(fetch(http, other.Url("/")), "public");
    ASSERT_EQ(asking.Heads().size(), 2u);
    EXPECT_NE(asking.Heads()[1].find("\r\nAuthorization: Basic "), std::string::npos);
    ASSERT_EQ(other.Heads().size(), 1u);
    EXPECT_EQ(other.Heads()[0].find("Authorization"), std::string::npos) << other.Heads()[0];
}

TEST_F(TrustBoundaries, ARedirectToAnotherOriginDropsTheCallersCredentials) {
    for (const std::string host : {"127.0.0.1", "localhost"}) {
        ScriptedServer next;
        next.AddConnection(AnswerAndClose(ok("landed")));
        next.Start();
        ScriptedServer first;
        first.AddConnection(AnswerAndClose("HTTP/1.1 302 Found\r\nLocation: http://" + host + ":" +
                                           std::to_string(next.Port()) + "/x\r\nContent-Length: 0\r\n\r\n"));
        first.Start();
        TNetHTTP http;
        http.HandleRedirects = true;
        http.Request.BasicAuthentication = true;
        EXPECT_EQ(fetch(http, "http://u:p@127.0.0.1:" + std::to_string(first.Port()) + "/"), "landed");
        ASSERT_EQ(first.Heads().size(), 1u);
        EXPECT_NE(first.Heads()[0].find("\r\nAuthorization: Basic dTpw\r\n"), std::string::npos);
        ASSERT_EQ(next.Heads().size(), 1u);
        EXPECT_EQ(next.Heads()[0].find("Authorization"), std::string::npos) << host << next.Heads()[0];
    }
}

// ---- cookies of a head that never ended ----

TEST_F(TrustBoundaries, CookiesOfAHeadCutOffAreNotStored) {
    ScriptedServer server;
    server.AddConnection({ServerStep::ReadHead(),
                          ServerStep::Send("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nContent-Len"),
                          ServerStep::Close()});
    server.Start();
    TNetHTTP http;
    TNetMemoryStream page;
    EXPECT_THROW(http.FetchToStream(server.Url("/"), page), ENetException);
    EXPECT_TRUE(http.CookieManager() == nullptr || http.CookieManager()->CookieCollection().Count() == 0);
}

// ---- the end of a body over TLS ----

TEST_F(TrustBoundaries, ABodyUntilTheCloseEndsWellOnlyWithCloseNotify) {
    const std::string answer = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nwhole page?";
    for (const bool clean : {true, false}) {
        auto server = tlsPeer({{{answer}, clean}});
        TNetHTTP http;
        http.TrustAnchorFile = certificates_->Authority();
        TNetMemoryStream page;
        if (clean) {
            http.FetchToStream(server->Url("/"), page);
        } else {
            EXPECT_THROW(http.FetchToStream(server->Url("/"), page), ENetConnClosedGracefully);
        }
        // The bytes that came are kept either way.
        EXPECT_EQ(page.DataString(), "whole page?") << clean;
    }
}

// ---- framing and redirect readings ----

TEST_F(TrustBoundaries, TransferEncodingIsAListOfCodings) {
    struct Case {
        std::string headers;
        std::string body;
        std::string page;
    };
    const Case cases[] = {
        {"Transfer-Encoding: Chunked\r\n", "3\r\nabc\r\n0\r\n\r\n", "abc"},
        {"Transfer-Encoding: gzip, CHUNKED\r\n", "3\r\nabc\r\n0\r\n\r\n", "abc"},
        {"Transfer-Encoding: gzip\r\nTransfer-Encoding: chunked\r\n", "3\r\nabc\r\n0\r\n\r\n", "abc"},
        // Chunked not last, or only inside another token: the body runs to the close, whatever a length says.
        {"Transfer-Encoding: chunked, gzip\r\nContent-Length: 2\r\n", "3\r\nabc", "3\r\nabc"},
        {"Transfer-Encoding: xchunked\r\n", "3\r\nabc", "3\r\nabc"},
    };
    for (const Case& c : cases) {
        ScriptedServer server;
        server.AddConnection(AnswerAndClose("HTTP/1.1 200 OK\r\n" + c.headers + "\r\n" + c.body));
        server.Start();
        TNetHTTP http;
        http.ReadTimeout = 5000;  // a misread framing fails fast instead of waiting on the peer
        EXPECT_EQ(fetch(http, server.Url("/")), c.page) << c.headers;
    }
}

TEST_F(TrustBoundaries, ASchemeWithoutSlashesIsReadAsAnAddressOfThatScheme) {
    // Under its own scheme, "https:next" is the relative reference "next".
    auto server =
        tlsPeer({{{"HTTP/1.1 302 Found\r\nLocation: https:next\r\nContent-Length: 0\r\n\r\n", ok("next")}, true}});
    TNetHTTP secure;
    secure.HandleRedirects = true;
    secure.TrustAnchorFile = certificates_->Authority();
    EXPECT_EQ(fetch(secure, server->Url("/dir/first")), "next");
    ASSERT_EQ(server->Heads().size(), 2u);
    EXPECT_TRUE(startsWith(server->Heads()[1], "GET /dir/next HTTP/1.1\r\n")) << server->Heads()[1];
    // Under http it names an https address without a host: nothing is sent anywhere.
    ScriptedServer plain;
    plain.AddConnection(AnswerAndClose("HTTP/1.1 302 Found\r\nLocation: https:next\r\nContent-Length: 0\r\n\r\n"));
    plain.Start();
    TNetHTTP http;
    http.HandleRedirects = true;
    TNetMemoryStream page;
    EXPECT_EQ(test::FailureText<ENetURIException>([&] { http.FetchToStream(plain.Url("/"), page); }),
              "Redirect to an address without a host: 'https:next'");
    EXPECT_EQ(plain.Accepted(), 1);
}

}  // namespace
}  // namespace dorvanel::http
