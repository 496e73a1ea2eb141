#pragma once
// Date-times are day counts from 1899-12-30 with the time of day as the fraction, in local time. These are the
// conversions between them and the dates of HTTP headers and cookies.
#include <string>

namespace dorvanel::http {

using TDateTime = double;

// The earliest and latest date-times a header date can name: 0001-01-01 and the last second of 9999-12-31.
TDateTime MinDateTime();
TDateTime MaxDateTime();

// The day count of a calendar date; false for an impossible date (years 1 to 9999 only).
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& dayOfWeek /* 0 = Sunday */);

// The current local date-time.
TDateTime Now();

// Local time minus UTC as a day fraction. Fails with ENetFailedToRetreiveTimeZoneInfo when the operating
// system cannot tell.
TDateTime LocalUtcOffset();

// The local date-time named by a header date in any of the three HTTP forms; 0 as the date part when it
// does not read.
TDateTime ParseHttpDate(const std::string& text);

// "Www, d Mon yyyy hh:nn:ss +hhmm" for a local date-time.
std::string FormatHttpDate(TDateTime value);

}  // namespace dorvanel::http
