// SPDX-License-Identifier: GPL-3.0-or-later
// The decoding tables of the LMBCS reader, written by make_lmbcs_tables.cpp from ICU's
// "LMBCS-1" converter (LmbcsTables.cpp; tests/notes/tst_nsflmbcs.cpp checks them against ICU).
// They cover every group ICU decodes with a table: the single-byte groups 0x01 (code page 850),
// 0x02 (851, Greek), 0x03 (1255, Hebrew), 0x04 (1256, Arabic), 0x05 (1251, Cyrillic), 0x06 (852,
// Latin 2), 0x08 (1254, Turkish) and 0x0B (874, Thai), Lotus's own characters behind a
// single-byte group byte and a byte below 0x80, and the double-byte groups 0x10 (932,
// Japanese), 0x11 (949, Korean), 0x12 (950, traditional Chinese) and 0x13 (936, simplified
// Chinese). Groups 0x0F (control characters) and 0x14 (UTF-16) need no table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace notes::nsf::lmbcs {

// A UTF-16 unit that stands for "no character here".
inline constexpr char16_t kNone = 0xFFFF;

// Bytes 0x80-0xFF of the single-byte groups, in the order of kSingleGroupBytes, 128 each.
inline constexpr std::uint8_t kSingleGroupBytes[] = {0x01, 0x02, 0x03, 0x04,
                                                     0x05, 0x06, 0x08, 0x0B};
extern const char16_t kSingleHigh[];

// A single-byte group byte followed by a byte below 0x80: (group << 8 | byte), sorted.
struct Exception {
    std::uint16_t key;
    char16_t unit;
};
extern const Exception kExceptions[];
extern const std::size_t kExceptionCount;

// The double-byte groups 0x10-0x13 by their first data byte (the lead): the trail bytes from
// `first` to first + count - 1 have their units at kDouble[offset...]. The row of the group
// byte itself holds the single-byte characters (a doubled group byte announces one).
struct Row {
    std::uint8_t first;
    std::uint16_t count;
    std::uint32_t offset;
};
extern const Row kRows[4][256];
extern const char16_t kDouble[];
extern const std::size_t kDoubleSize;

} // namespace notes::nsf::lmbcs
