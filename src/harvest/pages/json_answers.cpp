#include "harvest/pages/json_answers.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace dorvanel::pages {

namespace {

using nlohmann::json;

struct TooDeep {};

// Parses with the nesting held to kMaxJsonDepth: the callback sees every opening bracket with its depth
// before anything inside it is built.
std::optional<json> parseBounded(std::string_view body, std::string& failure) {
    const json::parser_callback_t bound = [](int depth, json::parse_event_t event, json&) {
        if ((event == json::parse_event_t::object_start || event == json::parse_event_t::array_start) &&
            static_cast<size_t>(depth) >= kMaxJsonDepth) {
            throw TooDeep();
        }
        return true;
    };
    try {
        return json::parse(body.begin(), body.end(), bound);
    } catch (const TooDeep&) {
        failure = "the answer nests deeper than " + std::to_string(kMaxJsonDepth) + " levels";
    } catch (const json::exception& e) {
        failure = std::string("the answer is not valid JSON (") + e.what() + ")";
    }
    return std::nullopt;
}

bool allDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

TSuggestionsAnswer ReadOpenSearchSuggestions(std::string_view body) {
    TSuggestionsAnswer answer;
    const std::optional<json> document = parseBounded(body, answer.Failure);
    if (!document) return answer;
    if (!document->is_array() || document->size() < 2 || !(*document)[0].is_string() || !(*document)[1].is_array()) {
        answer.Failure = "the answer is not OpenSearch suggestions ([\"query\", [\"suggestion\", ...]])";
        return answer;
    }
    for (const json& item : (*document)[1]) {
        if (answer.Suggestions.size() >= kMaxSuggestionsPerAnswer) break;
        if (!item.is_string()) continue;
        const std::string& text = item.get_ref<const std::string&>();
        if (text.empty() || text.size() > kMaxSuggestionBytes) continue;
        answer.Suggestions.push_back(text);
    }
    return answer;
}

std::optional<std::string> ReadJsonCount(std::string_view body, const std::string& pointer) {
    std::string failure;
    const std::optional<json> document = parseBounded(body, failure);
    if (!document) return std::nullopt;
    try {
        const json& value = document->at(json::json_pointer(pointer));
        if (value.is_number_unsigned()) return std::to_string(value.get<uint64_t>());
        if (value.is_number_integer()) {
            const int64_t n = value.get<int64_t>();
            if (n < 0) return std::nullopt;
            return std::to_string(n);
        }
        if (value.is_number_float()) {
            const double n = value.get<double>();
            // A whole number written as a float ("1.2e6") counts; a fraction or a sign does not.
            if (!(n >= 0) || n != std::floor(n) || n > 9.007199254740992e15) return std::nullopt;
            return std::to_string(static_cast<uint64_t>(n));
        }
        if (value.is_string() && allDigits(value.get_ref<const std::string&>())) {
            std::string digits = value.get<std::string>();
            const size_t first = digits.find_first_not_of('0');
            return first == std::string::npos ? std::string("0") : digits.substr(first);
        }
    } catch (const json::exception&) {
        // A pointer that does not parse or leads nowhere: no count.
    }
    return std::nullopt;
}

std::string GroupThousands(const std::string& digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

}  // namespace dorvanel::pages
