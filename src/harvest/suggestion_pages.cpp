#include "harvest/suggestion_pages.h"

#include "harvest/markup/markup.h"

namespace dorvanel::harvest {

using markup::CleanMarkup;
using markup::CutBetween;

std::string BlanksToPlus(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == ' ') c = '+';
    }
    return out;
}

std::string SuggestionsAddress(std::string_view host, std::string_view mainKeyword) {
    return "http://" + std::string(host) + "/?seed=" + BlanksToPlus(mainKeyword) +
           "&adult_filter=remove_offensive&suggest=Hit+Me";
}

std::string CaptchaAnswerAddress(std::string_view host, std::string_view typed, std::string_view random,
                                 std::string_view seed) {
    return "http://" + std::string(host) + "/keyword-suggestion-tool.html?password=" + std::string(typed) +
           "&random=" + std::string(random) + "&seed=" + std::string(seed);
}

bool IsSecurityImagePage(std::string_view page) { return page.find(kSecurityImageMarker) != std::string_view::npos; }

std::vector<SuggestedKeyword> ParseSuggestions(const std::string& page) {
    std::vector<SuggestedKeyword> rows;
    // The foot tag is looked for with its letter case; the cuts after it ignore case.
    if (page.find("</tfoot>") == std::string::npos) return rows;
    std::string buffer = page;
    CutBetween(buffer, "</tfoot>", ">");
    for (std::string count = CleanMarkup(CutBetween(buffer, "<tr><td>", "</td>")); !count.empty();
         count = CleanMarkup(CutBetween(buffer, "<tr><td>", "</td>"))) {
        std::string keyword = CleanMarkup(CutBetween(buffer, "\">", "</a>"));
        rows.push_back({std::move(keyword), std::move(count)});
    }
    return rows;
}

}  // namespace dorvanel::harvest
