// The engine against nginx, a server no one here wrote: a static file, a 404 page, a relative redirect, a
// cookie that must come back, and a large file compared byte for byte (fetched into a file, with the idle
// pump running, as the program fetches).
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <random>

#include "http/exceptions.h"
#include "http/http_client.h"
#include "http/idle_pump.h"
#include "http/net_stream.h"
#include "support/plain/nginx_peer.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::http {
namespace {

using test::NginxPeer;

class HttpNginx : public testing::Test {
protected:
    void SetUp() override {
        if (!NginxPeer::Available()) GTEST_SKIP() << "nginx is not installed (scripts/setup.sh installs it)";
        nginx_ = std::make_unique<NginxPeer>(dir_.path().string(),
                                             "    location = /go { return 302 /static.txt; }\n"
                                             "    location = /setcookie { add_header Set-Cookie \"sid=n1; path=/\";"
                                             " return 200 \"set\"; }\n"
                                             "    location = /showcookie { return 200 \"$http_cookie\"; }\n");
        test::writeFileBytes(nginx_->WwwFolder() + "/static.txt", "A static file with a length.\n");
    }

    // What curl makes of the same address (body only), for comparison.
    static std::string curlBody(const std::string& url) {
        std::string out;
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("curl -s '" + url + "'").c_str(), "r"), ::pclose);
        if (!pipe) return out;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
        return out;
    }

    test::TempDir dir_;
    std::unique_ptr<NginxPeer> nginx_;
};

TEST_F(HttpNginx, StaticFileWithLength) {
    TNetHTTP http;
    std::vector<int64_t> begins;
    http.OnWorkBegin = [&](TNetComponent&, TWorkMode, int64_t max) { begins.push_back(max); };
    TNetMemoryStream page;
    http.FetchToStream(nginx_->Url("/static.txt"), page);
    EXPECT_EQ(page.DataString(), "A static file with a length.\n");
    EXPECT_EQ(begins, (std::vector<int64_t>{29}));
    EXPECT_EQ(http.LastResponse().ContentLength, 29);
}

TEST_F(HttpNginx, NotFoundPageIsTheReplyBody) {
    TNetHTTP http;
    TNetMemoryStream page;
    try {
        http.FetchToStream(nginx_->Url("/nothing-here"), page);
        FAIL() << "no failure";
    } catch (const ENetHTTPProtocolException& e) {
        EXPECT_STREQ(e.what(), "HTTP/1.1 404 Not Found");
        EXPECT_EQ(e.ReplyCode, 404);
        EXPECT_FALSE(e.ReplyBody.empty());
        if (std::system("curl --version >/dev/null 2>&1") == 0) {
            EXPECT_EQ(e.ReplyBody, curlBody(nginx_->Url("/nothing-here")));
        }
    }
    EXPECT_EQ(page.Size(), 0);
}

TEST_F(HttpNginx, RelativeRedirectIsFollowed) {
    TNetHTTP http;
    http.HandleRedirects = true;
    TNetMemoryStream page;
    http.FetchToStream(nginx_->Url("/go"), page);
    EXPECT_EQ(page.DataString(), "A static file with a length.\n");
    EXPECT_EQ(http.StatusLine(), "HTTP/1.1 200 OK");
}

TEST_F(HttpNginx, CookieComesBack) {
    TNetHTTP http;
    TNetMemoryStream set, shown;
    http.FetchToStream(nginx_->Url("/setcookie"), set);
    http.FetchToStream(nginx_->Url("/showcookie"), shown);
    EXPECT_EQ(set.DataString(), "set");
    EXPECT_EQ(shown.DataString(), "sid=n1");
}

TEST_F(HttpNginx, LargeFileArrivesByteForByte) {
    std::string content(6 * 1024 * 1024 + 123, '\0');
    std::mt19937 random(7);
    for (char& c : content) c = static_cast<char>(random());
    test::writeFileBytes(nginx_->WwwFolder() + "/large.bin", content);
    TNetIdlePump pump;
    int pumped = 0;
    pump.OnProcessMessages = [&] { ++pumped; };
    TNetHTTP http;
    int64_t lastTotal = 0;
    http.OnWork = [&](TNetComponent&, TWorkMode, int64_t total) { lastTotal = total; };
    const std::string path = dir_.file("large.copy");
    {
        TNetFileStream file(path, TNetFileStream::TOpenMode::Create);
        http.FetchToStream(nginx_->Url("/large.bin"), file);
    }
    EXPECT_EQ(lastTotal, static_cast<int64_t>(content.size()));
    EXPECT_TRUE(test::readFileBytes(path) == content);
}

}  // namespace
}  // namespace dorvanel::http
