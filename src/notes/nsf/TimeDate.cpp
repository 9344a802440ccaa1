// SPDX-License-Identifier: GPL-3.0-or-later
// TIMEDATE values (see TimeDate.h). The step to local time goes through the DXL client's own
// reading of the value as DXL would write it (in UTC), so that a date read from the database
// file and the same date read from its DXL export come out the same on every system.
#include "notes/nsf/TimeDate.h"

#include "notes/DxlDateTime.h"

#include <cstdio>

namespace notes::nsf {

namespace {

constexpr std::int64_t kHundredthsPerDay = 8640000;
constexpr std::int64_t kJulianDay1970 = 2440588; // 1 January 1970
constexpr std::int64_t kFirstDay = 1721426;      // 1 January 1
constexpr std::int64_t kLastDay = 5373484;       // 31 December 9999

struct Civil {
    int year;
    int month;
    int day;
};

// The proleptic Gregorian date of a day count from 1 January 1970.
Civil civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2)), month, day};
}

Civil civilOf(const TimeDate &v)
{
    return civilFromDays(static_cast<std::int64_t>(v.dateZone & 0xFFFFFF) - kJulianDay1970);
}

std::string zoneText(const TimeDate &v)
{
    const int minutes = v.zoneMinutes();
    const int a = minutes < 0 ? -minutes : minutes;
    char buf[32];
    std::snprintf(buf, sizeof buf, "zone %c%02d:%02d%s", minutes < 0 ? '-' : '+', a / 60, a % 60,
                  (v.dateZone & 0x80000000u) ? " DST" : "");
    return buf;
}

std::string rawText(const TimeDate &v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "TIMEDATE %08X %08X", static_cast<unsigned>(v.time),
                  static_cast<unsigned>(v.dateZone));
    return buf;
}

} // namespace

bool TimeDate::valid() const
{
    if (!hasTime() && !hasDate())
        return false;
    if (hasTime() && time >= kHundredthsPerDay)
        return false;
    const std::int64_t day = dateZone & 0xFFFFFF;
    return !hasDate() || (day >= kFirstDay && day <= kLastDay);
}

int TimeDate::zoneMinutes() const
{
    const unsigned zone = dateZone >> 24;
    const int minutes = static_cast<int>(zone & 0x0F) * 60 + static_cast<int>(zone >> 4 & 3) * 15;
    return (zone & 0x40) ? minutes : -minutes;
}

std::string describe(const TimeDate &v)
{
    if (!v.valid()) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "invalid (T 0x%08X, D 0x%08X)",
                      static_cast<unsigned>(v.time), static_cast<unsigned>(v.dateZone));
        return buf;
    }
    char buf[64];
    std::string out;
    if (v.hasDate()) {
        const Civil c = civilOf(v);
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
        out = buf;
    }
    if (v.hasTime()) {
        const unsigned t = v.time;
        std::snprintf(buf, sizeof buf, "%s%02u:%02u:%02u.%02u UTC, ", out.empty() ? "" : " ",
                      t / 360000, t / 6000 % 60, t / 100 % 60, t % 100);
        out += buf + zoneText(v);
    }
    return out;
}

ItemValue toItemValue(const TimeDate &v)
{
    if (!v.valid())
        return ItemValue::fromText(rawText(v));
    char dxl[40];
    if (v.hasDate() && v.hasTime()) {
        const Civil c = civilOf(v);
        const unsigned t = v.time;
        std::snprintf(dxl, sizeof dxl, "%04d%02d%02dT%02u%02u%02u,%02uZ", c.year, c.month, c.day,
                      t / 360000, t / 6000 % 60, t / 100 % 60, t % 100);
    } else if (v.hasDate()) {
        const Civil c = civilOf(v);
        std::snprintf(dxl, sizeof dxl, "%04d%02d%02d", c.year, c.month, c.day);
    } else {
        // A time without a date: the time of day it was written at, in its own zone.
        const std::int64_t local =
            (static_cast<std::int64_t>(v.time) + v.zoneMinutes() * 6000 + kHundredthsPerDay) %
            kHundredthsPerDay;
        std::snprintf(dxl, sizeof dxl, "T%02d%02d%02d,%02d", static_cast<int>(local / 360000),
                      static_cast<int>(local / 6000 % 60), static_cast<int>(local / 100 % 60),
                      static_cast<int>(local % 100));
    }
    DateTime dt;
    if (!parseDxlDateTime(dxl, dt))
        return ItemValue::fromText(rawText(v));
    return ItemValue::fromDateTime(dt);
}

} // namespace notes::nsf
