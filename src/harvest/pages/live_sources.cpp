#include "harvest/pages/live_sources.h"

#include <algorithm>

#include "common/ini_file.h"
#include "common/text.h"

namespace dorvanel::pages {

namespace {

constexpr std::string_view kQuestionWords[] = {"how ", "what ",  "why ", "where ", "when ",
                                               "who ", "which ", "can ", "is ",    "are "};

bool isHostByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

// Why `address` is no usable template: http or https, a host that reads as one, a port in range, and the
// placeholder. Empty when it is usable.
std::string templateProblem(const std::string& address, std::string_view placeholder) {
    const size_t schemeEnd = address.find("://");
    const std::string scheme = schemeEnd == std::string::npos ? std::string() : address.substr(0, schemeEnd);
    if (!common::SameText(scheme, "http") && !common::SameText(scheme, "https")) {
        return "is not an http or https address";
    }
    const size_t hostStart = schemeEnd + 3;
    const size_t hostEnd = address.find_first_of("/?#", hostStart);
    std::string authority =
        address.substr(hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
    if (authority.find('@') != std::string::npos) return "holds a user name, which is not supported";
    std::string host = authority;
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos) return "has no host that can be read";
        host = authority.substr(1, close - 1);
        authority = authority.substr(close + 1);
        if (!authority.empty() && authority.front() != ':') return "has no host that can be read";
        if (!authority.empty()) authority = "x" + authority;  // keeps the port check below uniform
    }
    const size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        if (host == authority) host = authority.substr(0, colon);
        int32_t port = 0;
        if (!common::ReadInt32(authority.substr(colon + 1), port) || port < 1 || port > 65535) {
            return "has a port that is not 1 to 65535";
        }
    }
    const bool bracketed = address.compare(hostStart, 1, "[") == 0;
    if (host.empty() || (!bracketed && std::any_of(host.begin(), host.end(), [](char c) { return !isHostByte(c); }))) {
        return "has no host that can be read";
    }
    if (address.find(placeholder) == std::string::npos) return "lacks " + std::string(placeholder);
    return {};
}

std::string named(const std::string& key, const std::string& address, const std::string& problem) {
    return key + " (" + AddressWithoutQuery(address) + ") " + problem;
}

}  // namespace

TLiveSources TLiveSources::Read(const common::TIniFile& ini, std::vector<std::string>& problems) {
    TLiveSources sources;
    for (int n = 1; n <= kMaxSuggestionSources; ++n) {
        const std::string key = "Source" + std::to_string(n);
        const std::string value = common::Trim(ini.ReadString("Suggestions", key, ""));
        if (value.empty()) continue;
        const std::string problem = templateProblem(value, "{keyword}");
        if (problem.empty()) {
            sources.SuggestionTemplates.push_back(value);
        } else {
            problems.push_back(named(key, value, problem));
        }
    }
    const std::string expand = ini.ReadString("Suggestions", "Expand", "");
    for (size_t start = expand.find_first_not_of(" \t,"); start != std::string::npos;
         start = expand.find_first_not_of(" \t,", start)) {
        const size_t end = expand.find_first_of(" \t,", start);
        const std::string word = expand.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? expand.size() : end;
        if (common::SameText(word, "alphabet")) {
            sources.ExpandAlphabet = true;
        } else if (common::SameText(word, "questions")) {
            sources.ExpandQuestions = true;
        } else {
            problems.push_back("Expand names \"" + word + "\", which is neither alphabet nor questions");
        }
    }
    for (size_t e = 0; e < kEngines.size(); ++e) {
        const std::string key(EngineName(kEngines[e]));
        const std::string value = common::Trim(ini.ReadString("Engines", key, ""));
        if (value.empty()) continue;
        const std::string pointer = common::Trim(ini.ReadString("Engines", key + "Count", ""));
        std::string problem = templateProblem(value, "{query}");
        if (problem.empty() && (pointer.empty() || pointer.front() != '/')) {
            problem = "has no " + key + "Count that is a JSON pointer (it starts with \"/\")";
        }
        if (problem.empty()) {
            sources.Engines[e] = {value, pointer};
        } else {
            problems.push_back(named(key, value, problem));
        }
    }
    auto readBounded = [&](const char* key, int most, int& value) {
        const std::string text = common::Trim(ini.ReadString("Pacing", key, ""));
        if (text.empty()) return;
        int32_t read = 0;
        if (!common::ReadInt32(text, read) || read < 0 || read > most) {
            problems.push_back(std::string(key) + " is \"" + text + "\", not a whole number from 0 to " +
                               std::to_string(most));
            return;
        }
        value = read;
    };
    readBounded("DelayMs", kMaxDelayMs, sources.DelayMs);
    readBounded("Retries", kMaxRetries, sources.Retries);
    sources.UserAgent = common::Trim(ini.ReadString("Services", "UserAgent", ""));
    return sources;
}

std::vector<std::string> SuggestionQueries(const std::string& keyword, bool alphabet, bool questions) {
    std::vector<std::string> queries = {keyword};
    if (alphabet) {
        for (char c = 'a'; c <= 'z'; ++c) queries.push_back(keyword + " " + c);
        for (char c = '0'; c <= '9'; ++c) queries.push_back(keyword + " " + c);
    }
    if (questions) {
        for (const std::string_view word : kQuestionWords) queries.push_back(std::string(word) + keyword);
    }
    return queries;
}

std::string FillTemplate(std::string_view templateText, std::string_view placeholder, std::string_view value) {
    std::string out;
    size_t from = 0;
    for (size_t at = templateText.find(placeholder); at != std::string_view::npos;
         at = templateText.find(placeholder, from)) {
        out.append(templateText.substr(from, at - from));
        out.append(value);
        from = at + placeholder.size();
    }
    out.append(templateText.substr(from));
    return out;
}

std::string AddressWithoutQuery(std::string_view address) {
    return std::string(address.substr(0, address.find_first_of("?#")));
}

}  // namespace dorvanel::pages
