#pragma once
// The two JSON answers live sources give: OpenSearch Suggestions 1.1 (["query", ["suggestion", ...], ...])
// and a search API's document with the result count at a JSON Pointer (RFC 6901). Read with nlohmann/json;
// a hostile answer gets a failure that names what was wrong, never more work or memory than its size.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::pages {

inline constexpr size_t kMaxJsonDepth = 64;
inline constexpr size_t kMaxSuggestionsPerAnswer = 1000;
inline constexpr size_t kMaxSuggestionBytes = 512;

struct TSuggestionsAnswer {
    std::vector<std::string> Suggestions;  // in the answer's order; past the caps dropped
    std::string Failure;                   // empty when the answer was read
};

// The second element's strings; a suggestion longer than kMaxSuggestionBytes, or that is no string, is
// dropped, and past kMaxSuggestionsPerAnswer the rest. Fails on invalid JSON or UTF-8, nesting deeper than
// kMaxJsonDepth, or a document that is not an array with a string and an array first.
TSuggestionsAnswer ReadOpenSearchSuggestions(std::string_view body);

// The count at `pointer`, as decimal digits: a JSON number that is a whole number >= 0, or a string of
// digits (with no sign, blank or fraction). Nothing for anything else (a missing member, another type, a
// negative or fractional number, a body that does not parse).
std::optional<std::string> ReadJsonCount(std::string_view body, const std::string& pointer);

// Digits with a comma every three from the right: "1234000" to "1,234,000".
std::string GroupThousands(const std::string& digits);

}  // namespace dorvanel::pages
