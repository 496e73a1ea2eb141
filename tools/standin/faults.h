#pragma once
// Faults the stand-in makes on request, each at a rate per request: connections reset, answers stalled,
// failed, cut short or trickled, bursts of 429. The draws come from a seeded generator, one per request in
// the order requests come, so that a run with the same seed meets the same faults.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::standin {

enum class FaultKind {
    None,
    Reset,         // the connection is reset before a byte of the answer
    ResetMidway,   // the headers and half the body, then a reset
    Stall,         // the answer waits `argument` seconds, then comes whole
    Status500,     // 500 Internal Server Error
    Status503,     // 503 Service Unavailable with Retry-After: `argument` seconds
    Cut,           // the headers promise the whole body, half of it comes, then the connection closes
    Trickle,       // the first `argument` bytes of the body (0: all) one every 50 ms
    TooManyBurst,  // this and the next `argument` - 1 requests answer 429 Too Many Requests
};

struct FaultRate {
    FaultKind kind = FaultKind::None;
    double rate = 0;   // from 0 to 1, per request
    int argument = 0;  // what the kind takes, else 0
    bool operator==(const FaultRate&) const = default;
};

// The fault of one request.
struct Fault {
    FaultKind kind = FaultKind::None;
    int argument = 0;
};

// How a fault is written on the command line and in the stand-in's list of faults made.
std::string_view FaultName(FaultKind kind);

// Reads "reset=0.02,stall=0.01:3,503=0.01:1,429=0.002:3", or "none". Each name at most once; a rate is a
// decimal from 0 to 1 and the rates add up to at most 1; only stall, 503, trickle and 429 take ":N".
// Throws OptionError naming what it did not understand.
std::vector<FaultRate> ParseFaults(std::string_view text);

class FaultDice {
public:
    FaultDice() = default;
    FaultDice(std::vector<FaultRate> rates, std::uint64_t seed) : rates_(std::move(rates)), random_(seed) {}

    // The next request's fault. A 429 burst, once drawn, answers the requests after it without a draw.
    Fault Next();

private:
    std::vector<FaultRate> rates_;
    std::mt19937_64 random_;
    int burstLeft_ = 0;
};

}  // namespace dorvanel::standin
