#include "standin/faults.h"

#include "standin/options.h"

#include <charconv>
#include <cmath>

namespace dorvanel::standin {

namespace {

struct KindInfo {
    FaultKind kind;
    std::string_view name;
    bool takesArgument;
    int defaultArgument, low, high;  // of the argument
};

// clang-format off
constexpr KindInfo kKinds[] = {
    {FaultKind::Reset, "reset", false, 0, 0, 0},
    {FaultKind::ResetMidway, "reset-mid", false, 0, 0, 0},
    {FaultKind::Stall, "stall", true, 1, 0, 600},
    {FaultKind::Status500, "500", false, 0, 0, 0},
    {FaultKind::Status503, "503", true, 1, 0, 3600},
    {FaultKind::Cut, "cut", false, 0, 0, 0},
    {FaultKind::Trickle, "trickle", true, 0, 0, 1000000},
    {FaultKind::TooManyBurst, "429", true, 3, 1, 1000},
};
// clang-format on

constexpr std::string_view kKnown = "reset, reset-mid, stall, 500, 503, cut, trickle, 429";

[[noreturn]] void refuse(const std::string& what) { throw OptionError("faults: " + what); }

double parseRate(std::string_view name, std::string_view text) {
    double rate = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rate);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(rate) || rate < 0 ||
        rate > 1)
        refuse(std::string(name) + ": rate '" + std::string(text) + "' is not a number from 0 to 1");
    return rate;
}

int parseArgument(const KindInfo& info, std::string_view text) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < info.low || n > info.high)
        refuse(std::string(info.name) + ": '" + std::string(text) + "' is not a number from " +
               std::to_string(info.low) + " to " + std::to_string(info.high));
    return n;
}

}  // namespace

std::string_view FaultName(FaultKind kind) {
    for (const KindInfo& info : kKinds) {
        if (info.kind == kind) return info.name;
    }
    return "none";
}

std::vector<FaultRate> ParseFaults(std::string_view text) {
    std::vector<FaultRate> rates;
    if (text == "none") return rates;
    if (text.empty()) refuse("empty (give none for no faults)");
    double total = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const size_t eq = item.find('=');
        if (eq == std::string_view::npos) refuse("'" + std::string(item) + "' is not NAME=RATE");
        const std::string_view name = item.substr(0, eq);
        const KindInfo* info = nullptr;
        for (const KindInfo& k : kKinds) {
            if (k.name == name) info = &k;
        }
        if (!info) refuse("unknown fault '" + std::string(name) + "' (" + std::string(kKnown) + ")");
        for (const FaultRate& seen : rates) {
            if (seen.kind == info->kind) refuse(std::string(name) + " is given twice");
        }
        std::string_view value = item.substr(eq + 1);
        const size_t colon = value.find(':');
        FaultRate rate{info->kind, parseRate(name, value.substr(0, colon)), info->defaultArgument};
        if (colon != std::string_view::npos) {
            if (!info->takesArgument) refuse(std::string(name) + " takes no ':' value");
            rate.argument = parseArgument(*info, value.substr(colon + 1));
        }
        total += rate.rate;
        rates.push_back(rate);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (total > 1 + 1e-9) refuse("the rates add up to more than 1");
    return rates;
}

Fault FaultDice::Next() {
    if (burstLeft_ > 0) {
        --burstLeft_;
        return {FaultKind::TooManyBurst, 0};
    }
    if (rates_.empty()) return {};
    // 53 random bits as a fraction: the same on every platform, unlike the library's distributions.
    const double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    double upTo = 0;
    for (const FaultRate& r : rates_) {
        upTo += r.rate;
        if (draw < upTo) {
            if (r.kind == FaultKind::TooManyBurst) burstLeft_ = r.argument - 1;
            return {r.kind, r.argument};
        }
    }
    return {};
}

}  // namespace dorvanel::standin
