// SPDX-License-Identifier: GPL-3.0-or-later
// LMBCS, the character set of Notes' text: bytes 0x20-0x7F are ASCII, a byte from 0x80 stands
// for a character of code page 850, and a "group byte" below 0x20 announces one or two bytes of
// another character set (or, group 0x14, a UTF-16 unit). The decoder reads every group ICU's
// "LMBCS-1" converter reads and gives the same characters (tests/notes/tst_nsflmbcs.cpp checks
// it against ICU over every sequence of up to three bytes), without ICU at run time.
#pragma once

#include "notes/nsf/Bytes.h"

#include <string>

namespace notes::nsf {

// The UTF-16 units of `text`. A sequence no group decodes, or one cut short by the end of the
// text, gives U+FFFD. One exception to ICU: a control-character group byte (0x0F) followed by a
// byte below 0x20 is such a sequence, where ICU wraps around to U+FFE0-U+FFFD.
std::u16string lmbcsToUtf16(Bytes text);

// The same text in UTF-8; U+0000 stays a NUL byte, and a UTF-16 unit of a surrogate pair that
// has no partner gives U+FFFD.
std::string lmbcsToUtf8(Bytes text);

} // namespace notes::nsf
