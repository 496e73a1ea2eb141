// The stand-in services over real loopback connections: what the program and the end-to-end tests rely on.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "standin/pages.h"
#include "standin/standin_process.h"

namespace dorvanel::test {
namespace {

using standin::BodyOf;
using standin::Engine;
using standin::RawGet;
using standin::StandinServer;

std::string headerValue(const std::string& response, const std::string& name) {
    const std::string head = response.substr(0, response.find("\r\n\r\n"));
    const size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return {};
    const size_t from = at + name.size() + 4;
    return head.substr(from, head.find("\r\n", from) - from);
}

std::string hiddenValue(const std::string& page, const std::string& name) {
    const std::string marker = "<input type=\"hidden\" name=\"" + name + "\" value=\"";
    const size_t at = page.find(marker);
    if (at == std::string::npos) return {};
    const size_t from = at + marker.size();
    return page.substr(from, page.find('"', from) - from);
}

const std::string kSuggest = "/?seed=golf+clubs&adult_filter=remove_offensive&suggest=Hit+Me";
const std::string kMarker = "Please enter the characters in the image";

TEST(Standin, SecurityImageHandshakeWithTheCookie) {
    StandinServer standin;
    const std::string first = RawGet(standin.port(), kSuggest);
    ASSERT_NE(first.find(kMarker), std::string::npos);
    const std::string setCookie = headerValue(first, "Set-Cookie");
    ASSERT_EQ(setCookie.rfind("kwsession=", 0), 0u) << setCookie;
    const std::string cookie = "Cookie: " + setCookie.substr(0, setCookie.find(';')) + "\r\n";
    const std::string random = hiddenValue(first, "random");
    EXPECT_EQ(hiddenValue(first, "seed"), "golf+clubs");
    EXPECT_NE(first.find("<img src=\"http://" + standin.hostPort() + "/captcha.png?random=" + random + "&amp;size=5\""),
              std::string::npos);
    const std::string characters = standin.captchaText(random);
    ASSERT_EQ(characters.size(), 5u);

    // A wrong answer brings a new image; the old one cannot be answered again.
    const std::string wrong = RawGet(standin.port(),
                                     "/keyword-suggestion-tool.html?password=" + std::string(characters.size(), '-') +
                                         "&random=" + random + "&seed=golf+clubs",
                                     cookie);
    ASSERT_NE(wrong.find(kMarker), std::string::npos);
    const std::string random2 = hiddenValue(wrong, "random");
    EXPECT_NE(random2, random);
    EXPECT_EQ(standin.captchaText(), standin.captchaText(random2));

    // The right characters without the cookie are not enough.
    const std::string characters2 = standin.captchaText(random2);
    const std::string noCookie = RawGet(standin.port(), "/keyword-suggestion-tool.html?password=" + characters2 +
                                                            "&random=" + random2 + "&seed=golf+clubs");
    ASSERT_NE(noCookie.find(kMarker), std::string::npos);

    // With it (letter case aside), the results for the keyword of the first request.
    const std::string random3 = hiddenValue(noCookie, "random");
    std::string typed = standin.captchaText(random3);
    for (char& c : typed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string right =
        RawGet(standin.port(), "/keyword-suggestion-tool.html?password=" + typed + "&random=" + random3 + "&seed=other",
               cookie);
    // (the image was shown to a request without a cookie, so it belongs to another session)
    ASSERT_NE(right.find(kMarker), std::string::npos);
    const std::string random4 = hiddenValue(right, "random");
    const std::string done = RawGet(
        standin.port(),
        "/keyword-suggestion-tool.html?password=" + standin.captchaText(random4) + "&random=" + random4 + "&seed=other",
        cookie);
    EXPECT_EQ(done.find(kMarker), std::string::npos);
    EXPECT_EQ(BodyOf(done), standin::SuggestionPage("golf clubs"));

    // The session has passed: suggestions come at once, for any keyword.
    EXPECT_EQ(BodyOf(RawGet(standin.port(), "/?seed=shoes&adult_filter=remove_offensive&suggest=Hit+Me", cookie)),
              standin::SuggestionPage("shoes"));
    EXPECT_NE(RawGet(standin.port(), kSuggest).find(kMarker), std::string::npos);  // a new session does not
}

TEST(Standin, CaptchaOptions) {
    StandinServer fixed({"--captcha", "always", "--captcha-text", "AB12C"});
    const std::string first = RawGet(fixed.port(), kSuggest);
    EXPECT_EQ(fixed.captchaText(hiddenValue(first, "random")), "AB12C");

    StandinServer never({"--captcha=never"});
    EXPECT_EQ(BodyOf(RawGet(never.port(), kSuggest)), standin::SuggestionPage("golf clubs"));
    EXPECT_EQ(headerValue(RawGet(never.port(), "/"), "Content-Type"), "text/html");
}

TEST(Standin, SecurityImageIsAPng) {
    StandinServer standin({"--captcha-text", "XY7"});
    const std::string page = RawGet(standin.port(), kSuggest);
    const std::string random = hiddenValue(page, "random");
    const std::string image = RawGet(standin.port(), "/captcha.png?random=" + random + "&size=5");
    EXPECT_EQ(headerValue(image, "Content-Type"), "image/png");
    const std::string png = BodyOf(image);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    const auto be32 = [&](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 3u * 7 * 5 + 4 * 5);  // three characters of 7 dots of 5 pixels, two margins of 2 dots
    EXPECT_EQ(be32(20), 7u * 5 + 4 * 5);
    EXPECT_EQ(RawGet(standin.port(), "/captcha.png?random=nope").rfind("HTTP/1.1 404", 0), 0u);

    // A size that is no number keeps the default; a huge one is held to 16 pixels a dot.
    EXPECT_EQ(BodyOf(RawGet(standin.port(), "/captcha.png?random=" + random + "&size=5x")), png);
    const std::string big = BodyOf(RawGet(standin.port(), "/captcha.png?random=" + random + "&size=99999999999"));
    EXPECT_EQ(big, BodyOf(RawGet(standin.port(), "/captcha.png?random=" + random + "&size=5")));
    const std::string huge = BodyOf(RawGet(standin.port(), "/captcha.png?random=" + random + "&size=1000"));
    ASSERT_GT(huge.size(), 24u);
    EXPECT_EQ(static_cast<unsigned char>(huge[18]) * 256 + static_cast<unsigned char>(huge[19]), 3 * 7 * 16 + 4 * 16);
}

TEST(Standin, EnginesAnswerEachTheirOwnWay) {
    StandinServer standin;
    const std::string google = RawGet(standin.port(), "/search?q=%22golf+clubs%22");
    EXPECT_EQ(headerValue(google, "Transfer-Encoding"), "chunked");
    EXPECT_EQ(headerValue(google, "Content-Length"), "");
    EXPECT_EQ(BodyOf(google), standin::EnginePage(Engine::Google, "golf clubs", true));

    const std::string moved = RawGet(standin.port(), "/search?p=golf+clubs");
    EXPECT_EQ(moved.rfind("HTTP/1.1 302", 0), 0u);
    EXPECT_EQ(headerValue(moved, "Location"), "http://" + standin.hostPort() + "/search?p=golf+clubs&fr=yfp-t-501");
    const std::string yahoo = RawGet(standin.port(), "/search?p=golf+clubs&fr=yfp-t-501");
    const std::string yahooPage = standin::EnginePage(Engine::Yahoo, "golf clubs", false);
    EXPECT_EQ(headerValue(yahoo, "Content-Length"), std::to_string(yahooPage.size()));
    EXPECT_EQ(BodyOf(yahoo), yahooPage);

    const std::string msn = RawGet(standin.port(), "/results.aspx?q=golf+clubs");
    EXPECT_EQ(headerValue(msn, "Content-Length"), "");
    EXPECT_EQ(headerValue(msn, "Transfer-Encoding"), "");
    EXPECT_EQ(headerValue(msn, "Connection"), "close");
    EXPECT_EQ(BodyOf(msn), standin::EnginePage(Engine::Msn, "golf clubs", false));

    EXPECT_EQ(standin.requests(true),
              (std::vector<std::string>{"/search?q=%22golf+clubs%22", "/search?p=golf+clubs",
                                        "/search?p=golf+clubs&fr=yfp-t-501", "/results.aspx?q=golf+clubs"}));
    EXPECT_TRUE(standin.requests().empty());
    EXPECT_NE(RawGet(standin.port(), "/likes/QOLVA12345").find("<b id=\"affiliate\">12345</b>"), std::string::npos);
    EXPECT_EQ(RawGet(standin.port(), "/nothing").rfind("HTTP/1.1 404", 0), 0u);
}

TEST(Standin, FailuresAndDelays) {
    StandinServer standin({"--fail", "yahoo"});
    EXPECT_EQ(RawGet(standin.port(), "/search?p=x").rfind("HTTP/1.1 503", 0), 0u);
    EXPECT_EQ(headerValue(RawGet(standin.port(), "/search?p=x"), "Location"), "");
    EXPECT_EQ(RawGet(standin.port(), "/search?q=x").rfind("HTTP/1.1 200", 0), 0u);

    // Cut: the promised length is not delivered, also for the engines without a length of their own.
    standin.configure("fail=google,msn&fail-mode=cut");
    for (const std::string target : {"/search?q=x", "/results.aspx?q=x"}) {
        const std::string cut = RawGet(standin.port(), target);
        const size_t promised = std::stoul(headerValue(cut, "Content-Length"));
        EXPECT_LT(BodyOf(cut).size(), promised) << target;
    }

    // A delayed service holds its answer until the delay ends or the settings change; the others answer.
    standin.configure("fail=none&delay=600000&delay-for=msn");
    std::future<std::string> held =
        std::async(std::launch::async, [&] { return RawGet(standin.port(), "/results.aspx?q=x"); });
    EXPECT_EQ(RawGet(standin.port(), "/search?q=x").rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_EQ(held.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    standin.configure("delay=0");
    EXPECT_EQ(BodyOf(held.get()), standin::EnginePage(Engine::Msn, "x", false));

    // Trickle: the same bytes, in 1 KiB pieces.
    standin.configure("delay=0&trickle=100");
    const std::string slow = RawGet(standin.port(), "/results.aspx?q=x");
    EXPECT_EQ(BodyOf(slow), standin::EnginePage(Engine::Msn, "x", false));
    standin.configure("delay-for=yahoo");
    const std::string slowYahoo = RawGet(standin.port(), "/search?p=x&fr=1");
    EXPECT_EQ(headerValue(slowYahoo, "Content-Length"), std::to_string(BodyOf(slowYahoo).size()));
    EXPECT_EQ(BodyOf(slowYahoo), standin::EnginePage(Engine::Yahoo, "x", false));

    EXPECT_THROW(standin.configure("fail=bogus"), std::runtime_error);
    EXPECT_THROW(standin.configure("delay=-1"), std::runtime_error);
    EXPECT_THROW(standin.configure("nonsense=1"), std::runtime_error);
}

// A fault list as a query value: its "=" and "," escaped.
std::string FaultsQuery(std::string list) {
    std::string query = "faults=";
    for (char c : list) query += c == '=' ? "%3D" : c == ',' ? "%2C" : std::string(1, c);
    return query;
}

// Whether `response` is an answer that came whole: a status line, the headers and as many bytes as they promise.
bool Whole(const std::string& response) {
    const size_t headEnd = response.find("\r\n\r\n");
    if (headEnd == std::string::npos) return false;
    const std::string length = headerValue(response, "Content-Length");
    return length.empty() || response.size() - headEnd - 4 == std::stoul(length);
}

TEST(StandinFaults, EachKindAsConfigured) {
    StandinServer standin({"--faults", "reset=1", "--seed", "7", "--retry-after", "4"});
    const std::string page = standin::EnginePage(Engine::Msn, "x", false);
    const struct {
        const char* faults;
        const char* target;
        const char* status;  // the answer's status line starts so; empty: no answer at all
        bool whole;
    } cases[] = {
        {"reset=1", "/results.aspx?q=x", "", false},
        {"reset-mid=1", "/results.aspx?q=x", "HTTP/1.1 200", false},
        {"cut=1", "/results.aspx?q=x", "HTTP/1.1 200", false},
        {"cut=1", "/search?q=x", "HTTP/1.1 200", false},
        {"500=1", "/search?p=x", "HTTP/1.1 500", true},
        {"503=1:7", "/results.aspx?q=x", "HTTP/1.1 503", true},
        {"429=1:2", "/count?q=x", "HTTP/1.1 429", true},
        {"stall=1:0", "/results.aspx?q=x", "HTTP/1.1 200", true},
        {"trickle=1:5", "/results.aspx?q=x", "HTTP/1.1 200", true},
    };
    for (const auto& c : cases) {
        standin.configure(FaultsQuery(c.faults));
        standin.faults(true);
        const std::string response = RawGet(standin.port(), c.target);
        if (*c.status) EXPECT_EQ(response.rfind(c.status, 0), 0u) << c.faults << ": " << response.substr(0, 40);
        else EXPECT_EQ(response, "") << c.faults;
        EXPECT_EQ(Whole(response), c.whole) << c.faults;
        // The list of faults made names the kind and the request; the control paths never fail.
        const std::string name = std::string(c.faults).substr(0, std::string(c.faults).find('='));
        EXPECT_EQ(standin.faults(), std::vector<std::string>{name + " " + c.target}) << c.faults;
    }

    standin.configure(FaultsQuery("503=1:7"));
    EXPECT_EQ(headerValue(RawGet(standin.port(), "/search?q=x"), "Retry-After"), "7");
    standin.configure(FaultsQuery("429=1:2"));
    EXPECT_EQ(headerValue(RawGet(standin.port(), "/search?q=x"), "Retry-After"), "4");
    // A redirect that fails goes nowhere.
    standin.configure(FaultsQuery("500=1"));
    EXPECT_EQ(headerValue(RawGet(standin.port(), "/search?p=x"), "Location"), "");
    // A stall and a trickle change when the bytes come, not which.
    for (const char* faults : {"stall=1:0", "trickle=1:5"}) {
        standin.configure(FaultsQuery(faults));
        EXPECT_EQ(BodyOf(RawGet(standin.port(), "/results.aspx?q=x")), page) << faults;
    }
    standin.configure("faults=none");
    EXPECT_EQ(BodyOf(RawGet(standin.port(), "/results.aspx?q=x")), page);
    EXPECT_THROW(standin.configure(FaultsQuery("bogus=1")), std::runtime_error);
    EXPECT_THROW(standin.configure("seed=-3"), std::runtime_error);
}

TEST(StandinFaults, TheSameSeedMakesTheSameFaultsOnTheSameRequests) {
    const std::vector<std::string> options = {"--faults", "reset=0.2,500=0.2,cut=0.2", "--seed", "11"};
    std::vector<std::string> made[2];
    for (auto& faults : made) {
        StandinServer standin(options);
        for (int i = 0; i < 30; ++i) RawGet(standin.port(), "/search?q=k" + std::to_string(i));
        faults = standin.faults();
    }
    EXPECT_EQ(made[0], made[1]);
    EXPECT_GT(made[0].size(), 5u);
    EXPECT_LT(made[0].size(), 30u);
}

TEST(Standin, RefusesBadCommandLines) {
    EXPECT_THROW(StandinServer({"--delay", "soon"}), std::runtime_error);
    EXPECT_THROW(StandinServer({"--captcha-text", "a b"}), std::runtime_error);
    EXPECT_THROW(StandinServer({"--fail"}), std::runtime_error);
    EXPECT_THROW(StandinServer({"--faults", "reset=2"}), std::runtime_error);
    EXPECT_THROW(StandinServer({"--seed", "soon"}), std::runtime_error);
}

}  // namespace
}  // namespace dorvanel::test
