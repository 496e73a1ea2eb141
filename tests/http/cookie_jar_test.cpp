#include "http/cookie_jar.h"

#include <gtest/gtest.h>

#include "http/exceptions.h"
#include "http/http_date.h"

namespace dorvanel::http {
namespace {

std::string headerFor(TNetCookieManager& jar, const std::string& url, bool secure = false) {
    return jar.CookieHeaderFor(TNetURI(url), secure);
}

const TNetNetscapeCookie* find(TNetCookieManager& jar, const std::string& domain, const std::string& name) {
    for (const auto& entry : jar.CookieCollection().Domains()) {
        if (entry.Domain != domain) continue;
        const int index = entry.Cookies.IndexOfName(name);
        if (index >= 0) return entry.Cookies.Items[static_cast<size_t>(index)].second.get();
    }
    return nullptr;
}

TEST(CookieParse, NameValueAndAttributes) {
    TNetCookieRFC2109 cookie;
    cookie.ParseCookieText("SID=abc=1; path=\"/a/\"; domain=.shop.test; secure; Comment=hi; Version=1");
    EXPECT_EQ(cookie.CookieName, "SID");
    EXPECT_EQ(cookie.CookieValue, "abc=1");
    EXPECT_EQ(cookie.PathText, "/a/");
    EXPECT_EQ(cookie.DomainText, ".shop.test");
    EXPECT_TRUE(cookie.IsSecure);
    EXPECT_EQ(cookie.CommentText, "hi");
    EXPECT_EQ(cookie.VersionText, "1");
    EXPECT_EQ(cookie.ExpiresText, "");
    EXPECT_EQ(cookie.MaxAgeSeconds, -1);
    EXPECT_EQ(cookie.Flavor, 0);
    EXPECT_EQ(cookie.ClientForm(), "SID=abc=1");
}

TEST(CookieParse, TextWithoutSemicolonIsOneUntrimmedItem) {
    TNetCookieRFC2109 cookie;
    cookie.ParseCookieText("a= 1 ");
    EXPECT_EQ(cookie.CookieName, "a");
    EXPECT_EQ(cookie.CookieValue, " 1 ");
    cookie.ParseCookieText("novalue; path=/");
    EXPECT_EQ(cookie.CookieName, "");
    EXPECT_EQ(cookie.CookieValue, "");
    EXPECT_EQ(cookie.PathText, "/");
}

TEST(CookieParse, ExpiresKeepsTheFlavourAndMaxAgeMakesAnExpiry) {
    TNetCookieRFC2109 withDate;
    withDate.ParseCookieText("a=1; expires=Thu, 01 Jan 2037 00:00:00 GMT");
    EXPECT_EQ(withDate.Flavor, 1);
    EXPECT_EQ(withDate.ExpiresText, "Thu, 01 Jan 2037 00:00:00 GMT");
    EXPECT_EQ(withDate.MaxAgeSeconds, -1);  // no max-age item: the count from the date is replaced

    TNetCookieRFC2109 withAge;
    withAge.ParseCookieText("a=1; max-age=3600");
    EXPECT_EQ(withAge.Flavor, 0);
    EXPECT_EQ(withAge.MaxAgeSeconds, 3600);
    EXPECT_NEAR(ParseHttpDate(withAge.ExpiresText), Now() + 1.0 / 24, 5.0 / 86400);
    EXPECT_EQ(withAge.ServerForm().find("max-age"), std::string::npos);
    EXPECT_NE(withAge.ServerForm().find("; expires="), std::string::npos);

    TNetCookieRFC2109 badAge;
    badAge.ParseCookieText("a=1; max-age=soon");
    EXPECT_EQ(badAge.MaxAgeSeconds, -1);
    EXPECT_EQ(badAge.ExpiresText, "");
}

TEST(CookieParse, SameTextTwiceIsReadOnce) {
    TNetCookieRFC2109 cookie;
    cookie.ParseCookieText("a=1; path=/");
    cookie.PathText = "/changed";
    cookie.ParseCookieText("a=1; path=/");
    EXPECT_EQ(cookie.PathText, "/changed");
}

TEST(CookieParse, ServerFormLeavesOutEmptyItems) {
    TNetCookieRFC2109 cookie;
    cookie.ParseCookieText("a=1; path=/x; domain=.h.test; secure; comment=c; version=1");
    EXPECT_EQ(cookie.ServerForm(), "a=1; path=/x; domain=.h.test; secure; comment=c; version=1");
}

TEST(CookieParse, Rfc2965Ports) {
    TNetCookieRFC2965 cookie;
    cookie.ParseCookieText("c=3; Port=\"80,8080\"; path=/; CommentURL=http://h/; Discard");
    EXPECT_EQ(cookie.Ports, (std::vector<int32_t>{80, 8080}));
    EXPECT_EQ(cookie.CommentUrlText, "http://h/");
    EXPECT_TRUE(cookie.IsDiscard);
    EXPECT_EQ(cookie.Flavor, 0);

    TNetCookieRFC2965 plain;
    plain.ParseCookieText("c=3; Port");
    EXPECT_EQ(plain.Ports, std::vector<int32_t>{80});
    TNetCookieRFC2965 empty;
    empty.ParseCookieText("c=3; Port=\"\"");
    EXPECT_EQ(empty.Ports, std::vector<int32_t>{80});
    TNetCookieRFC2965 unquoted;
    unquoted.ParseCookieText("c=3; Port=81");
    EXPECT_TRUE(unquoted.Ports.empty());

    TNetCookieRFC2965 bad;
    EXPECT_THROW(bad.ParseCookieText("c=3; Port=\"80,http\""), ENetConvertError);
}

TEST(CookieOrigin, DomainMustBeTheHostOrItsParentWithADot) {
    TNetCookieRFC2109 cookie;
    cookie.DomainText = "web.shop.test";
    EXPECT_TRUE(cookie.MatchesOrigin("web.shop.test"));
    cookie.DomainText = ".shop.test";
    EXPECT_TRUE(cookie.MatchesOrigin("web.shop.test"));
    cookie.DomainText = "shop.test";
    EXPECT_FALSE(cookie.MatchesOrigin("web.shop.test"));
    cookie.DomainText = ".test";
    EXPECT_FALSE(cookie.MatchesOrigin("web.shop.test"));
    cookie.DomainText = "127.0.0.1";
    EXPECT_TRUE(cookie.MatchesOrigin("127.0.0.1"));
    cookie.DomainText = ".0.0.1";
    EXPECT_FALSE(cookie.MatchesOrigin("127.0.0.1"));
}

TEST(CookieOrigin, DottedAddresses) {
    EXPECT_TRUE(IsDottedAddress("127.0.0.1"));
    EXPECT_TRUE(IsDottedAddress("255.255.255.255"));
    EXPECT_FALSE(IsDottedAddress("256.0.0.1"));
    EXPECT_FALSE(IsDottedAddress("1.2.3"));
    EXPECT_FALSE(IsDottedAddress("1.2.3.4.5"));
    EXPECT_FALSE(IsDottedAddress("1.2.3."));
    EXPECT_FALSE(IsDottedAddress("a.b.c.d"));
    EXPECT_FALSE(IsDottedAddress(""));
}

TEST(CookieJar, DomainCookieGoesToTheDomainAndItsSubdomains) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("SID=abc=1; path=/; domain=.shop.test", TNetURI("http://web.shop.test/"));
    ASSERT_NE(find(jar, ".shop.test", "SID"), nullptr);
    EXPECT_EQ(headerFor(jar, "http://WEB.Shop.TEST/x"), "SID=abc=1");
    EXPECT_EQ(headerFor(jar, "http://shop.test/"), "SID=abc=1");
    EXPECT_EQ(headerFor(jar, "http://a.b.shop.test/"), "SID=abc=1");
}

TEST(CookieJar, NoCookieForAHostThatOnlyContainsTheDomain) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("a=1; path=/", TNetURI("http://shop.test/"));
    EXPECT_EQ(headerFor(jar, "http://shop.test/"), "a=1");
    EXPECT_EQ(headerFor(jar, "http://notshop.test/"), "");
    EXPECT_EQ(headerFor(jar, "http://shop.test.evil/"), "");
    // Without a Domain attribute the cookie is the host's alone.
    EXPECT_EQ(headerFor(jar, "http://www.shop.test/"), "");
}

TEST(CookieJar, PublicSuffixDomainIsRefused) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("a=1; path=/; Domain=com", TNetURI("http://shop.com/"));
    jar.AcceptSetCookie("b=1; path=/; domain=.test", TNetURI("http://shop.test/"));
    jar.AcceptSetCookie("c=1; path=/; domain=co.uk", TNetURI("http://www.shop.co.uk/"));
    jar.AcceptSetCookie("d=1; path=/; domain=.CO.UK", TNetURI("http://www.shop.co.uk/"));
    jar.AcceptSetCookie("e=1; path=/; domain=other.test", TNetURI("http://www.shop.test/"));
    jar.AcceptSetCookie("f=1; path=/; domain=0.0.1", TNetURI("http://127.0.0.1/"));
    EXPECT_EQ(jar.CookieCollection().Count(), 0);
    // The host itself needs no dot: a single-label host keeps its own cookies.
    jar.AcceptSetCookie("d=1; path=/", TNetURI("http://localhost/"));
    EXPECT_EQ(headerFor(jar, "http://localhost/"), "d=1");
}

TEST(CookieJar, PathlessCookieReturnsToItsDirectoryAndBelow) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("a=1", TNetURI("http://h.test/shop/list.html?p=2"));
    EXPECT_EQ(find(jar, "h.test", "a")->PathText, "/shop/");
    EXPECT_EQ(headerFor(jar, "http://h.test/shop/"), "a=1");
    EXPECT_EQ(headerFor(jar, "http://h.test/shop/deep/x"), "a=1");
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(headerFor(jar, "http://h.test/other/"), "");
}

TEST(CookieJar, SameDomainAndNameReplacesTheOldCookie) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("a=1; path=/", origin);
    jar.AcceptSetCookie("A=2; path=/x", origin);
    EXPECT_EQ(jar.CookieCollection().Count(), 1);
    const auto* cookie = find(jar, "h.test", "a");
    ASSERT_NE(cookie, nullptr);
    EXPECT_EQ(cookie->CookieValue, "2");
    EXPECT_EQ(cookie->PathText, "/x");
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(headerFor(jar, "http://h.test/x/"), "A=2");
}

TEST(CookieJar, ReplacementWithAPastDateDeletesTheCookie) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("s=1; path=/", origin);
    jar.AcceptSetCookie("s=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", origin);
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(jar.CookieCollection().Count(), 0);
}

TEST(CookieJar, EmptiedValueIsNotSentAndDoesNotTurnIntoAnAttribute) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("s=1; path=/", origin);
    jar.AcceptSetCookie("s=; path=/", origin);
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(find(jar, "h.test", "path"), nullptr);
}

TEST(CookieJar, MaxAgeZeroAndPastExpiryArePurged) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("b=1; path=/; max-age=0", origin);
    jar.AcceptSetCookie("c=1; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", origin);
    jar.AcceptSetCookie("d=1; path=/; expires=not a date", origin);
    jar.AcceptSetCookie("e=1; path=/; expires=Thu, 01 Jan 2037 00:00:00 GMT", origin);
    EXPECT_EQ(jar.CookieCollection().Count(), 4);
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "e=1");
    EXPECT_EQ(jar.CookieCollection().Count(), 1);
}

TEST(CookieJar, LongerPathsFirstThenInTheOrderTaken) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("p=1; path=/", origin);
    jar.AcceptSetCookie("q=2; path=/a/", origin);
    EXPECT_EQ(headerFor(jar, "http://h.test/a/b/"), "q=2; p=1");
    jar.AcceptSetCookie("r=3; path=/", origin);
    // Equal paths: the most recently added name is taken first.
    EXPECT_EQ(headerFor(jar, "http://h.test/a/b/"), "q=2; r=3; p=1");
    EXPECT_EQ(headerFor(jar, "http://h.test/A/"), "r=3; p=1");
}

TEST(CookieJar, SecureCookieOnlyOverTls) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("s=1; path=/; secure", TNetURI("https://h.test/"));
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(headerFor(jar, "http://h.test/", true), "s=1");
}

TEST(CookieJar, SetCookie2StoresPortsThatDoNotAffectSending) {
    TNetCookieManager jar;
    jar.AcceptSetCookie2("c=3; Port=\"80,8080\"; path=/", TNetURI("http://h.test:9999/"));
    const auto* cookie = dynamic_cast<const TNetCookieRFC2965*>(find(jar, "h.test", "c"));
    ASSERT_NE(cookie, nullptr);
    EXPECT_EQ(cookie->Ports, (std::vector<int32_t>{80, 8080}));
    EXPECT_EQ(headerFor(jar, "http://h.test:9999/"), "c=3");
    EXPECT_THROW(jar.AcceptSetCookie2("c=4; Port=\"x\"", TNetURI("http://h.test/")), ENetConvertError);
    EXPECT_EQ(find(jar, "h.test", "c")->CookieValue, "3");
}

TEST(CookieJar, OnNewCookieCanRefuse) {
    TNetCookieManager jar;
    std::vector<std::string> seen;
    jar.OnNewCookie = [&](TNetCookieManager&, TNetNetscapeCookie& cookie, bool& accept) {
        seen.push_back(cookie.CookieName);
        accept = cookie.CookieName != "no";
    };
    jar.AcceptSetCookie("no=1; path=/", TNetURI("http://h.test/"));
    jar.AcceptSetCookie("yes=1; path=/", TNetURI("http://h.test/"));
    jar.AcceptSetCookie("foreign=1; path=/; domain=.other.test", TNetURI("http://h.test/"));
    EXPECT_EQ(seen, (std::vector<std::string>{"no", "yes"}));
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "yes=1");
}

TEST(CookieJar, CreateAndDestroyEvents) {
    int created = 0;
    int destroyedWith = -1;
    {
        TNetCookieManager jar([&](TNetCookieManager&, TNetCookies& cookies) { created += 1 + cookies.Count(); });
        jar.OnDestroy = [&](TNetCookieManager&, TNetCookies& cookies) { destroyedWith = cookies.Count(); };
        jar.AcceptSetCookie("a=1; path=/", TNetURI("http://h.test/"));
        jar.AcceptSetCookie("b=1; path=/; max-age=0", TNetURI("http://h.test/"));
    }
    EXPECT_EQ(created, 1);
    EXPECT_EQ(destroyedWith, 1);  // purged first
}

TEST(CookieJar, LockIsReentrantForItsWriter) {
    TNetCookies cookies;
    cookies.LockCookieList(TNetCookieAccess::Write);
    auto cookie = std::make_unique<TNetCookieRFC2109>();
    cookie->CookieName = "a";
    cookie->CookieValue = "1";
    cookie->DomainText = "h.test";
    cookies.StoreCookie(std::move(cookie));
    cookies.LockCookieList(TNetCookieAccess::Read);
    EXPECT_EQ(cookies.Count(), 1);
    cookies.UnlockCookieList(TNetCookieAccess::Read);
    cookies.UnlockCookieList(TNetCookieAccess::Write);
    cookies.PurgeExpired();
    EXPECT_EQ(cookies.Count(), 1);
}

TEST(CookieJar, HostileValuesDoNotBreakTheJar) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    for (const char* text : {"", ";", ";;;", "=", "=x; path=/", "a", "a=1;path", "a=1; expires=", "a=1; max-age=-5",
                             "a=1; max-age=999999999999999999999", "a=1; max-age=9223372036854775807; path=/",
                             "a=1; domain=", "a=1; domain=.", "a=1; domain=..", "\x01\xff=\x80; path=/"}) {
        EXPECT_NO_THROW(jar.AcceptSetCookie(text, origin)) << text;
    }
    EXPECT_NO_THROW(headerFor(jar, "http://h.test/"));
}

TEST(CookieJar, DomainAttributeWithoutLeadingDotReachesSiblings) {
    TNetCookieManager jar;
    jar.AcceptSetCookie("a=1; path=/; Domain=Shop.TEST", TNetURI("http://www.shop.test/"));
    jar.AcceptSetCookie("b=1; path=/; Domain=.shop.test", TNetURI("http://WWW.SHOP.TEST/"));
    EXPECT_EQ(headerFor(jar, "http://img.shop.test/"), "b=1; a=1");
    EXPECT_EQ(headerFor(jar, "http://shop.test/"), "b=1; a=1");
    EXPECT_EQ(headerFor(jar, "http://shop.test.evil/"), "");
    // A domain that is the host itself, even a public suffix, stays with that host.
    jar.AcceptSetCookie("c=1; path=/; Domain=localhost", TNetURI("http://localhost/"));
    EXPECT_EQ(headerFor(jar, "http://localhost/"), "c=1");
}

TEST(CookieJar, NegativeMaxAgeDeletesWhateverTheExpiresSays) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    jar.AcceptSetCookie("s=1; path=/", origin);
    jar.AcceptSetCookie("s=2; path=/; max-age=-1", origin);
    jar.AcceptSetCookie("t=1; path=/; expires=Thu, 01 Jan 2037 00:00:00 GMT; max-age=-30", origin);
    jar.AcceptSetCookie("u=1; path=/; expires=Thu, 01 Jan 2037 00:00:00 GMT; max-age=0", origin);
    EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
    EXPECT_EQ(jar.CookieCollection().Count(), 0);
}

TEST(CookieJar, MaxAgeOfZeroOrBelowDeletesAtAnyMomentOfASecond) {
    // The jar's clock stands at moments of 2026-12-09 12:00:00, the last ones within half a millisecond of
    // the next second, where writing "now" as a date would round up and keep the cookie a second longer.
    TDateTime day = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 12, 9, day));
    for (const double second : {0.0, 0.5, 0.9995, 0.9997, 0.99999}) {
        for (const char* text : {"s=1; path=/; max-age=-1", "s=1; path=/; max-age=0", "s=1; path=/; max-age=-30",
                                 "s=1; path=/; expires=Thu, 01 Jan 2037 00:00:00 GMT; max-age=-1"}) {
            SCOPED_TRACE(testing::Message() << text << " at +" << second << " s");
            TNetCookieManager jar;
            const TDateTime now = day + (12 * 3600 + second) / 86400.0;
            jar.CookieCollection().Clock = [now] { return now; };
            jar.AcceptSetCookie(text, TNetURI("http://h.test/"));
            EXPECT_EQ(headerFor(jar, "http://h.test/"), "");
            EXPECT_EQ(jar.CookieCollection().Count(), 0);
        }
    }
}

TEST(CookieJar, CookieLargerThanFourKiBOrWithControlBytesIsIgnored) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    const std::string suffix = "; path=/";
    const std::string fits = "a=" + std::string(4096 - 2 - suffix.size(), 'v') + suffix;
    jar.AcceptSetCookie(fits, origin);
    jar.AcceptSetCookie("b=" + std::string(4096 - 1 - suffix.size(), 'v') + suffix, origin);
    jar.AcceptSetCookie("c=1\r\nX-Injected: 1; path=/", origin);
    jar.AcceptSetCookie(std::string("d=1\0x; path=/", 12), origin);
    jar.AcceptSetCookie("e=tab\there; path=/", origin);
    EXPECT_NE(find(jar, "h.test", "a"), nullptr);
    EXPECT_EQ(find(jar, "h.test", "b"), nullptr);
    EXPECT_EQ(find(jar, "h.test", "c"), nullptr);
    EXPECT_EQ(find(jar, "h.test", "d"), nullptr);
    EXPECT_NE(find(jar, "h.test", "e"), nullptr);
}

TEST(CookieJar, FiftyPerDomainTheOldestGoesFirst) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    for (int i = 0; i < 50; ++i) jar.AcceptSetCookie("n" + std::to_string(i) + "=1; path=/", origin);
    jar.AcceptSetCookie("n0=again; path=/", origin);  // a replacement keeps its age
    EXPECT_EQ(jar.CookieCollection().Count(), 50);
    jar.AcceptSetCookie("n50=1; path=/", origin);
    EXPECT_EQ(jar.CookieCollection().Count(), 50);
    EXPECT_EQ(find(jar, "h.test", "n0"), nullptr);
    EXPECT_NE(find(jar, "h.test", "N1"), nullptr);
    EXPECT_NE(find(jar, "h.test", "n50"), nullptr);
    // Names are still found after the shift.
    jar.AcceptSetCookie("n25=changed; path=/", origin);
    EXPECT_EQ(find(jar, "h.test", "n25")->CookieValue, "changed");
    EXPECT_EQ(jar.CookieCollection().Count(), 50);
}

TEST(CookieJar, ThreeThousandInAllTheOldestGoesFirst) {
    TNetCookieManager jar;
    for (int d = 0; d < 61; ++d) {
        const TNetURI origin("http://h" + std::to_string(d) + ".test/");
        for (int i = 0; i < 50; ++i) jar.AcceptSetCookie("n" + std::to_string(i) + "=1; path=/", origin);
    }
    EXPECT_EQ(jar.CookieCollection().Count(), 3000);
    // The first domain lost all fifty of its cookies, oldest first, and its entry with them.
    EXPECT_EQ(headerFor(jar, "http://h0.test/"), "");
    EXPECT_EQ(find(jar, "h1.test", "n0")->CookieValue, "1");
    EXPECT_EQ(jar.CookieCollection().Domains().size(), 60u);
    EXPECT_EQ(jar.CookieCollection().Domains().front().Domain, "h1.test");
}

TEST(CookieJar, CookieHeaderStaysWithinEightKiB) {
    TNetCookieManager jar;
    const TNetURI origin("http://h.test/");
    // Three cookies of 3000 bytes each: two fit (6000 + "; "), the third would pass 8192.
    for (const char* name : {"a", "b", "c"}) {
        jar.AcceptSetCookie(std::string(name) + "=" + std::string(2998, *name) + "; path=/", origin);
    }
    jar.AcceptSetCookie("small=1; path=/", origin);
    const std::string header = headerFor(jar, "http://h.test/");
    EXPECT_LE(header.size(), TNetCookieManager::kMaxCookieHeaderBytes);
    EXPECT_EQ(header, "small=1; c=" + std::string(2998, 'c') + "; b=" + std::string(2998, 'b'));
}

}  // namespace
}  // namespace dorvanel::http

namespace dorvanel::http {
namespace {

// The boundaries RFC 6265 draws, as (Set-Cookie lines with the address that sent each) then (address asked,
// over TLS or not, the Cookie header expected).
TEST(CookieJar, BoundariesBetweenHostsPathsAndSchemes) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> set;  // value, address that sent it
        std::string url;
        bool secure;
        std::string header;
    };
    const Case cases[] = {
        {"host-only stays with its host", {{"a=1; Path=/", "http://shop.test/"}}, "http://www.shop.test/", false, ""},
        {"host-only reaches its host", {{"a=1; Path=/", "http://shop.test/"}}, "http://shop.test/x", false, "a=1"},
        {"path ends at a segment",
         {{"a=1; Path=/admin", "http://shop.test/admin"}},
         "http://shop.test/administrator/",
         false,
         ""},
        {"path itself", {{"a=1; Path=/admin", "http://shop.test/admin"}}, "http://shop.test/admin", false, "a=1"},
        {"path below", {{"a=1; Path=/admin", "http://shop.test/admin"}}, "http://shop.test/admin/x", false, "a=1"},
        {"Secure only from https", {{"s=1; Path=/; Secure", "http://shop.test/"}}, "https://shop.test/", true, ""},
        {"Secure from https", {{"s=1; Path=/; Secure", "https://shop.test/"}}, "https://shop.test/", true, "s=1"},
        {"plain answer cannot replace a Secure cookie",
         {{"s=1; Path=/; Secure", "https://shop.test/"}, {"s=evil; Path=/", "http://shop.test/"}},
         "https://shop.test/",
         true,
         "s=1"},
        {"nor delete it",
         {{"s=1; Path=/; Secure", "https://shop.test/"}, {"s=; Max-Age=0; Path=/", "http://shop.test/"}},
         "https://shop.test/",
         true,
         "s=1"},
        {"nor shadow it from a subdomain",
         {{"s=1; Domain=shop.test; Path=/; Secure", "https://shop.test/"}, {"s=evil; Path=/", "http://www.shop.test/"}},
         "http://www.shop.test/",
         false,
         ""},
        {"https may replace it",
         {{"s=1; Path=/; Secure", "https://shop.test/"}, {"s=2; Path=/", "https://shop.test/"}},
         "https://shop.test/",
         true,
         "s=2"},
    };
    for (const Case& c : cases) {
        TNetCookieManager jar;
        for (const auto& [value, from] : c.set) jar.AcceptSetCookie(value, TNetURI(from));
        EXPECT_EQ(headerFor(jar, c.url, c.secure), c.header) << c.name;
    }
}

}  // namespace
}  // namespace dorvanel::http
