// SPDX-License-Identifier: GPL-3.0-or-later
// DXL date-time values (see DxlDateTime.h). Zone arithmetic is done on a UTC day count of our
// own rather than timegm(), which MinGW lacks; only the step to local time uses the C library.
#include "notes/DxlDateTime.h"

#include <cstdint>
#include <ctime>

namespace notes {

namespace {

bool readDigits(std::string_view text, std::size_t &pos, std::size_t count, int &value)
{
    if (pos + count > text.size())
        return false;
    int v = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    pos += count;
    return true;
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Notes keeps dates from year 1 to 9999 of the Gregorian calendar.
bool isRealDate(int y, int m, int d)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    return d <= kDays[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
}

bool toLocal(std::time_t t, std::tm &out)
{
#ifdef _WIN32
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

// Windows' C library converts only times from 1970 to 3000. Outside them, the same moment a
// whole number of 400-year cycles away is converted instead (the Gregorian calendar, weekdays
// included, repeats every 400 years) and the cycles are taken off the year again, so a birthday
// of 1965 shifts to local time as one of 2025 does, on every system.
bool toLocalAnyYear(std::int64_t utc, std::tm &out)
{
    if (toLocal(static_cast<std::time_t>(utc), out))
        return true;
    constexpr std::int64_t kCycle = std::int64_t{146097} * 86400;
    constexpr std::int64_t kFrom = std::int64_t{366} * 86400; // 2 January 1971
    const std::int64_t cycles =
        utc < kFrom ? (kFrom - utc + kCycle - 1) / kCycle : -((utc - kFrom) / kCycle);
    if (!toLocal(static_cast<std::time_t>(utc + cycles * kCycle), out))
        return false;
    out.tm_year -= static_cast<int>(cycles * 400);
    return true;
}

} // namespace

bool parseDxlDateTime(std::string_view text, DateTime &out)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty())
        return false;

    DateTime dt;
    std::size_t pos = 0;
    if (text[0] != 'T') {
        if (!readDigits(text, pos, 4, dt.year) || !readDigits(text, pos, 2, dt.month) ||
            !readDigits(text, pos, 2, dt.day))
            return false;
        if (!isRealDate(dt.year, dt.month, dt.day))
            return false; // read as text, before a zone could roll it into a real date
        dt.hasDate = true;
    }
    bool hasZone = false;
    int zoneSeconds = 0;
    if (pos < text.size() && text[pos] == 'T') {
        ++pos;
        if (!readDigits(text, pos, 2, dt.hour) || !readDigits(text, pos, 2, dt.minute) ||
            !readDigits(text, pos, 2, dt.second))
            return false;
        if (dt.hour > 23 || dt.minute > 59 || dt.second > 59)
            return false;
        dt.hasTime = true;
        if (pos < text.size() && (text[pos] == ',' || text[pos] == '.')) {
            ++pos; // hundredths of a second: below what the program shows
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
                ++pos;
        }
        if (pos < text.size() && text[pos] == 'Z') {
            ++pos;
            hasZone = true;
        } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            const int sign = text[pos] == '-' ? -1 : 1;
            ++pos;
            int hours = 0;
            int minutes = 0;
            if (!readDigits(text, pos, 2, hours))
                return false;
            if (pos < text.size() && text[pos] == ':')
                ++pos;
            if (pos < text.size() && !readDigits(text, pos, 2, minutes))
                return false;
            if (hours > 23 || minutes > 59)
                return false;
            hasZone = true;
            zoneSeconds = sign * (hours * 3600 + minutes * 60);
        }
    }
    if (pos != text.size() || (!dt.hasDate && !dt.hasTime))
        return false;

    if (hasZone) {
        // A time without a date is placed on 2 January 1970, which is far enough from the
        // epoch for every zone and keeps such values independent of today's date.
        const std::int64_t days = dt.hasDate ? daysFromCivil(dt.year, dt.month, dt.day) : 1;
        const std::int64_t utc =
            days * 86400 + dt.hour * 3600 + dt.minute * 60 + dt.second - zoneSeconds;
        std::tm local{};
        if (toLocalAnyYear(utc, local)) {
            if (dt.hasDate && !isRealDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday))
                return false; // the zone took it out of the calendar Notes keeps
            if (dt.hasDate) {
                dt.year = local.tm_year + 1900;
                dt.month = local.tm_mon + 1;
                dt.day = local.tm_mday;
            }
            dt.hour = local.tm_hour;
            dt.minute = local.tm_min;
            dt.second = local.tm_sec;
        }
    }
    out = dt;
    return true;
}

} // namespace notes
