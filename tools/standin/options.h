#pragma once
// The stand-in's settings: given on the command line at start, and changeable while it runs through
// GET /standin/config?key=value&... (the same keys), so one running stand-in can serve several test steps.
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "standin/faults.h"

namespace dorvanel::standin {

enum class Service { Suggest, Image, Google, Yahoo, Msn, Affiliate, Complete, Count };

// How a failing service answers: "status" with 503 Service Unavailable; "cut" with its headers and half of
// its body, then the connection closes.
enum class FailMode { Status, Cut };

// When the suggestion service asks for the security image: "first" until the session (its cookie) has once
// typed the right characters, "always" for every suggestion request, "never".
enum class CaptchaMode { First, Always, Never };

struct Options {
    int port = 0;       // 0: any free port
    int delayMs = 0;    // pause before each response of a service in `delayed`
    int trickleMs = 0;  // pause between the 1 KiB pieces of each body of a service in `delayed`
    std::set<Service> delayed = {Service::Suggest, Service::Image,     Service::Google,   Service::Yahoo,
                                 Service::Msn,     Service::Affiliate, Service::Complete, Service::Count};
    std::set<Service> failing;
    FailMode failMode = FailMode::Status;
    CaptchaMode captcha = CaptchaMode::First;
    std::string captchaText;     // the characters of every security image; empty: random ones
    bool verbose = false;        // every request line on stderr
    std::string tlsCertificate;  // with tlsKey: serve https with this certificate (chain) file
    std::string tlsKey;
    int throttle = 0;               // the next so many requests of the JSON endpoints answer 429 with Retry-After
    int retryAfterSeconds = 1;      // of the throttle's 429 answers and of the 429 bursts of `faults`
    std::vector<FaultRate> faults;  // made at these rates, drawn from `seed`
    std::uint64_t seed = 1;
};

class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Sets one key ("port", "delay", "trickle", "delay-for", "fail", "fail-mode", "captcha", "captcha-text", "verbose",
// "throttle", "retry-after", "faults", "seed", and on the command line only "tls-cert" and "tls-key").
// Throws OptionError naming the key or value it did not understand.
void ApplyOption(Options& options, std::string_view key, std::string_view value);

// The command line: an optional port number first, then --key=value or --key value; "--help" sets `help`.
Options ParseCommandLine(int argc, char** argv, bool& help);

const char* UsageText();

}  // namespace dorvanel::standin
