// SPDX-License-Identifier: GPL-3.0-or-later
// CX decompression (see Cx.h). The stream: the low 3 bits of the first byte are a mode (4 in
// every database seen; others are refused, as their meaning is not known), and tokens start at
// bit 3. A token's first bit is 0 for a literal (8 bits follow) and 1 for a back-reference: a
// second bit 1 means length 2, else a run-coded length follows (plus 2; 0x102 or more ends the
// stream). References longer than 2 carry a bit that, when 0, announces a run-coded high part
// of the offset; 8 low offset bits close every reference.
#include "notes/nsf/Cx.h"

#include <string>

namespace notes::nsf {

namespace {

constexpr unsigned kMode = 4;
constexpr unsigned kEndLength = 0x102;
// The longest reference (257 bytes) takes 27 bits: no stream grows by more than this factor,
// so a declared size beyond it is refused before any memory is set aside for it.
constexpr std::size_t kMaxGrowth = 80;

class BitReader {
public:
    BitReader(Bytes bytes, const char *what) : m_bytes(bytes), m_what(what) {}

    unsigned bit()
    {
        if (m_bit >= m_bytes.size() * 8)
            damaged(std::string(m_what) + " is cut short: its compressed stream ends without "
                                          "its end mark");
        const unsigned b = (m_bytes[m_bit >> 3] >> (m_bit & 7)) & 1u;
        ++m_bit;
        return b;
    }
    unsigned bits(unsigned count)
    {
        unsigned v = 0;
        for (unsigned i = 0; i < count; ++i)
            v |= bit() << i;
        return v;
    }
    // Up to 8 zero bits ended by a one give the width w (zeros + 1); after 8 zeros one more bit
    // goes unread for its value. The value is (2^w - 1) + the next w bits.
    unsigned runCoded()
    {
        unsigned zeros = 0;
        while (zeros < 8 && bit() == 0)
            ++zeros;
        if (zeros == 8)
            bit();
        const unsigned width = zeros + 1;
        return ((1u << width) - 1) + bits(width);
    }
    void skip(std::size_t count) { m_bit += count; }
    std::size_t bytesUsed() const { return (m_bit + 7) / 8; }

private:
    Bytes m_bytes;
    const char *m_what;
    std::size_t m_bit = 0;
};

void decodeSegment(Bytes stream, std::vector<std::uint8_t> &out, std::size_t size, const char *what)
{
    if (stream.empty() || (stream[0] & 7u) != kMode)
        unsupported(std::string(what) +
                    " is compressed in a way this reader does not know "
                    "(CX mode " +
                    std::to_string(stream.empty() ? 0 : stream[0] & 7u) + ")");
    BitReader in(stream, what);
    in.skip(3);
    for (;;) {
        if (in.bit() == 0) {
            if (out.size() >= size)
                damaged(std::string(what) + " decompresses to more than its declared " +
                        std::to_string(size) + " bytes");
            out.push_back(static_cast<std::uint8_t>(in.bits(8)));
            continue;
        }
        unsigned length = 2;
        if (in.bit() == 0) {
            length = in.runCoded() + 2;
            if (length >= kEndLength)
                break;
        }
        unsigned high = 0;
        if (length > 2 && in.bit() == 0)
            high = in.runCoded();
        const std::size_t offset = static_cast<std::size_t>(high) << 8 | in.bits(8);
        if (offset == 0 || offset > out.size())
            damaged(std::string(what) + " holds a back-reference before the start of its data");
        if (length > size - out.size())
            damaged(std::string(what) + " decompresses to more than its declared " +
                    std::to_string(size) + " bytes");
        for (unsigned i = 0; i < length; ++i)
            out.push_back(out[out.size() - offset]);
    }
    if (in.bytesUsed() != stream.size())
        damaged(std::string(what) + " has bytes after the end of its compressed stream");
}

} // namespace

std::vector<std::uint8_t> decompressCx(Bytes in, std::size_t size, const char *what)
{
    const ByteView body(in, what);
    const std::uint32_t length = body.u32(0);
    if (length == 0 || length > body.size() - 4)
        damaged(std::string(what) + " declares a compressed length of " + std::to_string(length) +
                " bytes where " + std::to_string(body.size() - 4) + " are stored");
    if (length != body.size() - 4)
        unsupported(std::string(what) + " is compressed in more than one segment, which no "
                                        "database seen so far has");
    if (size / kMaxGrowth > length)
        damaged(std::string(what) + " declares " + std::to_string(size) +
                " bytes of data, more than its " + std::to_string(length) +
                " compressed bytes can hold");
    std::vector<std::uint8_t> out;
    out.reserve(size);
    decodeSegment(in.subspan(4, length), out, size, what);
    if (out.size() != size)
        damaged(std::string(what) + " decompresses to " + std::to_string(out.size()) +
                " bytes, not its declared " + std::to_string(size));
    return out;
}

} // namespace notes::nsf
