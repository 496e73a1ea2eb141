#include "http/header_list.h"

#include <gtest/gtest.h>

namespace dorvanel::http {
namespace {

TNetHeaderList listOf(std::vector<std::string> lines) {
    TNetHeaderList list;
    list.Lines = std::move(lines);
    return list;
}

TEST(HeaderListLookup, NamesCompareWithoutCase) {
    const TNetHeaderList list = listOf({"Content-Type: text/html", "Set-Cookie: a=1", "set-cookie: b=2"});
    EXPECT_EQ(list.FindHeader("content-type"), 0);
    EXPECT_EQ(list.FindHeader("SET-COOKIE"), 1);
    EXPECT_EQ(list.FindHeader("Location"), -1);
    EXPECT_EQ(list.ValueOf("set-cookie"), "a=1");
    std::vector<std::string> values{"kept"};
    list.CollectValues("Set-Cookie", values);
    EXPECT_EQ(values, (std::vector<std::string>{"kept", "a=1", "b=2"}));
}

TEST(HeaderListLookup, NameAtUpperCasesUnlessCaseSensitive) {
    TNetHeaderList list = listOf({"Content-Type: text/html", "no colon here"});
    EXPECT_EQ(list.NameAt(0), "CONTENT-TYPE");
    EXPECT_EQ(list.NameAt(1), "");
    EXPECT_EQ(list.NameAt(5), "");
    list.NameCaseSensitive = true;
    EXPECT_EQ(list.NameAt(0), "Content-Type");
}

TEST(HeaderListLookup, ValueIsTrimmedAndOutOfRangeIsEmpty) {
    const TNetHeaderList list = listOf({"Server:   nginx \t", "Empty:"});
    EXPECT_EQ(list.ValueAt(0), "nginx");
    EXPECT_EQ(list.ValueAt(1), "");
    EXPECT_EQ(list.ValueAt(-1), "");
    EXPECT_EQ(list.ValueAt(2), "");
}

TEST(HeaderListContinuation, FollowingLinesJoinWithOneSpace) {
    TNetHeaderList list = listOf({"X-A: one", " two", "\tthree", "X-B: b"});
    EXPECT_EQ(list.ValueOf("X-A"), "one two three");
    EXPECT_EQ(list.ValueOf("X-B"), "b");
    list.JoinContinuations = false;
    EXPECT_EQ(list.ValueOf("X-A"), "one");
}

TEST(HeaderListContinuation, BlankContinuationsAddNoSpace) {
    EXPECT_EQ(listOf({"X-A:  ", " ", " one", "\t", "  two  "}).ValueOf("X-A"), "one two");
}

TEST(HeaderListSet, ReplacesTheLineAndItsContinuations) {
    TNetHeaderList list = listOf({"Accept: */*", "HOST: y", " z", "X: 1"});
    list.SetHeaderValue("Host", "x");
    EXPECT_EQ(list.Lines, (std::vector<std::string>{"Accept: */*", "Host: x", "X: 1"}));
}

TEST(HeaderListSet, AppendsNewNamesAndDeletesOnEmptyValue) {
    TNetHeaderList list = listOf({"A: 1", "B: 2", " more", "C: 3"});
    list.SetHeaderValue("D", "4");
    EXPECT_EQ(list.Lines.back(), "D: 4");
    list.SetHeaderValue("b", "");
    EXPECT_EQ(list.Lines, (std::vector<std::string>{"A: 1", "C: 3", "D: 4"}));
    list.SetHeaderValue("missing", "");
    EXPECT_EQ(list.Count(), 3);
}

TEST(HeaderListSet, UsesTheSeparator) {
    TNetHeaderList list;
    list.Separator = "=";
    list.SetHeaderValue("realm", "\"x\"");
    EXPECT_EQ(list.Lines, std::vector<std::string>{"realm=\"x\""});
    EXPECT_EQ(list.ValueOf("REALM"), "\"x\"");
}

TEST(HeaderListSet, LongValueIsFoldedAtTheLastBreakBeforeTheColumn) {
    TNetHeaderList list;
    list.WrapColumn = 1024;
    // "X-Long: " is 8 columns; the value is 1000 'a', a blank, then 100 'b'.
    const std::string value = std::string(1000, 'a') + " " + std::string(100, 'b');
    list.SetHeaderValue("X-Long", value);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Lines[0], "X-Long: " + std::string(1000, 'a'));
    EXPECT_EQ(list.Lines[1], " " + std::string(100, 'b'));
    EXPECT_EQ(list.ValueOf("x-long"), value);
}

TEST(WrapLineTest, BreaksAtBlanksTabsAndCommas) {
    EXPECT_EQ(WrapLine("Name: aaa bbb ccc", 12), (std::vector<std::string>{"Name: aaa", " bbb ccc"}));
    EXPECT_EQ(WrapLine("Name: aaa,bbb,ccc", 12), (std::vector<std::string>{"Name: aaa,", " bbb,ccc"}));
    EXPECT_EQ(WrapLine("short", 78), std::vector<std::string>{"short"});
}

TEST(WrapLineTest, NeverBreaksInsideQuotes) {
    const auto pieces = WrapLine("Name: \"a b c d e f\" g", 10);
    EXPECT_EQ(pieces, (std::vector<std::string>{"Name:", " \"a b c d e f\" g"}));
}

TEST(WrapLineTest, UnbreakableRunStaysLong) {
    const std::string run(50, 'x');
    EXPECT_EQ(WrapLine("N: " + run, 20), (std::vector<std::string>{"N:", " " + run}));
    EXPECT_EQ(WrapLine(run, 20), std::vector<std::string>{run});
}

TEST(WrapLineTest, KeepsABreakThatIsAlreadyThere) {
    EXPECT_EQ(WrapLine("Name: a\r\n b", 78), (std::vector<std::string>{"Name: a", " b"}));
}

TEST(WrapLineTest, EveryContinuationStartsWithOneBlank) {
    const auto pieces = WrapLine("Name: a,  b,  c,  d,  e,  f,  g,  h", 8);
    ASSERT_GT(pieces.size(), 2u);
    for (size_t i = 1; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i][0], ' ');
        EXPECT_NE(pieces[i][1], ' ');
    }
}

}  // namespace
}  // namespace dorvanel::http
