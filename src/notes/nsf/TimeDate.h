// SPDX-License-Identifier: GPL-3.0-or-later
// TIMEDATE, Notes' date-time: u32 hundredths of a second since midnight UTC (0xFFFFFFFF: no
// time), then u32 with the Julian day number in bits 0-23 (0xFFFFFF: no date) and the zone in
// bits 24-31 (0x80: the zone observes daylight saving time, 0x40: east of UTC, bits 24-27
// hours, bits 28-29 quarter hours).
#pragma once

#include "notes/ItemValue.h"

#include <cstdint>
#include <string>

namespace notes::nsf {

struct TimeDate {
    std::uint32_t time = 0;
    std::uint32_t dateZone = 0;

    static constexpr std::uint32_t kNoTime = 0xFFFFFFFF;
    static constexpr std::uint32_t kNoDate = 0xFFFFFF;

    bool hasTime() const { return time != kNoTime; }
    bool hasDate() const { return (dateZone & 0xFFFFFF) != kNoDate; }
    // Both halves name a real moment: a time below 24 hours, a date from 1 January 1 to
    // 31 December 9999 (the dates Notes keeps).
    bool valid() const;
    // The zone's offset from UTC in minutes, east positive, daylight saving time left out.
    int zoneMinutes() const;

    friend bool operator==(const TimeDate &, const TimeDate &) = default;
};

// The value as stored, for the record: "2020-10-05 17:10:07.00 UTC, zone -05:00 DST";
// "2020-10-05" for a date alone; "17:10:07.00 UTC, zone ..." for a time alone; "invalid
// (T 0xE8B5B740, D 0x6B135DC8)" when valid() is false.
std::string describe(const TimeDate &value);

// The value as the DXL client gives the same value: a date and time in local time, a date
// alone as stored, a time alone in the zone it was written in. A value that is not valid(), or
// that local time takes outside the years 1 to 9999, is a text of its two halves in hexadecimal
// ("TIMEDATE E8B5B740 6B135DC8"), as the DXL client keeps a date it cannot read as text.
ItemValue toItemValue(const TimeDate &value);

} // namespace notes::nsf
