#pragma once
// ParseSuggestions as its rule reads, with one working buffer cut after cut: the reference that the faster
// walk through the page must agree with (unit tests and the harvest fuzzer).
#include <string>
#include <vector>

#include "harvest/markup/markup.h"
#include "harvest/pages/suggestion_pages.h"

namespace dorvanel::test {

inline std::vector<pages::SuggestedKeyword> ParseSuggestionsByTheRule(const std::string& page) {
    using markup::CleanMarkup;
    using markup::CutBetween;
    std::vector<pages::SuggestedKeyword> rows;
    if (page.find("</tfoot>") == std::string::npos) return rows;
    std::string buffer = page;
    CutBetween(buffer, "</tfoot>", ">");
    for (std::string count = CleanMarkup(CutBetween(buffer, "<tr><td>", "</td>")); !count.empty();
         count = CleanMarkup(CutBetween(buffer, "<tr><td>", "</td>"))) {
        rows.push_back({CleanMarkup(CutBetween(buffer, "\">", "</a>")), count});
    }
    return rows;
}

}  // namespace dorvanel::test
