#include "harvest/retry_policy.h"

#include "common/text.h"
#include "http/http_date.h"

#include <algorithm>
#include <cmath>

namespace dorvanel::harvest {

int64_t RetryDelayMs(const std::string& retryAfter, int retry, int delayMs, double now, double jitter) {
    const std::string value = common::Trim(retryAfter);
    if (!value.empty()) {
        int64_t seconds = 0;
        if (value.find_first_not_of("0123456789") == std::string::npos && common::ReadInt64(value, seconds)) {
            return std::min(seconds, kMaxRetryAfterMs / 1000) * 1000;
        }
        const double when = http::ParseHttpDate(value);
        if (when >= 1) {  // a date that does not read has no date part
            const double ms = std::round((when - now) * 86400000.0);
            return static_cast<int64_t>(std::clamp(ms, 0.0, static_cast<double>(kMaxRetryAfterMs)));
        }
    }
    const double base = std::max(1000.0, static_cast<double>(delayMs)) * std::pow(2.0, std::min(retry, 16));
    const double withJitter = base * (1.0 + 0.25 * std::clamp(jitter, 0.0, 1.0));
    return static_cast<int64_t>(std::min(withJitter, static_cast<double>(kMaxBackOffMs)));
}

bool RetryableStatus(int code) { return code == 429 || (code >= 500 && code <= 599); }

}  // namespace dorvanel::harvest
