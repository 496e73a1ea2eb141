// A live source's answer read both ways: as OpenSearch suggestions (every one kept within the caps) and as a
// count document at a pointer the input's first line names (a count is decimal digits only).
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "harvest/pages/json_answers.h"

using namespace dorvanel::pages;
using dorvanel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const TSuggestionsAnswer answer = ReadOpenSearchSuggestions(input);
    check(answer.Suggestions.size() <= kMaxSuggestionsPerAnswer);
    check(answer.Failure.empty() || answer.Suggestions.empty());
    for (const std::string& suggestion : answer.Suggestions) {
        check(!suggestion.empty() && suggestion.size() <= kMaxSuggestionBytes);
    }

    const size_t lineEnd = input.find('\n');
    const std::string pointer = lineEnd == std::string::npos ? "/n" : input.substr(0, lineEnd);
    const std::string body = lineEnd == std::string::npos ? input : input.substr(lineEnd + 1);
    if (const auto count = ReadJsonCount(body, pointer)) {
        check(!count->empty() && count->find_first_not_of("0123456789") == std::string::npos);
        check(GroupThousands(*count).size() == count->size() + (count->size() - 1) / 3);
    }
    return 0;
}
