#pragma once
// How long a request that failed in a way worth trying again waits first: what the server's Retry-After says
// (seconds or an HTTP date, at most two minutes), else a back-off that doubles from one second (or the
// pacing delay when that is longer) up to a minute, with a little jitter so that many clients do not come
// back together.
#include <cstdint>
#include <string>

namespace dorvanel::harvest {

inline constexpr int64_t kMaxRetryAfterMs = 120000;
inline constexpr int64_t kMaxBackOffMs = 60000;

// `retry`: 0 before the first retry. `now`: the clock as HTTP dates are read (http::Now()).
// `jitter`: from 0 to 1, drawn by the caller.
int64_t RetryDelayMs(const std::string& retryAfter, int retry, int delayMs, double now, double jitter);

// Whether a failed answer's status is worth another try: 429 and every 5xx.
bool RetryableStatus(int code);

}  // namespace dorvanel::harvest
