// The two JSON answers of live sources, with the hostile ones a server can send.
#include "harvest/pages/json_answers.h"

#include <gtest/gtest.h>

namespace dorvanel::pages {
namespace {

std::string nested(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(JsonAnswers, OpenSearchSuggestions) {
    const std::string longOne(kMaxSuggestionBytes + 1, 'x');
    const struct {
        std::string body;
        std::vector<std::string> suggestions;
        bool fails;
    } cases[] = {
        {R"(["golf",["golf clubs","golf balls"],["",""],[]])", {"golf clubs", "golf balls"}, false},
        {"[\"golf\",[\"caf\xc3\xa9\",7,null,\"\",\"" + longOne + "\",\"ok\"]]", {"caf\xc3\xa9", "ok"}, false},
        {R"(["golf",[]])", {}, false},
        {R"(["golf"])", {}, true},
        {R"({"golf":["a"]})", {}, true},
        {R"([1,["a"]])", {}, true},
        {"<html>Too many requests</html>", {}, true},
        {"[\"golf\",[\"caf\xc3\"]]", {}, true},  // invalid UTF-8
        {"[\"golf\",[\"a\"]", {}, true},         // cut short
        {"", {}, true},
        {"[\"golf\"," + nested(kMaxJsonDepth) + "]", {}, true},
    };
    for (const auto& c : cases) {
        const TSuggestionsAnswer answer = ReadOpenSearchSuggestions(c.body);
        EXPECT_EQ(answer.Suggestions, c.suggestions) << c.body.substr(0, 80);
        EXPECT_EQ(!answer.Failure.empty(), c.fails) << c.body.substr(0, 80) << ": " << answer.Failure;
    }
}

TEST(JsonAnswers, NestingIsBoundedAtItsLimit) {
    // The suggestions array itself is at depth 2.
    EXPECT_TRUE(ReadOpenSearchSuggestions("[\"q\",[]," + nested(kMaxJsonDepth - 1) + "]").Failure.empty());
    EXPECT_EQ(ReadOpenSearchSuggestions("[\"q\",[]," + nested(kMaxJsonDepth) + "]").Failure,
              "the answer nests deeper than 64 levels");
    EXPECT_FALSE(ReadJsonCount(nested(100000), "/0").has_value());
}

TEST(JsonAnswers, SuggestionsPastTheCapAreDropped) {
    std::string body = "[\"q\",[";
    for (size_t i = 0; i < kMaxSuggestionsPerAnswer + 5; ++i) body += (i ? ",\"s" : "\"s") + std::to_string(i) + "\"";
    body += "]]";
    const TSuggestionsAnswer answer = ReadOpenSearchSuggestions(body);
    ASSERT_EQ(answer.Suggestions.size(), kMaxSuggestionsPerAnswer);
    EXPECT_EQ(answer.Suggestions.back(), "s" + std::to_string(kMaxSuggestionsPerAnswer - 1));
}

TEST(JsonAnswers, CountsAtAPointer) {
    const struct {
        std::string body;
        std::string pointer;
        std::optional<std::string> count;
    } cases[] = {
        {R"({"searchInformation":{"totalResults":"1234000"}})", "/searchInformation/totalResults", "1234000"},
        {R"({"a":[{"n":42}]})", "/a/0/n", "42"},
        {R"({"n":1.2e6})", "/n", "1200000"},
        {R"({"n":"007"})", "/n", "7"},
        {R"({"n":18446744073709551615})", "/n", "18446744073709551615"},
        {R"({"a/b":{"m~n":5}})", "/a~1b/m~0n", "5"},
        {R"({"n":-3})", "/n", std::nullopt},
        {R"({"n":2.5})", "/n", std::nullopt},
        {R"({"n":"12 345"})", "/n", std::nullopt},
        {R"({"n":"-1"})", "/n", std::nullopt},
        {R"({"n":""})", "/n", std::nullopt},
        {R"({"n":true})", "/n", std::nullopt},
        {R"({"n":null})", "/n", std::nullopt},
        {R"({"n":{"v":1}})", "/n", std::nullopt},
        {R"({"n":1})", "/missing", std::nullopt},
        {R"({"n":1})", "n", std::nullopt},
        {R"([1])", "/5", std::nullopt},
        {"not json", "/n", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadJsonCount(c.body, c.pointer), c.count) << c.body << " " << c.pointer;
}

TEST(JsonAnswers, ThousandsSeparators) {
    const std::pair<std::string, std::string> cases[] = {
        {"0", "0"}, {"999", "999"}, {"1000", "1,000"}, {"1234000", "1,234,000"}, {"12345678901", "12,345,678,901"}};
    for (const auto& [digits, shown] : cases) EXPECT_EQ(GroupThousands(digits), shown);
}

}  // namespace
}  // namespace dorvanel::pages
