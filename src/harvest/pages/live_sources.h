#pragma once
// Sources a user names in dbservices.dat beside the built-in services: suggestion endpoints that answer
// OpenSearch Suggestions JSON, each asked for the keyword and optionally its expansions (the alphabet and
// question words), JSON search APIs for the count columns, the pacing and retries of requests, and the
// User-Agent. None set: the program asks the built-in services exactly as it always did.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/pages/result_count_pages.h"

namespace dorvanel::common {
class TIniFile;
}  // namespace dorvanel::common

namespace dorvanel::pages {

inline constexpr int kMaxSuggestionSources = 16;
inline constexpr int kMaxDelayMs = 60000;
inline constexpr int kMaxRetries = 10;

struct TJsonEngine {
    std::string Template;  // with "{query}"; empty: the engine's page and markers
    std::string Pointer;   // RFC 6901, to the count
};

struct TLiveSources {
    std::vector<std::string> SuggestionTemplates;  // each with "{keyword}", in order
    bool ExpandAlphabet = false;
    bool ExpandQuestions = false;
    std::array<TJsonEngine, kEngines.size()> Engines;  // Google, Yahoo, Msn
    int DelayMs = 0;
    int Retries = 0;
    std::string UserAgent;  // empty: the program's own

    // Reads [Suggestions], [Engines], [Pacing] and [Services] UserAgent. An entry that cannot be used is left
    // out and named in `problems`, one line each, without the query of an address (it may hold a key).
    static TLiveSources Read(const common::TIniFile& ini, std::vector<std::string>& problems);

    bool HasSuggestionSources() const { return !SuggestionTemplates.empty(); }
};

// What one run asks each source for: the keyword, then with "alphabet" the keyword followed by " a" .. " z"
// and " 0" .. " 9", then with "questions" "how ", "what ", ... followed by the keyword.
std::vector<std::string> SuggestionQueries(const std::string& keyword, bool alphabet, bool questions);

// The template with every `placeholder` replaced by `value` (already encoded).
std::string FillTemplate(std::string_view templateText, std::string_view placeholder, std::string_view value);

// An address fit to show: scheme, host, port and path, without the query (where API keys go) and fragment.
std::string AddressWithoutQuery(std::string_view address);

}  // namespace dorvanel::pages
