// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding LMBCS (see Lmbcs.h). The reading of a group byte follows ICU's: how many bytes
// follow it depends only on the group byte, so a bad byte never shifts the rest of the text.
#include "notes/nsf/Lmbcs.h"

#include "notes/nsf/LmbcsTables.h"

#include <algorithm>

namespace notes::nsf {

namespace {

using namespace lmbcs;

constexpr char16_t kReplacement = 0xFFFD;

int singleGroupIndex(std::uint8_t group)
{
    const auto *end = std::end(kSingleGroupBytes);
    const auto *found = std::find(std::begin(kSingleGroupBytes), end, group);
    return found == end ? -1 : static_cast<int>(found - std::begin(kSingleGroupBytes));
}

char16_t singleByte(int groupIndex, std::uint8_t byte)
{
    if (byte >= 0x80)
        return kSingleHigh[groupIndex * 128 + (byte - 0x80)];
    const std::uint16_t key = static_cast<std::uint16_t>(kSingleGroupBytes[groupIndex] << 8 | byte);
    const Exception *begin = kExceptions;
    const Exception *end = kExceptions + kExceptionCount;
    const Exception *found = std::lower_bound(
        begin, end, key, [](const Exception &e, std::uint16_t k) { return e.key < k; });
    return found != end && found->key == key ? found->unit : kNone;
}

char16_t doubleByte(std::uint8_t group, std::uint8_t lead, std::uint8_t trail)
{
    const Row &row = kRows[group - 0x10][lead];
    if (row.count == 0 || trail < row.first || trail - row.first >= row.count)
        return kNone;
    return kDouble[row.offset + (trail - row.first)];
}

bool fixedByte(std::uint8_t b)
{
    return (b >= 0x20 && b < 0x80) || b == 0x00 || b == 0x09 || b == 0x0A || b == 0x0D || b == 0x19;
}

} // namespace

std::u16string lmbcsToUtf16(Bytes text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const std::uint8_t b = text[i];
        if (fixedByte(b)) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        if (b >= 0x80) {
            const char16_t c = kSingleHigh[b - 0x80]; // group 0x01 goes without its byte
            out += c == kNone ? kReplacement : c;
            ++i;
            continue;
        }
        char16_t c = kNone;
        std::size_t length = 1;
        if (b == 0x0F) {
            length = 2;
            if (i + 1 < n && text[i + 1] >= 0x20)
                c = text[i + 1] < 0x80 ? static_cast<char16_t>(text[i + 1] - 0x20) : text[i + 1];
        } else if (b == 0x14) {
            length = 3;
            if (i + 2 < n) {
                // Big-endian UTF-16; a low byte of zero is written as F6 in the high byte.
                const std::uint8_t high = text[i + 1];
                const std::uint8_t low = text[i + 2];
                const unsigned unit = high == 0xF6 ? unsigned(low) << 8 : unsigned(high) << 8 | low;
                if (unit < 0xFFFE)
                    c = static_cast<char16_t>(unit);
            }
        } else if (b >= 0x10 && b <= 0x13) {
            length = 3;
            if (i + 2 < n)
                c = doubleByte(b, text[i + 1], text[i + 2]);
        } else if (const int group = singleGroupIndex(b); group >= 0) {
            length = 2;
            if (i + 1 < n)
                c = singleByte(group, text[i + 1]);
        }
        out += c == kNone ? kReplacement : c;
        i += std::min(length, n - i);
    }
    return out;
}

std::string lmbcsToUtf8(Bytes text)
{
    const std::u16string units = lmbcsToUtf16(text);
    std::string out;
    out.reserve(units.size() + units.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace notes::nsf
