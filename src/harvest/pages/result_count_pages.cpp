#include "harvest/pages/result_count_pages.h"

#include "common/text.h"
#include "harvest/markup/markup.h"
#include "harvest/pages/service_hosts.h"
#include "harvest/pages/suggestion_pages.h"

namespace dorvanel::pages {

namespace {

// Each engine's request and count markers. When `skipTo` is set, the text from `start` to it is cut first
// and dropped, and the count is the text from `skipTo` to `end`.
struct EngineRules {
    std::string_view pathAndKey;
    std::string_view start;
    std::string_view skipTo;
    std::string_view end;
    int cell;
};

constexpr EngineRules kRules[] = {
    {"/search?q=", "<font size=-1>Results", "of about <b>", "</b>", 2},
    {"/search?p=", "<span id=\"infototal\">", "", "</span>", 3},
    {"/results.aspx?q=", "<span id=\"count\">", " of ", "</span>", 4},
};
static_assert(std::size(kRules) == kEngines.size(), "one rule set per engine");

const EngineRules& rulesOf(Engine engine) { return kRules[static_cast<size_t>(engine)]; }

}  // namespace

std::string ResultCountAddress(Engine engine, std::string_view host, std::string_view keyword, SearchType type) {
    const std::string_view quote = type == SearchType::Precise ? "%22" : "";
    std::string address = ServiceOrigin(host) + std::string(rulesOf(engine).pathAndKey);
    address += quote;
    address += common::FormEncode(keyword);
    address += quote;
    return address;
}

std::string CutResultCount(Engine engine, std::string page) {
    using markup::CutBetween;
    const EngineRules& rules = rulesOf(engine);
    if (rules.skipTo.empty()) return CutBetween(page, rules.start, rules.end);
    CutBetween(page, rules.start, rules.skipTo);
    return CutBetween(page, rules.skipTo, rules.end);
}

int ResultCountCell(Engine engine) { return rulesOf(engine).cell; }

}  // namespace dorvanel::pages
