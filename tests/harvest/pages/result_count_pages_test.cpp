#include "harvest/pages/result_count_pages.h"

#include <gtest/gtest.h>

#include "standin/pages.h"

namespace dorvanel::pages {
namespace {

TEST(ResultCountAddress, PreciseQuotesAndBroadDoesNot) {
    EXPECT_EQ(ResultCountAddress(Engine::Google, "g:1", "golf clubs", SearchType::Precise),
              "http://g:1/search?q=%22golf+clubs%22");
    EXPECT_EQ(ResultCountAddress(Engine::Yahoo, "y", "golf clubs", SearchType::Precise),
              "http://y/search?p=%22golf+clubs%22");
    EXPECT_EQ(ResultCountAddress(Engine::Msn, "m", "golf clubs", SearchType::Precise),
              "http://m/results.aspx?q=%22golf+clubs%22");
    EXPECT_EQ(ResultCountAddress(Engine::Google, "g", "golf clubs", SearchType::Broad), "http://g/search?q=golf+clubs");
    EXPECT_EQ(ResultCountAddress(Engine::Yahoo, "y", "golf clubs", SearchType::Broad), "http://y/search?p=golf+clubs");
    EXPECT_EQ(ResultCountAddress(Engine::Msn, "m", "golf clubs", SearchType::Broad),
              "http://m/results.aspx?q=golf+clubs");
    // What the user typed arrives as one value: "&" and "#" cannot end it, "+" is not a blank, bytes above
    // 127 go as the keyword's own escapes.
    const std::pair<const char*, const char*> typed[] = {{" a&b#c ", "+a%26b%23c+"},
                                                         {"AT&T", "AT%26T"},
                                                         {"c++", "c%2B%2B"},
                                                         {"caf\xc3\xa9", "caf%C3%A9"},
                                                         {"100% \"real\"", "100%25+%22real%22"},
                                                         {"*-._", "*-._"}};
    for (const auto& [keyword, encoded] : typed)
        EXPECT_EQ(ResultCountAddress(Engine::Google, "g", keyword, SearchType::Precise),
                  std::string("http://g/search?q=%22") + encoded + "%22");
}

TEST(ResultCountCell, GoogleYahooMsnColumns) {
    EXPECT_EQ(ResultCountCell(Engine::Google), 2);
    EXPECT_EQ(ResultCountCell(Engine::Yahoo), 3);
    EXPECT_EQ(ResultCountCell(Engine::Msn), 4);
}

TEST(CutResultCount, EachEnginesMarkers) {
    EXPECT_EQ(CutResultCount(Engine::Google,
                             "<font size=-1>Results <b>1</b> - <b>10</b> of about <b>1,230,000</b> for <b>x</b>"),
              "1,230,000");
    EXPECT_EQ(CutResultCount(Engine::Yahoo, "1 - 10 of about <span id=\"infototal\">4,560</span> for"), "4,560");
    EXPECT_EQ(CutResultCount(Engine::Msn, "<span id=\"count\">1-10 of 1,234,567 results</span>"), "1,234,567 results");
}

TEST(CutResultCount, ValueIsKeptAsCutAndMarkersIgnoreCase) {
    EXPECT_EQ(CutResultCount(Engine::Yahoo, "<SPAN ID=\"INFOTOTAL\"> 7 &nbsp;</Span>"), " 7 &nbsp;");
    EXPECT_EQ(CutResultCount(Engine::Google, "<FONT SIZE=-1>RESULTS 1 - 10 OF ABOUT <B>12</B>"), "12");
    // " of " inside the MSN range: the first one ends the dropped piece.
    EXPECT_EQ(CutResultCount(Engine::Msn, "<span id=\"count\">1-10 of about 5 of 9</span>"), "about 5 of 9");
}

TEST(CutResultCount, MissingMarkersGiveEmptyText) {
    for (Engine e : kEngines) EXPECT_EQ(CutResultCount(e, "<html>no results</html>"), "");
    EXPECT_EQ(CutResultCount(Engine::Yahoo, "<span id=\"infototal\">12"), "");
    EXPECT_EQ(CutResultCount(Engine::Msn, "<span id=\"count\">12 results</span>"), "");
    // Without the Google lead-in the second cut still searches the whole page.
    EXPECT_EQ(CutResultCount(Engine::Google, "of about <b>5</b>"), "5");
}

TEST(CutResultCount, TheMsnCountIsCutInsideItsSpan) {
    // A " of " outside the count's span, before it, after it or with no span at all, is never the cut.
    struct Case {
        const char* page;
        const char* count;
    };
    for (const Case& c : {
             Case{"<title>history of golf</title><span id=\"count\">1-10 of 77 results</span>", "77 results"},
             Case{"<span id=\"count\">1-10 OF 77</span><title>history of golf</title>", "77"},
             Case{"<span id=\"count\">12 results</span><title>history of golf</title><p>x</span>", ""},
             Case{"<title>history of golf</title><span>12 results</span>", ""},
             Case{"<span id=\"count\">1-10 of 77 results <title>history of golf</title>", ""},
             Case{"<span id=\"count\"> of </span>", ""},
         }) {
        EXPECT_EQ(CutResultCount(Engine::Msn, c.page), c.count) << c.page;
    }
}

TEST(CutResultCount, ReadsEveryStandInPage) {
    for (const char* keyword : {"golf clubs", "shoes", "women's golf & bags"}) {
        for (Engine e : kEngines) {
            const auto se = static_cast<standin::Engine>(static_cast<int>(e));
            for (bool precise : {true, false}) {
                EXPECT_EQ(CutResultCount(e, standin::EnginePage(se, keyword, precise)),
                          standin::CountCellText(se, keyword, precise))
                    << keyword << " engine " << static_cast<int>(e) << " precise " << precise;
            }
            EXPECT_LT(standin::ResultCountValue(se, keyword, true), standin::ResultCountValue(se, keyword, false));
        }
    }
}

TEST(CutResultCount, EveryCutOfAPageIsSafe) {
    for (Engine e : kEngines) {
        const auto se = static_cast<standin::Engine>(static_cast<int>(e));
        const std::string page = standin::EnginePage(se, "golf clubs", false);
        const std::string full = CutResultCount(e, page);
        for (size_t n = 0; n < page.size(); ++n) {
            const std::string piece = CutResultCount(e, page.substr(0, n));
            EXPECT_TRUE(piece.empty() || piece == full) << n;
        }
    }
}

}  // namespace
}  // namespace dorvanel::pages
