// How long a retry waits: the server's Retry-After (seconds or a date, capped), else a doubling back-off
// with jitter, capped.
#include "harvest/retry_policy.h"

#include <gtest/gtest.h>

#include "http/http_date.h"

using namespace dorvanel;
using harvest::RetryDelayMs;

TEST(RetryPolicy, RetryAfterInSecondsOrAsADate) {
    const double now = http::ParseHttpDate("Wed, 09 Dec 2026 12:00:00 GMT");
    const struct {
        const char* retryAfter;
        int64_t ms;
    } cases[] = {
        {"8", 8000},
        {" 0 ", 0},
        {"120", 120000},
        {"121", 120000},                 // at most two minutes
        {"99999999999999999999", 1000},  // too long to read as seconds, and no date: back-off
        {"Wed, 09 Dec 2026 12:00:30 GMT", 30000},
        {"Wed, 09 Dec 2026 11:00:00 GMT", 0},  // already past
        {"Thu, 10 Dec 2026 12:00:00 GMT", 120000},
    };
    for (const auto& c : cases) EXPECT_EQ(RetryDelayMs(c.retryAfter, 0, 0, now, 0), c.ms) << c.retryAfter;
}

TEST(RetryPolicy, BackOffDoublesFromASecondOrTheDelayWithJitterUpToAMinute) {
    EXPECT_EQ(RetryDelayMs("", 0, 0, 0, 0), 1000);
    EXPECT_EQ(RetryDelayMs("soon", 1, 0, 0, 0), 2000);  // a value that reads as neither
    EXPECT_EQ(RetryDelayMs("", 3, 0, 0, 0), 8000);
    EXPECT_EQ(RetryDelayMs("", 0, 5000, 0, 0), 5000);
    EXPECT_EQ(RetryDelayMs("", 0, 0, 0, 1), 1250);
    EXPECT_EQ(RetryDelayMs("", 6, 0, 0, 0), harvest::kMaxBackOffMs);
    EXPECT_EQ(RetryDelayMs("", 1000, 60000, 0, 1), harvest::kMaxBackOffMs);
}

TEST(RetryPolicy, OnlyTooManyRequestsAndServerErrorsAreTriedAgain) {
    for (const int code : {429, 500, 502, 503, 599}) EXPECT_TRUE(harvest::RetryableStatus(code)) << code;
    for (const int code : {400, 401, 403, 404, 428, 430, 600}) EXPECT_FALSE(harvest::RetryableStatus(code)) << code;
}
