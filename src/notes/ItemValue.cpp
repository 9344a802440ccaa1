// SPDX-License-Identifier: GPL-3.0-or-later
// Default text form of Notes item values (see ItemValue.h).
#include "notes/ItemValue.h"

#include <charconv>
#include <cstdio>

namespace notes {

ItemValue ItemValue::fromText(std::string t)
{
    ItemValue v;
    v.kind = Kind::Text;
    v.text = std::move(t);
    return v;
}

ItemValue ItemValue::fromNumber(double n)
{
    ItemValue v;
    v.kind = Kind::Number;
    v.number = n;
    return v;
}

ItemValue ItemValue::fromDateTime(const DateTime &dt)
{
    ItemValue v;
    v.kind = Kind::DateTime;
    v.dateTime = dt;
    return v;
}

static std::string numberText(double n)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    std::string s(buf, res.ptr);
    if (s == "-0")
        s = "0";
    return s;
}

static std::string dateTimeText(const DateTime &dt)
{
    char buf[64];
    if (dt.hasDate && dt.hasTime)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                      dt.hour, dt.minute, dt.second);
    else if (dt.hasDate)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", dt.year, dt.month, dt.day);
    else if (dt.hasTime)
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", dt.hour, dt.minute, dt.second);
    else
        buf[0] = '\0';
    return buf;
}

std::string defaultText(const ItemValue &value)
{
    switch (value.kind) {
    case ItemValue::Kind::Text:
        return value.text;
    case ItemValue::Kind::Number:
        return numberText(value.number);
    case ItemValue::Kind::DateTime:
        return dateTimeText(value.dateTime);
    }
    return {};
}

std::string firstText(const ItemValues &values)
{
    return values.empty() ? std::string() : defaultText(values.front());
}

} // namespace notes
