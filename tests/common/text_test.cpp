#include "common/text.h"

#include <gtest/gtest.h>

using namespace dorvanel::common;

TEST(Text, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(SameText("Content-Length", "CONTENT-length"));
    EXPECT_FALSE(SameText("caf\xc3\xa9", "CAF\xc3\x89"));  // bytes above 127 are left alone
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_TRUE(StartsWithText("Chunked, gzip", "CHUNKED"));
    EXPECT_EQ(LowerCase("StatusGauge"), "statusgauge");
}

TEST(Text, TrimRulesDiffer) {
    EXPECT_EQ(Trim("\x01 a b \x1f"), "a b");                   // every byte up to 32
    EXPECT_EQ(TrimWhiteSpace("\x01 a b \t\r\n"), "\x01 a b");  // white space only
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
}

TEST(Text, DecimalReadingIsStrict) {
    int64_t v = 0;
    EXPECT_TRUE(ReadInt64("+42", v));
    EXPECT_EQ(v, 42);
    for (const char* bad : {"", "+", "++1", " 1", "1 ", "0x10", "99999999999999999999"})
        EXPECT_FALSE(ReadInt64(bad, v)) << bad;
    EXPECT_EQ(Int32Or("2147483648", -1), -1);
}

TEST(Text, SplitsListLinesOnEveryKindOfLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitListLines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListLines("a\n\nb\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListLines("a\r\rb\r"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListLines("a\rb\nc\r\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitListLines("a\n\r"), (V{"a", ""}));  // LF then CR: two line ends
    EXPECT_EQ(SplitListLines(""), V{});
    EXPECT_EQ(SplitListLines("\n"), V{""});
    EXPECT_EQ(SplitListLines(std::string("a\nb\0c\nd", 7)), (V{"a", "b"}));
    EXPECT_EQ(SplitListLines("  golf clubs \t\n"), V{"  golf clubs \t"});
}

TEST(Text, FormEncodingKeepsTheUnreservedFormBytesAndEscapesTheRest) {
    struct Case {
        std::string value;
        std::string encoded;
    };
    const std::vector<Case> cases = {
        {"golf clubs", "golf+clubs"},
        {"AT&T", "AT%26T"},
        {"c++", "c%2B%2B"},
        {"#1", "%231"},
        {"a=b?c/d", "a%3Db%3Fc%2Fd"},
        {"\"quoted\"", "%22quoted%22"},
        {"*-._~!", "*-._%7E%21"},
        {"caf\xc3\xa9", "caf%C3%A9"},
        {std::string("nul\0tab\t", 8), "nul%00tab%09"},
        {"%41", "%2541"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormEncode(c.value), c.encoded) << c.value;
}
