// SPDX-License-Identifier: GPL-3.0-or-later
// CX, the compression Notes uses for the superblock and the bucket descriptor block: a chain
// of [u32 compressed length][bit stream] segments, each an LZ77 stream of literal bytes and
// back-references read bit by bit, least significant bit first.
#pragma once

#include "notes/nsf/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace notes::nsf {

// Decompresses `in` (the whole compressed body of `what`) into exactly `size` bytes. Throws
// FormatError when the stream is malformed, would write past `size`, ends short of it, or has
// more than the one segment every database seen so far has: decompression never writes more
// than `size` bytes, so the caller bounds the memory by bounding `size`.
std::vector<std::uint8_t> decompressCx(Bytes in, std::size_t size, const char *what);

} // namespace notes::nsf
