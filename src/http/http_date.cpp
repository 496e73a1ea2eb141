#include "http/http_date.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "http/exceptions.h"
#include "http/net_text.h"
#include "http/uri.h"

namespace dorvanel::http {

namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int64_t kMsPerDay = 86400000;
// Days from 0000-03-01 (the civil-day origin below) to 1899-12-30, the day count origin.
constexpr int64_t kEpochShift = 693899;

// Days since 0000-03-01 of a proleptic Gregorian date; the inverse is civilFromDays.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// 1 to 12 for a three-letter month name in any case, 0 otherwise.
int monthNumber(std::string_view text) {
    if (text.size() != 3) return 0;
    for (int i = 0; i < 12; ++i) {
        if (SameText(text, kMonths[i])) return i + 1;
    }
    return 0;
}

bool startsWithWeekday(const std::string& text) {
    if (text.size() < 3) return false;
    for (const char* name : kWeekdays) {
        if (SameText(std::string_view(text).substr(0, 3), name)) return true;
    }
    return false;
}

// Takes the text up to `separator` off the front of `rest` and trims what remains on the left.
std::string takeField(std::string& rest, std::string_view separator) {
    std::string field = TakeToken(rest, separator);
    rest = TrimLeft(rest);
    return field;
}

// Offset of a "+hhmm" / "-hhmm" zone as a day fraction; 0 for a malformed or short zone ("GMT").
double zoneOffset(const std::string& zone) {
    if (zone.size() <= 4) return 0;
    const char sign = zone[0];
    if (sign != '+' && sign != '-') return 0;
    for (size_t i = 1; i < 5; ++i) {
        if (zone[i] < '0' || zone[i] > '9') return 0;
    }
    const int hours = (zone[1] - '0') * 10 + (zone[2] - '0');
    const int minutes = (zone[3] - '0') * 10 + (zone[4] - '0');
    const double offset = hours / 24.0 + minutes / 1440.0;
    return sign == '-' ? -offset : offset;
}

}  // namespace

TDateTime MinDateTime() { return static_cast<double>(daysFromCivil(1, 1, 1) - kEpochShift); }

TDateTime MaxDateTime() { return static_cast<double>(daysFromCivil(9999, 12, 31) - kEpochShift) + 86399.0 / 86400.0; }

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return false;
    }
    date = static_cast<double>(daysFromCivil(year, month, day) - kEpochShift);
    return true;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& dayOfWeek) {
    // Out-of-range values (huge max-ages, odd header times) are held to the years 1 to 9999.
    if (std::isnan(value) || value < MinDateTime()) value = MinDateTime();
    if (value > MaxDateTime()) value = MaxDateTime();
    const int64_t totalMs = std::llround(value * kMsPerDay);
    int64_t days = totalMs / kMsPerDay;
    int64_t msOfDay = totalMs % kMsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMsPerDay;
        --days;
    }
    civilFromDays(days + kEpochShift, year, month, day);
    if (year > 9999) {  // the rounding above can step past the last second
        year = 9999;
        month = 12;
        day = 31;
        msOfDay = kMsPerDay - 1000;
    }
    const int64_t seconds = msOfDay / 1000;
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>(seconds / 60 % 60);
    second = static_cast<int>(seconds % 60);
    // 1899-12-30 was a Saturday.
    dayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7);
}

TDateTime LocalUtcOffset() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        throw ENetFailedToRetreiveTimeZoneInfo();
    }
    return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

TDateTime Now() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const double unixDays = std::chrono::duration<double>(sinceEpoch).count() / 86400.0;
    return unixDays + 25569.0 + LocalUtcOffset();
}

TDateTime ParseHttpDate(const std::string& text) {
    std::string rest = Trim(text);
    if (rest.empty()) return 0;

    if (startsWithWeekday(rest)) {
        TakeToken(rest, " ");
        rest = TrimLeft(rest);
    }
    const size_t dash = rest.find('-');
    const size_t space = rest.find(' ');
    const std::string sep = (dash != std::string::npos && dash >= 1 && dash < space) ? "-" : " ";

    int day = 1;
    int month = 0;
    {
        std::string peek = rest;
        if (monthNumber(TakeToken(peek, sep)) != 0) {
            month = monthNumber(takeField(rest, sep));
            day = Int32Or(takeField(rest, sep), 1);
        } else {
            day = Int32Or(takeField(rest, sep), 1);
            month = monthNumber(takeField(rest, sep));
        }
    }

    std::string yearField = takeField(rest, " ");
    int32_t year = Int32Or(yearField, 1900);
    if (year == 1900) {
        // The asctime form: the field holds the time and the year comes last.
        year = Int32Or(rest, 1900);
        rest = yearField;
    }
    if (year >= 0 && year < 80) {
        year += 2000;
    } else if (year >= 80 && year <= 99) {
        year += 1900;
    }

    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result)) return 0;

    if (rest.find(':') != std::string::npos) {
        std::string time = takeField(rest, " ");
        const int32_t hours = Int32Or(TakeToken(time, ":"), 0);
        const int32_t minutes = Int32Or(TakeToken(time, ":"), 0);
        const int32_t seconds = Int32Or(TakeToken(time, ":"), 0);
        result += hours / 24.0 + minutes / 1440.0 + seconds / 86400.0;
    }
    const std::string zone = TrimLeft(rest);
    return result - zoneOffset(zone) + LocalUtcOffset();
}

std::string FormatHttpDate(TDateTime value) {
    int year, month, day, hour, minute, second, dow;
    DecodeDateTime(value, year, month, day, hour, minute, second, dow);
    const double offset = LocalUtcOffset();
    const long long offsetMinutes = std::llround(std::fabs(offset) * 1440.0);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %d %s %d %02d:%02d:%02d %c%02lld%02lld", kWeekdays[dow], day,
                  kMonths[month - 1], year, hour, minute, second, offset >= 0 ? '+' : '-', offsetMinutes / 60,
                  offsetMinutes % 60);
    return buffer;
}

}  // namespace dorvanel::http
