#include "harvest/pages/suggestion_pages.h"

#include "common/text.h"
#include "harvest/markup/markup.h"
#include "harvest/pages/service_hosts.h"

#include <map>

namespace dorvanel::pages {

using markup::CleanMarkup;
using markup::CutBetween;

namespace {

// Walks a page with CutBetween's rules, giving the pieces that one working buffer starting as the whole page
// would give, without copying the rest of the page at every cut: CutBetween gets a window of the text ahead,
// widened until the outcome cannot differ from a cut on the whole rest, and a marker once found missing from
// some position on is not searched for again. A page of a few megabytes with tens of thousands of rows
// stays a matter of milliseconds instead of minutes.
class PageWalker {
public:
    explicit PageWalker(std::string_view page, size_t from) : page_(page), pos_(from) {}

    std::string Cut(std::string_view startMarker, std::string_view endMarker) {
        if (missingFrom(startMarker) <= pos_) return {};
        for (size_t width = kFirstWindow;; width *= 2) {
            const size_t rest = page_.size() - pos_;
            const bool whole = width >= rest;
            std::string buffer(page_.substr(pos_, width));
            const size_t before = buffer.size();
            std::string piece = CutBetween(buffer, startMarker, endMarker);
            if (buffer.size() == before) {  // no start marker in the window
                if (!whole) continue;
                missing_[startMarker] = pos_;
                return {};
            }
            const size_t after = pos_ + (before - buffer.size());
            if (!piece.empty() || beginsWith(buffer, endMarker)) {
                pos_ = after;
                return piece;
            }
            // The start marker is found but not the end marker: decided only once the window holds the rest.
            if (whole || missingFrom(endMarker) <= after) {
                missing_[endMarker] = std::min(missingFrom(endMarker), after);
                pos_ = after;
                return {};
            }
        }
    }

private:
    static constexpr size_t kFirstWindow = 1024;

    size_t missingFrom(std::string_view marker) const {
        const auto it = missing_.find(marker);
        return it == missing_.end() ? std::string_view::npos : it->second;
    }

    // Whether `text` starts with `marker`, compared as CutBetween compares.
    static bool beginsWith(const std::string& text, std::string_view marker) {
        std::string head = text.substr(0, marker.size());
        const size_t before = head.size();
        CutBetween(head, marker, marker);
        return head.size() != before;
    }

    std::string_view page_;
    size_t pos_;
    std::map<std::string_view, size_t> missing_;
};

}  // namespace

std::string SuggestionsAddress(std::string_view host, std::string_view mainKeyword) {
    return ServiceOrigin(host) + "/?seed=" + common::FormEncode(mainKeyword) +
           "&adult_filter=remove_offensive&suggest=Hit+Me";
}

std::string CaptchaAnswerAddress(std::string_view host, std::string_view typed, std::string_view random,
                                 std::string_view seed) {
    return ServiceOrigin(host) + "/keyword-suggestion-tool.html?password=" + common::FormEncode(typed) +
           "&random=" + common::FormEncode(random) + "&seed=" + common::FormEncode(seed);
}

bool IsSecurityImagePage(std::string_view page) { return page.find(kSecurityImageMarker) != std::string_view::npos; }

std::vector<SuggestedKeyword> ParseSuggestions(const std::string& page) {
    std::vector<SuggestedKeyword> rows;
    // The foot tag is looked for with its letter case; the cuts after it ignore case.
    if (page.find("</tfoot>") == std::string::npos) return rows;
    PageWalker buffer(page, 0);
    buffer.Cut("</tfoot>", ">");
    for (std::string count = CleanMarkup(buffer.Cut("<tr><td>", "</td>")); !count.empty();
         count = CleanMarkup(buffer.Cut("<tr><td>", "</td>"))) {
        std::string keyword = CleanMarkup(buffer.Cut("\">", "</a>"));
        rows.push_back({std::move(keyword), std::move(count)});
    }
    return rows;
}

}  // namespace dorvanel::pages
