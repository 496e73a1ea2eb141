#include "harvest/markup/markup.h"

#include <gtest/gtest.h>

namespace dorvanel::markup {
namespace {

TEST(ReplaceUntilGoneTest, RepeatsUntilNoOccurrenceIsLeft) {
    EXPECT_EQ(ReplaceUntilGone("aXXb", "X", ""), "ab");
    EXPECT_EQ(ReplaceUntilGone("aXXXXb", "XX", "X"), "aXb");
    EXPECT_EQ(ReplaceUntilGone("&amp;amp;", "&amp;", "&"), "&");
    EXPECT_EQ(ReplaceUntilGone("x&amp;amp;amp;y&amp;z", "&amp;", "&"), "x&y&z");
}

TEST(ReplaceUntilGoneTest, OccurrenceFormedAcrossAReplacement) {
    // Removing the inner "abc" joins "a" and "bc" into a new "abc", which goes too.
    EXPECT_EQ(ReplaceUntilGone("aabcbc", "abc", ""), "");
    EXPECT_EQ(ReplaceUntilGone("xaabcbcy", "abc", "-"), "xa-bcy");
    EXPECT_EQ(ReplaceUntilGone("aaabbb", "ab", ""), "");
    EXPECT_EQ(ReplaceUntilGone("aaabbb", "ab", "b"), "bbb");
    EXPECT_EQ(ReplaceUntilGone("abab", "ab", "ba"), "bbaa");
}

TEST(ReplaceUntilGoneTest, CaseCountsAndEmptyOldIsNeverFound) {
    EXPECT_EQ(ReplaceUntilGone("<BR><br>", "<br>", " "), "<BR> ");
    EXPECT_EQ(ReplaceUntilGone("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceUntilGone("", "a", ""), "");
    EXPECT_EQ(ReplaceUntilGone("abc", "abcd", ""), "abc");
}

TEST(ReplaceUntilGoneTest, NewContainingOldReplacesOnceLeftToRight) {
    EXPECT_EQ(ReplaceUntilGone("a-b-c", "-", "--"), "a--b--c");
    EXPECT_EQ(ReplaceUntilGone("aa", "a", "aa"), "aaaa");
}

TEST(ReplaceUntilGoneTest, TenMegabytesOfNestedEntitiesCleanInOneGo) {
    std::string text = "&";
    text.reserve(10u << 20);
    while (text.size() < (10u << 20)) text += "amp;";
    EXPECT_EQ(ReplaceUntilGone(text, "&amp;", "&"), "&");
    EXPECT_EQ(CleanMarkup(text), "&");
}

TEST(CleanMarkupTest, PartExamples) {
    EXPECT_EQ(CleanMarkup("  <b>golf</b>&nbsp;clubs<br>"), "golf clubs");
    EXPECT_EQ(CleanMarkup("Tel : 123"), "123");
    EXPECT_EQ(CleanMarkup("<B>x</b>"), "x");
    EXPECT_EQ(CleanMarkup("<Br>x"), "<Br>x");
}

TEST(CleanMarkupTest, OrderDecidesBlanks) {
    EXPECT_EQ(CleanMarkup("a&amp;nbsp;b"), "a b");
    EXPECT_EQ(CleanMarkup("a<br>b<BR>c<p>d<P>e"), "a b c d e");
    EXPECT_EQ(CleanMarkup("a<br />b</p>c</P>d"), "abcd");
    EXPECT_EQ(CleanMarkup("1,234\r\n"), "1,234");
    EXPECT_EQ(CleanMarkup("two\r\nlines"), "two  lines");
    EXPECT_EQ(CleanMarkup("say \"golf\" it&#039;s"), "say golf it's");
    EXPECT_EQ(CleanMarkup("\tFax : 5<wbr>6"), "56");
}

TEST(CleanMarkupTest, EveryTagOfTheListGoes) {
    EXPECT_EQ(CleanMarkup("<strong></strong><em></em><hr><h3></h3><H3></H3><u></u></INVALID><tr></tr><td></td>"
                          "<table></table></font><i></i><blockquote></th></FONT></TD><TD><B></B><TR></TR>x"),
              "x");
}

TEST(CleanMarkupTest, OtherFormsOfTagsStay) {
    EXPECT_EQ(CleanMarkup("<b class=x>y</b >"), "<b class=x>y</b >");
    EXPECT_EQ(CleanMarkup("<TABLE>y"), "<TABLE>y");
}

TEST(CleanMarkupTest, TrimsControlCharactersButNotInnerOnes) {
    EXPECT_EQ(CleanMarkup("\x01\x1f a\x01"
                          "b \x20"),
              "a\x01"
              "b");
    EXPECT_EQ(CleanMarkup(""), "");
    EXPECT_EQ(CleanMarkup(" \t\r\n"), "");
    EXPECT_EQ(CleanMarkup("\xa0x\xa0"), "\xa0x\xa0");
}

TEST(CutBetweenTest, CutsAndLeavesTheEndMarkerInFront) {
    std::string buffer = "<SPAN ID=x>12</span>rest";
    EXPECT_EQ(CutBetween(buffer, "<span id=x>", "</span>"), "12");
    EXPECT_EQ(buffer, "</span>rest");
}

TEST(CutBetweenTest, AbsentStartLeavesTheBuffer) {
    std::string buffer = "abc";
    EXPECT_EQ(CutBetween(buffer, "<x>", "c"), "");
    EXPECT_EQ(buffer, "abc");
    EXPECT_EQ(CutBetween(buffer, "", "c"), "");
    EXPECT_EQ(buffer, "abc");
}

TEST(CutBetweenTest, AbsentEndLeavesTheBufferAfterTheStart) {
    std::string buffer = "xx<td>12";
    EXPECT_EQ(CutBetween(buffer, "<TD>", "</td>"), "");
    EXPECT_EQ(buffer, "12");
}

TEST(CutBetweenTest, EndMarkerFirstGivesAnEmptyPiece) {
    std::string buffer = "<a></a>rest";
    EXPECT_EQ(CutBetween(buffer, "<a>", "</a>"), "");
    EXPECT_EQ(buffer, "</a>rest");
}

TEST(CutBetweenTest, OnlyLettersAToZIgnoreCase) {
    std::string buffer = "\xc4<B>1</B>";
    EXPECT_EQ(CutBetween(buffer, "\xe4<b>", "</b>"), "");
    EXPECT_EQ(buffer, "\xc4<B>1</B>");
    EXPECT_EQ(CutBetween(buffer, "\xc4<b>", "</b>"), "1");
}

TEST(CutBetweenTest, WalksForwardThroughARowTable) {
    std::string buffer =
        "<table><tfoot>x</tfoot><tbody>\n<tr><td>1,234</td><td><a href=\"/k\">golf clubs</a></td></tr>"
        "<tr><td>56</td><td><a href=\"/k2\">golf balls</a></td></tr></table>";
    CutBetween(buffer, "</tfoot>", ">");
    std::vector<std::pair<std::string, std::string>> rows;
    while (true) {
        const std::string count = CutBetween(buffer, "<tr><td>", "</td>");
        const std::string keyword = CutBetween(buffer, "\">", "</a>");
        if (count.empty() || keyword.empty()) break;
        rows.emplace_back(count, keyword);
    }
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::string>>{{"1,234", "golf clubs"}, {"56", "golf balls"}}));
}

}  // namespace
}  // namespace dorvanel::markup
