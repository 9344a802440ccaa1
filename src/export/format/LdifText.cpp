// SPDX-License-Identifier: GPL-3.0-or-later
// LDIF lines and distinguished names (see LdifText.h).
#include "export/format/LdifText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace formats {

namespace {

constexpr std::size_t kLineWidth = 76;
// Thunderbird takes every record whose raw text holds this for a mailing list. The base64 of
// valid UTF-8 (what every reader hands over) never spells it: each of its four alignments would
// put a continuation byte straight after an ASCII one.
constexpr std::string_view kListMarker = "groupOfNames";

bool isSafeString(std::string_view value)
{
    if (value.empty())
        return true;
    if (value.front() == ' ' || value.front() == ':' || value.front() == '<' || value.back() == ' ')
        return false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E)
            return false;
    }
    return true;
}

void appendBase64(std::string &out, std::string_view bytes)
{
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16 |
                                std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                                std::uint32_t(static_cast<unsigned char>(bytes[i + 2]));
        for (const int shift : {18, 12, 6, 0})
            out += kDigits[(n >> shift) & 0x3F];
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        std::uint32_t n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2)
            n |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kDigits[(n >> 18) & 0x3F];
        out += kDigits[(n >> 12) & 0x3F];
        out += rest == 2 ? kDigits[(n >> 6) & 0x3F] : '=';
        out += '=';
    }
}

// The code point at `at` and the bytes it takes; an invalid sequence is one byte, 0xFFFFFFFF.
std::uint32_t codePointAt(std::string_view text, std::size_t at, std::size_t &length)
{
    constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t count = 0;
    std::uint32_t cp = 0;
    std::uint32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1, cp = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2, cp = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return kInvalid;
    }
    if (at + count >= text.size())
        return kInvalid;
    for (std::size_t i = 1; i <= count; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return kInvalid;
        cp = cp << 6 | (byte(at + i) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kInvalid;
    length = count + 1;
    return cp;
}

void appendUtf8(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | cp >> 18);
        out += char(0x80 | (cp >> 12 & 0x3F));
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool isWhiteSpace(std::uint32_t cp)
{
    return cp == ' ' || (cp >= 0x09 && cp <= 0x0D) || cp == 0xA0 || cp == 0x3000 ||
           (cp >= 0x2000 && cp <= 0x200A);
}

// The simple lower case of the letters of the scripts named in LdifText.h.
std::uint32_t lowerCase(std::uint32_t cp)
{
    const auto between = [cp](std::uint32_t first, std::uint32_t last) {
        return cp >= first && cp <= last;
    };
    if (between('A', 'Z'))
        return cp + 0x20;
    if (between(0xFF01, 0xFF5E)) // full-width ASCII
        return lowerCase(cp - 0xFEE0);
    if (between(0xC0, 0xDE) && cp != 0xD7)
        return cp + 0x20;
    if (between(0x100, 0x137) || between(0x14A, 0x177))
        return cp | 1;
    if (between(0x139, 0x148) || between(0x179, 0x17E))
        return cp % 2 == 1 ? cp + 1 : cp;
    if (cp == 0x178)
        return 0xFF;
    if (between(0x391, 0x3A1) || between(0x3A3, 0x3AB))
        return cp + 0x20;
    if (cp == 0x386)
        return 0x3AC;
    if (between(0x388, 0x38A))
        return cp + 0x25;
    if (cp == 0x38C)
        return 0x3CC;
    if (between(0x38E, 0x38F))
        return cp + 0x3F;
    if (cp == 0x3C2) // final sigma
        return 0x3C3;
    if (between(0x400, 0x40F))
        return cp + 0x50;
    if (between(0x410, 0x42F))
        return cp + 0x20;
    return cp;
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHex(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isObjectClass(std::string_view attribute)
{
    constexpr std::string_view kName = "objectclass";
    return attribute.size() == kName.size() &&
           std::equal(attribute.begin(), attribute.end(), kName.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
           });
}

} // namespace

void appendLdifLine(std::string &out, std::string_view attribute, std::string_view value)
{
    std::string line(attribute);
    if (value.empty()) {
        line += ':';
    } else if (isSafeString(value) &&
               (value.find(kListMarker) == std::string_view::npos || isObjectClass(attribute))) {
        line += ": ";
        line += value;
    } else {
        line += ":: ";
        appendBase64(line, value);
    }
    // Plain values and base64 are ASCII: a fold never falls inside a character.
    std::size_t at = 0;
    std::size_t width = kLineWidth;
    do {
        if (at > 0)
            out += ' ';
        out.append(line, at, width);
        out += "\r\n";
        at += width;
        width = kLineWidth - 1;
    } while (at < line.size());
}

std::string dnValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += '\\';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
            continue;
        }
        const bool special = std::string_view(",+\"\\<>;=").find(c) != std::string_view::npos;
        const bool edge = (i == 0 && (c == '#' || c == ' ')) || (i + 1 == value.size() && c == ' ');
        if (special || edge)
            out += '\\';
        out += c;
    }
    return out;
}

std::string dnProblem(std::string_view dn)
{
    for (std::size_t i = 0, length = 0; i < dn.size(); i += length) {
        if (codePointAt(dn, i, length) == 0xFFFFFFFF)
            return "it is not valid UTF-8";
        if (static_cast<unsigned char>(dn[i]) < 0x20 || dn[i] == 0x7F)
            return "it holds a control character";
    }
    std::size_t at = 0;
    const auto skipSpaces = [&] {
        while (at < dn.size() && dn[at] == ' ')
            ++at;
    };
    skipSpaces();
    if (at == dn.size())
        return "it is empty";
    while (true) {
        skipSpaces();
        // The attribute type: a name (ou, dc, ...) or a numeric OID.
        const std::size_t typeStart = at;
        if (at < dn.size() && isAlpha(dn[at])) {
            while (at < dn.size() && (isAlpha(dn[at]) || isDigit(dn[at]) || dn[at] == '-'))
                ++at;
        } else {
            while (at < dn.size() && (isDigit(dn[at]) || dn[at] == '.'))
                ++at;
            const std::string_view oid = dn.substr(typeStart, at - typeStart);
            if (oid.find('.') == std::string_view::npos || oid.front() == '.' ||
                oid.back() == '.' || oid.find("..") != std::string_view::npos)
                at = typeStart;
        }
        if (at == typeStart)
            return "an attribute type (such as ou or dc) is missing before a value";
        skipSpaces();
        if (at == dn.size() || dn[at] != '=')
            return "\"" + std::string(dn.substr(typeStart, at - typeStart)) +
                   "\" is not followed by \"=\"";
        ++at;
        skipSpaces();
        // The value, up to an unescaped "," or "+"; spaces before it are left out.
        std::size_t end = at;
        const std::size_t valueStart = at;
        if (at < dn.size() && dn[at] == '#') {
            ++at;
            while (at + 1 < dn.size() && isHex(dn[at]) && isHex(dn[at + 1]))
                at += 2;
            if (at == valueStart + 1)
                return "a value starting with \"#\" must be hex digits in pairs";
            end = at;
        } else {
            while (at < dn.size() && dn[at] != ',' && dn[at] != '+') {
                const char c = dn[at];
                if (c == '\\') {
                    if (at + 2 < dn.size() && isHex(dn[at + 1]) && isHex(dn[at + 2]))
                        at += 3;
                    else if (at + 1 < dn.size() &&
                             std::string_view(",+\"\\<>;= #").find(dn[at + 1]) !=
                                 std::string_view::npos)
                        at += 2;
                    else
                        return "a \"\\\" must be followed by a special character or two hex "
                               "digits";
                    end = at;
                    continue;
                }
                if (c == '"' || c == ';' || c == '<' || c == '>')
                    return std::string("the character ") + c + " must be escaped with \"\\\"";
                ++at;
                if (c != ' ')
                    end = at;
            }
        }
        if (end == valueStart)
            return "a value is empty";
        at = end;
        skipSpaces();
        if (at == dn.size())
            return {};
        if (dn[at] != ',' && dn[at] != '+')
            return "a value must be followed by \",\" or \"+\"";
        ++at;
    }
}

std::string matchKey(std::string_view value)
{
    std::string key;
    key.reserve(value.size());
    bool space = false;
    for (std::size_t i = 0, length = 0; i < value.size(); i += length) {
        const std::uint32_t cp = codePointAt(value, i, length);
        if (cp == 0xFFFFFFFF) {
            key += value[i];
            continue;
        }
        if (isWhiteSpace(cp)) {
            space = true;
            continue;
        }
        if (space && !key.empty())
            key += ' ';
        space = false;
        appendUtf8(key, lowerCase(cp));
    }
    return key;
}

} // namespace formats
