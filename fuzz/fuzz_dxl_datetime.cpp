// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzing the DXL date-time reader. Beyond not crashing, whatever it accepts must be a real
// date and time of the calendar Notes keeps (years 1 to 9999), and must read back unchanged when
// written again in DXL's own form without a zone.
#include "notes/DxlDateTime.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    notes::DateTime dt;
    if (!notes::parseDxlDateTime(text, dt))
        return 0;
    if (!dt.hasDate && !dt.hasTime)
        std::abort();
    if (dt.hasDate &&
        (dt.year < 1 || dt.year > 9999 || dt.month < 1 || dt.month > 12 || dt.day < 1 ||
         dt.day > 31 || !(std::chrono::year(dt.year) / dt.month / dt.day).ok()))
        std::abort();
    if (dt.hasTime && (dt.hour < 0 || dt.hour > 23 || dt.minute < 0 || dt.minute > 59 ||
                       dt.second < 0 || dt.second > 59))
        std::abort();

    char again[32];
    int length = 0;
    if (dt.hasDate)
        length = std::snprintf(again, sizeof again, "%04d%02d%02d", dt.year, dt.month, dt.day);
    if (dt.hasTime)
        length += std::snprintf(again + length, sizeof again - std::size_t(length), "T%02d%02d%02d",
                                dt.hour, dt.minute, dt.second);
    notes::DateTime back;
    if (!notes::parseDxlDateTime(std::string_view(again, static_cast<std::size_t>(length)), back) ||
        !(back == dt))
        std::abort();
    notes::defaultText(notes::ItemValue::fromDateTime(dt));
    return 0;
}
