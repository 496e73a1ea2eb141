#include "http/http_date.h"

#include <gtest/gtest.h>

#include <cmath>

#include "http/zone_guard.h"

namespace dorvanel::http {
namespace {

using test::ZoneGuard;

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    TDateTime date = 0;
    EXPECT_TRUE(TryEncodeDate(y, mo, d, date));
    return date + (h * 3600 + mi * 60 + s) / 86400.0;
}

void expectSameSecond(TDateTime a, TDateTime b) { EXPECT_LT(std::fabs(a - b) * 86400.0, 0.001) << a << " vs " << b; }

TEST(HttpDateCalendar, DayCountStartsOn18991230) {
    EXPECT_DOUBLE_EQ(at(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(at(1970, 1, 1), 25569.0);
    EXPECT_DOUBLE_EQ(at(1994, 11, 6), 34644.0);
    TDateTime unused = 0;
    EXPECT_FALSE(TryEncodeDate(1994, 2, 29, unused));
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, unused));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, unused));
    EXPECT_FALSE(TryEncodeDate(1994, 13, 1, unused));
}

TEST(HttpDateParse, TheThreeFormsGiveTheSameLocalTime) {
    ZoneGuard zone("ZZZ-1");
    const TDateTime expected = at(1994, 11, 6, 9, 49, 37);  // 08:49:37 GMT one hour east
    expectSameSecond(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), expected);
    expectSameSecond(ParseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    expectSameSecond(ParseHttpDate("Sun Nov  6 08:49:37 1994"), expected);
}

TEST(HttpDateParse, ZoneOffsetsAreTakenOut) {
    ZoneGuard zone("UTC0");
    expectSameSecond(ParseHttpDate("Thu, 01 Jan 1970 00:00:00 +0130"), at(1969, 12, 31, 22, 30));
    expectSameSecond(ParseHttpDate("Thu, 01 Jan 1970 00:00:00 -0200"), at(1970, 1, 1, 2));
    expectSameSecond(ParseHttpDate("Thu, 01 Jan 1970 00:00:00 +01x0"), at(1970, 1, 1));
    expectSameSecond(ParseHttpDate("Thu, 01 Jan 1970 00:00:00 UTC"), at(1970, 1, 1));
}

TEST(HttpDateParse, TwoDigitYears) {
    ZoneGuard zone("UTC0");
    expectSameSecond(ParseHttpDate("Sun, 06 Nov 94 08:49:37 GMT"), at(1994, 11, 6, 8, 49, 37));
    expectSameSecond(ParseHttpDate("Sun, 06 Nov 79 08:49:37 GMT"), at(2079, 11, 6, 8, 49, 37));
    expectSameSecond(ParseHttpDate("06 Nov 80"), at(1980, 11, 6));
}

TEST(HttpDateParse, UnreadableTextGivesZero) {
    ZoneGuard zone("UTC0");
    EXPECT_EQ(ParseHttpDate(""), 0.0);
    EXPECT_EQ(ParseHttpDate("   "), 0.0);
    EXPECT_EQ(ParseHttpDate("Sun, 31 Feb 1994 08:49:37 GMT"), 0.0);
    EXPECT_EQ(ParseHttpDate("yesterday"), 0.0);
    EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 99999 08:49:37 GMT"), 0.0);
    // A day that is not a number counts as 1.
    expectSameSecond(ParseHttpDate("xx Nov 1994"), at(1994, 11, 1));
}

TEST(HttpDateParse, HostileTimeFieldsStayFinite) {
    ZoneGuard zone("UTC0");
    const TDateTime value = ParseHttpDate("Sun, 06 Nov 1994 2147483647:2147483647:2147483647 GMT");
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_FALSE(FormatHttpDate(value).empty());
}

TEST(HttpDateFormat, WritesLocalTimeWithTheLocalOffset) {
    ZoneGuard east("ZZZ-1");
    EXPECT_EQ(FormatHttpDate(at(1994, 11, 6, 8, 49, 37)), "Sun, 6 Nov 1994 08:49:37 +0100");
    EXPECT_EQ(FormatHttpDate(at(2026, 12, 9, 0, 0, 0)), "Wed, 9 Dec 2026 00:00:00 +0100");
}

TEST(HttpDateFormat, NegativeOffsetAndHalfHours) {
    ZoneGuard west("ZZZ+3:30");
    EXPECT_EQ(FormatHttpDate(at(2000, 2, 29, 23, 59, 59)), "Tue, 29 Feb 2000 23:59:59 -0330");
}

TEST(HttpDateFormat, DatesBeyondTheCalendarAreHeldToIt) {
    ZoneGuard zone("UTC0");
    EXPECT_EQ(FormatHttpDate(1e15), "Fri, 31 Dec 9999 23:59:59 +0000");
    EXPECT_EQ(FormatHttpDate(-1e15), "Mon, 1 Jan 1 00:00:00 +0000");
    EXPECT_EQ(FormatHttpDate(std::nan("")), "Mon, 1 Jan 1 00:00:00 +0000");
}

TEST(HttpDateFormat, ReadsBackAsTheSameSecond) {
    ZoneGuard zone("ZZZ-5:45");
    const TDateTime value = at(2031, 7, 4, 13, 14, 15);
    expectSameSecond(ParseHttpDate(FormatHttpDate(value)), value);
}

TEST(LocalUtcOffsetTest, FollowsTheZone) {
    {
        ZoneGuard zone("ZZZ-2");
        EXPECT_NEAR(LocalUtcOffset(), 2.0 / 24, 1e-12);
    }
    {
        ZoneGuard zone("ZZZ+4");
        EXPECT_NEAR(LocalUtcOffset(), -4.0 / 24, 1e-12);
    }
}

}  // namespace
}  // namespace dorvanel::http
