// SPDX-License-Identifier: GPL-3.0-or-later
// vCard text rules (see VCardText.h).
#include "export/format/VCardText.h"

#include <algorithm>

namespace formats {

namespace {

constexpr std::size_t kFoldOctets = 75;

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// What readers may strip after a fold: PCRE's \s, less the line breaks that escaping removed.
bool whiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Space, line breaks and the other controls make a value text rather than an address. Other
// characters that a URI would escape ("<", "|", letters beyond ASCII) stay as typed: readers take
// them so, as browsers do.
bool uriOctet(char c)
{
    const auto octet = static_cast<unsigned char>(c);
    return octet > 0x20 && octet != 0x7F;
}

} // namespace

void appendVCardText(std::string &out, std::string_view value)
{
    // Plain runs go in whole: most values have nothing to escape.
    std::size_t from = 0;
    for (std::size_t i = value.find_first_of("\\,;\r\n"); i != std::string_view::npos;
         i = value.find_first_of("\\,;\r\n", from)) {
        out.append(value.substr(from, i - from));
        const char c = value[i];
        from = i + 1;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && from < value.size() && value[from] == '\n')
                ++from;
            out += "\\n";
        } else {
            out += '\\';
            out += c;
        }
    }
    out.append(value.substr(from));
}

void appendVCardUrl(std::string &out, std::string_view value)
{
    if (!std::all_of(value.begin(), value.end(), uriOctet)) {
        appendVCardText(out, value);
        return;
    }
    std::size_t from = 0;
    for (std::size_t i = value.find_first_of("\\,;"); i != std::string_view::npos;
         i = value.find_first_of("\\,;", from)) {
        out.append(value.substr(from, i - from));
        out += value[i] == ';' ? "%3B" : value[i] == ',' ? "%2C" : "%5C";
        from = i + 1;
    }
    out.append(value.substr(from));
}

void appendFoldedLine(std::string &out, std::string_view line)
{
    // The first physical line holds 75 octets of the content line, each continuation 74 after
    // its leading space.
    std::size_t room = kFoldOctets;
    while (line.size() > room) {
        // The continuation starts at the last character before the limit that is no white space.
        std::size_t cut = room;
        while (cut > 0 && (continuationByte(line[cut]) || whiteSpace(line[cut])))
            --cut;
        if (cut == 0) {
            // White space all along (or no UTF-8): the fold must fall in it, at a character.
            cut = room;
            while (cut > 0 && continuationByte(line[cut]))
                --cut;
            if (cut == 0) // not UTF-8 at all: a fold anywhere is as good as any
                cut = room;
        }
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = kFoldOctets - 1;
    }
    out.append(line);
    out += "\r\n";
}

} // namespace formats
