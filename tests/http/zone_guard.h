#pragma once
// Puts the process in a fixed time zone for one test and restores the previous one after it.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace dorvanel::http::test {

class ZoneGuard {
public:
    // A POSIX zone such as "ZZZ-1" (one hour east of UTC, no daylight time).
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace dorvanel::http::test
