#include "harvest/pages/result_count_pages.h"

#include "common/text.h"
#include "harvest/markup/markup.h"
#include "harvest/pages/service_hosts.h"
#include "harvest/pages/suggestion_pages.h"

namespace dorvanel::pages {

namespace {

// Each engine's request and count markers. When `skipTo` is set, the text from `start` to it is cut first
// and dropped, and the count is the text from `skipTo` to `end`. With `withinSpan` both cuts run on the span
// from `start` to `end` alone, so a `skipTo` elsewhere in the page (a title "history of golf") never counts.
struct EngineRules {
    std::string_view name;
    std::string_view pathAndKey;
    std::string_view start;
    std::string_view skipTo;
    std::string_view end;
    bool withinSpan;
    int cell;
};

constexpr EngineRules kRules[] = {
    {"Google", "/search?q=", "<font size=-1>Results", "of about <b>", "</b>", false, 2},
    {"Yahoo", "/search?p=", "<span id=\"infototal\">", "", "</span>", false, 3},
    {"Msn", "/results.aspx?q=", "<span id=\"count\">", " of ", "</span>", true, 4},
};
static_assert(std::size(kRules) == kEngines.size(), "one rule set per engine");

const EngineRules& rulesOf(Engine engine) { return kRules[static_cast<size_t>(engine)]; }

}  // namespace

std::string EngineQuery(std::string_view keyword, SearchType type) {
    const std::string_view quote = type == SearchType::Precise ? "%22" : "";
    return std::string(quote) + common::FormEncode(keyword) + std::string(quote);
}

std::string ResultCountAddress(Engine engine, std::string_view host, std::string_view keyword, SearchType type) {
    return ServiceOrigin(host) + std::string(rulesOf(engine).pathAndKey) + EngineQuery(keyword, type);
}

std::string CutResultCount(Engine engine, std::string page) {
    using markup::CutBetween;
    const EngineRules& rules = rulesOf(engine);
    if (rules.skipTo.empty()) return CutBetween(page, rules.start, rules.end);
    if (rules.withinSpan) {
        // The span with its markers, or only the markers when the page has no whole span.
        page = std::string(rules.start) + CutBetween(page, rules.start, rules.end) + std::string(rules.end);
    }
    CutBetween(page, rules.start, rules.skipTo);
    return CutBetween(page, rules.skipTo, rules.end);
}

int ResultCountCell(Engine engine) { return rulesOf(engine).cell; }

std::string_view EngineName(Engine engine) { return rulesOf(engine).name; }

}  // namespace dorvanel::pages
