#include "standin/options.h"

#include <charconv>

namespace dorvanel::standin {

namespace {

int parseNumber(std::string_view key, std::string_view value, int low, int high) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < low || n > high)
        throw OptionError(std::string(key) + ": '" + std::string(value) + "' is not a number from " +
                          std::to_string(low) + " to " + std::to_string(high));
    return n;
}

std::set<Service> parseServices(std::string_view key, std::string_view value) {
    static constexpr struct {
        std::string_view name;
        Service service;
    } kNames[] = {{"suggest", Service::Suggest},   {"image", Service::Image}, {"google", Service::Google},
                  {"yahoo", Service::Yahoo},       {"msn", Service::Msn},     {"affiliate", Service::Affiliate},
                  {"complete", Service::Complete}, {"count", Service::Count}};
    std::set<Service> services;
    if (value == "none" || value.empty()) return services;
    if (value == "all") {
        for (const auto& n : kNames) services.insert(n.service);
        return services;
    }
    while (!value.empty()) {
        const size_t comma = value.find(',');
        const std::string_view name = value.substr(0, comma);
        bool known = false;
        for (const auto& n : kNames) {
            if (n.name == name) {
                services.insert(n.service);
                known = true;
            }
        }
        if (!known)
            throw OptionError(std::string(key) + ": unknown service '" + std::string(name) +
                              "' (suggest, image, google, yahoo, msn, affiliate, complete, count, all, none)");
        value = (comma == std::string_view::npos) ? std::string_view() : value.substr(comma + 1);
    }
    return services;
}

}  // namespace

void ApplyOption(Options& options, std::string_view key, std::string_view value) {
    if (key == "port") {
        options.port = parseNumber(key, value, 0, 65535);
    } else if (key == "delay") {
        options.delayMs = parseNumber(key, value, 0, 600000);
    } else if (key == "trickle") {
        options.trickleMs = parseNumber(key, value, 0, 60000);
    } else if (key == "delay-for") {
        options.delayed = parseServices(key, value);
    } else if (key == "fail") {
        options.failing = parseServices(key, value);
    } else if (key == "fail-mode") {
        if (value == "status") options.failMode = FailMode::Status;
        else if (value == "cut") options.failMode = FailMode::Cut;
        else throw OptionError("fail-mode: '" + std::string(value) + "' is not status or cut");
    } else if (key == "captcha") {
        if (value == "first") options.captcha = CaptchaMode::First;
        else if (value == "always") options.captcha = CaptchaMode::Always;
        else if (value == "never") options.captcha = CaptchaMode::Never;
        else throw OptionError("captcha: '" + std::string(value) + "' is not first, always or never");
    } else if (key == "captcha-text") {
        for (char c : value) {
            const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (!ok) throw OptionError("captcha-text: only letters and digits can be drawn");
        }
        options.captchaText = std::string(value);
    } else if (key == "tls-cert") {
        options.tlsCertificate = std::string(value);
    } else if (key == "tls-key") {
        options.tlsKey = std::string(value);
    } else if (key == "throttle") {
        options.throttle = parseNumber(key, value, 0, 1000000);
    } else if (key == "retry-after") {
        options.retryAfterSeconds = parseNumber(key, value, 0, 3600);
    } else if (key == "faults") {
        options.faults = ParseFaults(value);
    } else if (key == "seed") {
        std::uint64_t seed = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (value.empty() || ec != std::errc() || end != value.data() + value.size())
            throw OptionError("seed: '" + std::string(value) + "' is not a whole number from 0");
        options.seed = seed;
    } else if (key == "verbose") {
        options.verbose = value != "0" && value != "no";
    } else {
        throw OptionError("unknown option '" + std::string(key) + "'");
    }
}

Options ParseCommandLine(int argc, char** argv, bool& help) {
    Options options;
    help = false;
    int i = 1;
    if (i < argc && argv[i][0] != '-') ApplyOption(options, "port", argv[i++]);
    for (; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        if (arg.substr(0, 2) != "--") throw OptionError("unexpected argument '" + std::string(arg) + "'");
        arg.remove_prefix(2);
        if (arg == "verbose") {
            options.verbose = true;
            continue;
        }
        const size_t eq = arg.find('=');
        if (eq != std::string_view::npos) {
            ApplyOption(options, arg.substr(0, eq), arg.substr(eq + 1));
        } else {
            if (i + 1 >= argc) throw OptionError("--" + std::string(arg) + " needs a value");
            ApplyOption(options, arg, argv[++i]);
        }
    }
    if (options.tlsCertificate.empty() != options.tlsKey.empty()) {
        throw OptionError("--tls-cert and --tls-key go together");
    }
    return options;
}

const char* UsageText() {
    return "usage: dorvanel-standin [PORT] [options]\n"
           "Stand-in keyword-suggestion service, search engines and affiliate page on 127.0.0.1.\n"
           "  PORT, --port N          port to listen on; 0 (the default) takes any free port\n"
           "  --delay MS              pause before every response of the services in --delay-for\n"
           "  --trickle MS            send every body of the services in --delay-for in 1 KiB pieces, MS apart\n"
           "  --delay-for LIST        services the delay and the trickle apply to (default all)\n"
           "  --fail LIST             services whose responses fail (default none)\n"
           "  --fail-mode status|cut  status: 503 Service Unavailable; cut: headers and half the body, then close\n"
           "  --captcha first|always|never\n"
           "                          when the suggestion service shows the security image (default first:\n"
           "                          until the session's cookie has typed it right once)\n"
           "  --captcha-text TEXT     draw TEXT in every security image instead of random characters\n"
           "  --throttle N            the next N requests of the JSON endpoints answer 429 Too Many Requests\n"
           "  --retry-after S         with Retry-After: S (default 1), also for the 429 faults\n"
           "  --faults LIST           make faults at the given rates (0 to 1 per request, adding up to at most 1),\n"
           "                          e.g. reset=0.02,stall=0.01:3,503=0.01:1; LIST is NAME=RATE[:N],... or none:\n"
           "                            reset         reset the connection before a byte of the answer\n"
           "                            reset-mid     send the headers and half the body, then reset\n"
           "                            stall[:S]     hold the answer S seconds (default 1), then send it whole\n"
           "                            500           answer 500 Internal Server Error\n"
           "                            503[:S]       answer 503 Service Unavailable, Retry-After: S (default 1)\n"
           "                            cut           promise the whole body, send half, close the connection\n"
           "                            trickle[:N]   send the first N bytes of the body (default all) one every\n"
           "                                          50 ms, then the rest\n"
           "                            429[:N]       answer this and the next N-1 requests (default 3) with 429\n"
           "                                          Too Many Requests, Retry-After as --retry-after says\n"
           "                          The control paths under /standin/ never fail.\n"
           "  --seed N                where the faults are drawn from (default 1): the same seed and the same\n"
           "                          requests in the same order meet the same faults\n"
           "  --verbose               print every request on stderr\n"
           "  --tls-cert FILE --tls-key FILE\n"
           "                          serve https with this certificate (chain) and key instead of http\n"
           "LIST: comma-separated among suggest, image, google, yahoo, msn, affiliate, complete, count; or all,\n"
           "none.\n"
           "JSON endpoints for live sources: GET /complete?q=QUERY answers OpenSearch suggestions, GET\n"
           "/count?q=QUERY a search API's count at /searchInformation/totalResults.\n"
           "While running, GET /standin/config?delay=500&fail=yahoo (same keys) changes the settings and ends\n"
           "every delay in progress,\n"
           "GET /standin/captcha-text?random=R answers the characters of a security image (tests only),\n"
           "GET /standin/requests lists the requests served so far (?clear=1 empties the list),\n"
           "GET /standin/faults the faults made so far, \"NAME TARGET\" a line (?clear=1 empties the list).\n"
           "Changing faults or seed there starts the draws again.\n";
}

}  // namespace dorvanel::standin
