#include "harvest/pages/suggestion_pages.h"

#include <gtest/gtest.h>

#include <random>

#include "support/plain/suggestions_by_rule.h"

#include "standin/pages.h"

namespace dorvanel::pages {
namespace {

// A result page as the service writes it: rows follow the table foot.
const std::string kPage =
    "<table><thead><tr><th>Searches</th><th>Keyword</th></tr></thead>\r\n"
    "<tfoot><tr><td>3 keywords</td></tr></tfoot>\r\n<tbody>\r\n"
    "<tr><td> 1,234 </td><td><a href=\"/?seed=golf+clubs\">golf&nbsp;clubs</a></td></tr>\r\n"
    "<tr><td><b>987</b></td><td><a href=\"/?seed=x\">women&#039;s golf &amp;amp; <wbr>bags</a></td></tr>\r\n"
    "<tr><td>\r\n  12\r\n</td><td><a href=\"/?seed=y\">  <em>cheap</em> clubs\r\n</a></td></tr>\r\n"
    "</tbody></table>\r\n";

TEST(SuggestionAddresses, UserTextIsFormEncoded) {
    EXPECT_EQ(SuggestionsAddress("kw.example", "golf clubs"),
              "http://kw.example/?seed=golf+clubs&adult_filter=remove_offensive&suggest=Hit+Me");
    EXPECT_EQ(SuggestionsAddress("127.0.0.1:8080", " a&b \"c\" "),
              "http://127.0.0.1:8080/?seed=+a%26b+%22c%22+&adult_filter=remove_offensive&suggest=Hit+Me");
    // The answer and both hidden values go back as the page and the user gave them.
    EXPECT_EQ(CaptchaAnswerAddress("h:1", "Ab 3&", "42", "golf+clubs"),
              "http://h:1/keyword-suggestion-tool.html?password=Ab+3%26&random=42&seed=golf%2Bclubs");
    EXPECT_EQ(CaptchaAnswerAddress("h", "", "", ""), "http://h/keyword-suggestion-tool.html?password=&random=&seed=");
}

TEST(SecurityImagePage, MarkerIsMatchedWithItsLetterCase) {
    EXPECT_TRUE(IsSecurityImagePage("<p>Please enter the characters in the image below</p>"));
    EXPECT_FALSE(IsSecurityImagePage("<p>please enter the characters in the image</p>"));
    EXPECT_FALSE(IsSecurityImagePage("Please enter the characters in the imag"));
}

TEST(ParseSuggestions, CleansEachCountAndKeyword) {
    const auto rows = ParseSuggestions(kPage);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].count, "1,234");
    EXPECT_EQ(rows[0].keyword, "golf clubs");
    EXPECT_EQ(rows[1].count, "987");
    EXPECT_EQ(rows[1].keyword, "women's golf & bags");
    EXPECT_EQ(rows[2].count, "12");
    EXPECT_EQ(rows[2].keyword, "cheap clubs");
}

TEST(ParseSuggestions, RowTagsInUpperCaseButNotTheFoot) {
    std::string upper = kPage;
    for (auto [from, to] : {std::pair{"<tr><td>", "<TR><TD>"}, {"</td>", "</TD>"}, {"</a>", "</A>"}}) {
        for (size_t at = upper.find(from); at != std::string::npos; at = upper.find(from, at))
            upper.replace(at, std::string_view(from).size(), to);
    }
    const auto rows = ParseSuggestions(upper);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].keyword, "cheap clubs");

    std::string foot = kPage;
    foot.replace(foot.find("</tfoot>"), 8, "</TFOOT>");
    EXPECT_TRUE(ParseSuggestions(foot).empty());
}

TEST(ParseSuggestions, RowsEndAtAnEmptyCountOrTheLastRow) {
    EXPECT_TRUE(ParseSuggestions("").empty());
    EXPECT_TRUE(ParseSuggestions("<tr><td>5</td><td><a href=\"x\">k</a>").empty());  // no foot
    EXPECT_TRUE(ParseSuggestions("</tfoot>").empty());
    // Rows before the foot are not read; the first row whose count cleans to nothing ends the list.
    const auto rows = ParseSuggestions(
        "<tr><td>9</td><td><a href=\"a\">before</a></td></tr></tfoot>\n<tbody>"
        "<tr><td>5</td><td><a href=\"b\">five</a></td></tr>"
        "<tr><td>&nbsp;<b></b></td><td><a href=\"c\">empty</a></td></tr>"
        "<tr><td>7</td><td><a href=\"d\">after</a></td></tr>");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].keyword, "five");
}

TEST(ParseSuggestions, RowWithoutLinkStillCounts) {
    const auto rows = ParseSuggestions("</tfoot><tbody><tr><td>5</td><td>no link</td></tr>");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].count, "5");
    EXPECT_EQ(rows[0].keyword, "");
}

TEST(ParseSuggestions, EveryCutOfAPageGivesAPrefixOfItsRows) {
    // Hostile or broken transfers end anywhere: the rows found are always the page's first rows, the last one
    // possibly without its keyword.
    const auto full = ParseSuggestions(kPage);
    for (size_t n = 0; n <= kPage.size(); ++n) {
        const auto rows = ParseSuggestions(kPage.substr(0, n));
        ASSERT_LE(rows.size(), full.size()) << n;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].count, full[i].count) << n;
            if (i + 1 < rows.size()) {
                EXPECT_EQ(rows[i].keyword, full[i].keyword) << n;
            } else {
                EXPECT_TRUE(rows[i].keyword.empty() || rows[i].keyword == full[i].keyword) << n;
            }
        }
    }
}

TEST(ParseSuggestions, ZeroBytesAndHighBytesPassThrough) {
    static const char kBytes[] = "</tfoot><tbody><tr><td>1\0002</td><td><a href=\"q\">caf\xe9</a>";
    const std::string page(kBytes, sizeof kBytes - 1);
    const auto rows = ParseSuggestions(page);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].count, std::string("1\0002", 3));
    EXPECT_EQ(rows[0].keyword, "caf\xe9");
}

TEST(ParseSuggestions, SameRowsAsOneBufferCutAfterCut) {
    // Pages made of the markers in any order and case, with stretches longer than the parser's first window.
    const std::vector<std::string> pieces = {"<tr><td>",
                                             "<TR><TD>",
                                             "</td>",
                                             "</TD>",
                                             "\">",
                                             "</a>",
                                             "</A>",
                                             "</tfoot>",
                                             "</TFOOT>",
                                             ">",
                                             "\"",
                                             "<b>",
                                             "&nbsp;",
                                             " ",
                                             "7",
                                             "1,234",
                                             "golf",
                                             std::string(700, 'y'),
                                             std::string(3000, 'z'),
                                             "<tr>",
                                             "</t"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string page = (round % 4 == 0) ? "" : "</tfoot>";
        const int n = static_cast<int>(random() % 120);
        for (int i = 0; i < n; ++i) page += pieces[random() % pieces.size()];
        const auto expected = test::ParseSuggestionsByTheRule(page);
        const auto rows = ParseSuggestions(page);
        ASSERT_EQ(rows.size(), expected.size()) << "round " << round;
        for (size_t i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].count, expected[i].count) << "round " << round << " row " << i;
            ASSERT_EQ(rows[i].keyword, expected[i].keyword) << "round " << round << " row " << i;
        }
    }
}

TEST(ParseSuggestions, HugePagesTakeLinearTime) {
    // 100,000 rows: cutting a copy of the rest of the page for every cell would take minutes.
    std::string page = "</tfoot><tbody>";
    for (int i = 0; i < 100000; ++i) page += "<tr><td>" + std::to_string(i) + "</td><td><a href=\"x\">k</a>";
    auto rows = ParseSuggestions(page);
    ASSERT_EQ(rows.size(), 100000u);
    EXPECT_EQ(rows.back().count, "99999");
    EXPECT_EQ(rows.back().keyword, "k");

    // Rows without links: the link marker is searched for once, not once per row.
    page = "</tfoot><tbody>";
    for (int i = 0; i < 100000; ++i) page += "<tr><td>" + std::to_string(i) + "</td><td>k</td>";
    rows = ParseSuggestions(page);
    ASSERT_EQ(rows.size(), 100000u);
    EXPECT_EQ(rows.back().keyword, "");
}

TEST(ParseSuggestions, ReadsEveryStandInPage) {
    for (const char* seed : {"golf clubs", "shoes", "women's golf", "a", "digital camera lens"}) {
        const auto expected = standin::SuggestionsFor(seed);
        ASSERT_GE(expected.size(), 10u);
        ASSERT_LE(expected.size(), 50u);
        const auto rows = ParseSuggestions(standin::SuggestionPage(seed));
        ASSERT_EQ(rows.size(), expected.size()) << seed;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].keyword, expected[i].keyword) << seed << " row " << i;
            EXPECT_EQ(rows[i].count, expected[i].count) << seed << " row " << i;
        }
    }
}

}  // namespace
}  // namespace dorvanel::pages
