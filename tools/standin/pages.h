#pragma once
// The pages the stand-in services answer with. Everything is derived from the request alone (the seed
// keyword, the search keyword), so the same request always gets the same page and a test can predict it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::standin {

// One row of the suggestion service's result table, as the program should store it after cleaning.
struct Suggestion {
    std::string keyword;
    std::string count;  // with thousands separators, e.g. "12,345"
};

// 10 to 50 keywords related to `seed` (the seed itself first), with falling search counts.
std::vector<Suggestion> SuggestionsFor(std::string_view seed);

// The result page for `seed`: a table whose rows follow the closing tag of its foot, each row a count cell and
// a link holding the keyword. Some cells carry "&nbsp;", entities and inline tags that cleaning removes.
std::string SuggestionPage(std::string_view seed);

// The service's start page, for a request without a seed.
std::string SuggestionHomePage();

// The security-image page: hidden fields random and seed, then the picture at `imageAddress` (written with
// "&amp;" for "&", as pages write it).
std::string CaptchaPage(std::string_view random, std::string_view seed, std::string_view imageAddress);

enum class Engine { Google, Yahoo, Msn };
inline constexpr int kEngineCount = 3;

// The number of results `engine` reports for `keyword`, formatted with thousands separators. A precise
// (quoted) search always reports fewer than a broad one for the same keyword.
std::string ResultCount(Engine engine, std::string_view keyword, bool precise);
std::uint64_t ResultCountValue(Engine engine, std::string_view keyword, bool precise);

// What the program cuts out of the page and writes into the engine's cell: ResultCount, and for MSN, whose
// marker range holds the word too, followed by " results".
std::string CountCellText(Engine engine, std::string_view keyword, bool precise);

// A result page of `engine` for `keyword`, carrying that engine's count markers around ResultCount.
std::string EnginePage(Engine engine, std::string_view keyword, bool precise);

// What the autocomplete endpoint suggests for `query` (deterministic): the query followed by six words the
// query's hash picks, and the query's first two words followed by "online", which the queries of one
// keyword's expansions share (so a client meets the same suggestion many times).
std::vector<std::string> CompletionsFor(std::string_view query);
// The endpoint's answer: OpenSearch Suggestions 1.1 JSON, ["query", ["suggestion", ...]].
std::string CompletionAnswer(std::string_view query);
// The JSON count endpoint's answer for a query as an engine is sent it (in double quotes for a precise
// search): {"searchInformation":{"totalResults":"<digits>"}}, Google's count for that keyword.
std::string CountAnswer(std::string_view query);

// The affiliate sign-up page the "Make Money" button opens.
std::string AffiliatePage(std::string_view affiliateId);

// Helpers shared with the server.
std::string FormatThousands(std::uint64_t value);
std::string FormEncode(std::string_view text);  // blanks as "+", everything but letters, digits and -._~ as %XX
std::string HtmlEscape(std::string_view text);  // & < > " '
std::string JsonString(std::string_view text);  // in double quotes, with JSON's escapes

}  // namespace dorvanel::standin
