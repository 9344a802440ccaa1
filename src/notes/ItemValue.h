// SPDX-License-Identifier: GPL-3.0-or-later
// Item values of a Notes document: text, number or date-time, as GetItemValue returns them, and
// their default text form. The scan, the details view and the export all turn values into text
// through defaultText(), so every client writes the same text for the same value.
#pragma once

#include <string>
#include <vector>

namespace notes {

// A Notes date-time, already in local time. A value may carry a date, a time, or both.
struct DateTime {
    bool hasDate = false;
    bool hasTime = false;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime &, const DateTime &) = default;
};

struct ItemValue {
    enum class Kind { Text, Number, DateTime };

    Kind kind = Kind::Text;
    std::string text; // UTF-8; line breaks inside are "\n" (Notes stores CR LF on Windows)
    double number = 0.0;
    DateTime dateTime;

    static ItemValue fromText(std::string t);
    static ItemValue fromNumber(double n);
    static ItemValue fromDateTime(const DateTime &dt);

    friend bool operator==(const ItemValue &, const ItemValue &) = default;
};

using ItemValues = std::vector<ItemValue>;

// The default text form: text as it stands; numbers in their shortest form that reads back to
// the same double ("42", "3.5", "1e+21"); dates as "YYYY-MM-DD", date-times as
// "YYYY-MM-DD HH:MM:SS", times alone as "HH:MM:SS".
std::string defaultText(const ItemValue &value);

// Element 0 of an item's values in its default text form; "" when there is no element.
std::string firstText(const ItemValues &values);

} // namespace notes
