// A fetched page as the harvests read it: suggestion rows (checked against one buffer cut after cut), the
// security-image values and each engine's count.
#include <cstdint>
#include <string>

#include "harvest/pages/captcha_page.h"
#include "harvest/pages/result_count_pages.h"
#include "support/plain/suggestions_by_rule.h"

using namespace dorvanel::pages;

namespace {
void check(bool condition) {
    if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);

    const auto rows = ParseSuggestions(page);
    const auto expected = dorvanel::test::ParseSuggestionsByTheRule(page);
    check(rows.size() == expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        check(!rows[i].count.empty());
        check(rows[i].count == expected[i].count);
        check(rows[i].keyword == expected[i].keyword);
    }

    const auto values = CutCaptchaPage(page);
    check(page.find(values.random) != std::string::npos);
    check(page.find(values.seed) != std::string::npos);
    check(values.imageSrc.size() <= page.size());

    for (Engine engine : kEngines) check(page.find(CutResultCount(engine, page)) != std::string::npos);
    return 0;
}
