#pragma once
// The keyword-suggestion service's requests and pages, as text: the two request addresses, the test for a
// security-image page, and the rows of a result page. Plain C++; the command that fetches and fills the
// table is the harvest library's.
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::pages {

// Compared exactly, letter case included.
inline constexpr std::string_view kSecurityImageMarker = "Please enter the characters in the image";

struct SuggestedKeyword {
    std::string keyword;  // cleaned link text, possibly empty
    std::string count;    // cleaned first cell, never empty
};

// origin "/?seed=" keyword (form-encoded) "&adult_filter=remove_offensive&suggest=Hit+Me".
// `host` is a host name or host:port.
std::string SuggestionsAddress(std::string_view host, std::string_view mainKeyword);

// origin "/keyword-suggestion-tool.html?password=" typed "&random=" random "&seed=" seed, all three
// form-encoded, so that what the user typed arrives as typed ("AT&T" stays one value, "#1" is not cut off).
std::string CaptchaAnswerAddress(std::string_view host, std::string_view typed, std::string_view random,
                                 std::string_view seed);

bool IsSecurityImagePage(std::string_view page);

// The rows of a result page, in page order: after "</tfoot>" (exact case) and the next ">", each row is a
// "<tr><td>" count cell up to "</td>" and the link text from the next '">' to "</a>", both cleaned. Rows
// end at the first count that is empty after cleaning or when no "<tr><td>" follows. A page without
// "</tfoot>" has no rows.
std::vector<SuggestedKeyword> ParseSuggestions(const std::string& page);

}  // namespace dorvanel::pages
