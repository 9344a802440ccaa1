// SPDX-License-Identifier: GPL-3.0-or-later
// The block store of parsed texts (see TextArena.h).
#include "notes/dxl/TextArena.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace notes::dxl {

void TextArena::sizeFirstBlock(std::size_t bytes)
{
    m_firstBlockSize = std::clamp<std::size_t>(bytes, 4096, kBlockSize);
}

void TextArena::begin()
{
    if (m_blocks.empty()) {
        m_blocks.push_back(
            {std::make_unique_for_overwrite<char[]>(m_firstBlockSize), m_firstBlockSize});
        m_current = 0;
        m_used = 0;
    }
    m_pieceStart = m_used;
}

void TextArena::append(const char *data, std::size_t size)
{
    if (m_used + size > m_blocks[m_current].size)
        moveToNextBlock(m_used - m_pieceStart + size);
    std::memcpy(m_blocks[m_current].data.get() + m_used, data, size);
    m_used += size;
}

void TextArena::moveToNextBlock(std::size_t needed)
{
    // The text being built moves along to the new block, so every text stays contiguous. A text
    // that outgrows a block gets one of twice its size, so a long value (an attachment, a long
    // comment) costs amortised constant time per byte instead of a copy of itself per piece.
    const std::size_t size =
        needed > kBlockSize / 2 ? std::max(kBlockSize, 2 * needed) : kBlockSize;
    const std::size_t partial = m_used - m_pieceStart;
    if (m_pieceStart == 0 && partial > 0) {
        // The text fills its block from the start, so nothing else lives there: the block grows
        // in place and the old one is freed, rather than left behind until the book goes.
        auto grown = std::make_unique_for_overwrite<char[]>(size);
        std::memcpy(grown.get(), m_blocks[m_current].data.get(), partial);
        m_blocks[m_current] = {std::move(grown), size};
        return;
    }
    const std::size_t next = m_current + 1;
    if (next > UINT32_MAX)
        throw std::length_error("TextArena: too many blocks");
    if (next == m_blocks.size())
        m_blocks.push_back({std::make_unique_for_overwrite<char[]>(size), size});
    else if (m_blocks[next].size < size)
        m_blocks[next] = {std::make_unique_for_overwrite<char[]>(size), size};
    if (partial > 0)
        std::memcpy(m_blocks[next].data.get(), m_blocks[m_current].data.get() + m_pieceStart,
                    partial);
    m_current = next;
    m_pieceStart = 0;
    m_used = partial;
}

TextArena::Ref TextArena::end()
{
    const std::size_t length = m_used - m_pieceStart;
    if (length > UINT32_MAX || m_pieceStart > UINT32_MAX)
        throw std::length_error("TextArena: text too long");
    return {static_cast<std::uint32_t>(m_current), static_cast<std::uint32_t>(m_pieceStart),
            static_cast<std::uint32_t>(length)};
}

TextArena::Ref TextArena::store(std::string_view text)
{
    begin();
    append(text.data(), text.size());
    return end();
}

std::string_view TextArena::view(Ref ref) const
{
    if (ref.length == 0)
        return {};
    return {m_blocks[ref.block].data.get() + ref.offset, ref.length};
}

} // namespace notes::dxl
