// SPDX-License-Identifier: GPL-3.0-or-later
// ASCII case and spacing, as Notes compares item, view and form names: only A-Z fold, so a UTF-8
// name never changes under folding, whatever the locale. One place for the rules every client
// and the contact record share.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace notes::ascii {

constexpr char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline void lowerInto(std::string_view text, std::string &out)
{
    out.resize(text.size());
    std::transform(text.begin(), text.end(), out.begin(), lower);
}

constexpr bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// Ordering ignoring case, as the "$People" view sorts; other bytes compare as unsigned UTF-8.
constexpr int compareIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(lower(a[i]));
        const auto y = static_cast<unsigned char>(lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

constexpr bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           equalIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// XML's white space; the contact's names trim spaces alone (" ").
inline constexpr std::string_view kWhiteSpace = " \t\r\n";

constexpr std::string_view trimmed(std::string_view text, std::string_view spaces = kWhiteSpace)
{
    const auto first = text.find_first_not_of(spaces);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

} // namespace notes::ascii
