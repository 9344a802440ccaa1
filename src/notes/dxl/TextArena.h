// SPDX-License-Identifier: GPL-3.0-or-later
// TextArena: one store for the many short texts of a parsed address book. Texts are packed into
// large blocks and named by small references instead of each owning a heap string, which keeps a
// book of 100,000 contacts (several million values) compact and quick to build. The block in use
// never moves, so growing the arena never copies what is already stored (only a text longer
// than a block grows, by doubling, so that a long value costs amortised constant time per
// byte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace notes::dxl {

class TextArena final {
public:
    struct Ref {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    TextArena() = default;
    TextArena(const TextArena &) = delete;
    TextArena &operator=(const TextArena &) = delete;
    TextArena(TextArena &&) = default;
    TextArena &operator=(TextArena &&) = default;

    // The size of the first block, for a caller that knows how much text at most is coming (a
    // small book then costs a small block). Only before the first text.
    void sizeFirstBlock(std::size_t bytes);

    // A text is built by begin(), any number of append() and end(); only one at a time.
    void begin();
    void append(const char *data, std::size_t size);
    void append(char c) { append(&c, 1); }
    Ref end();
    // Stores a whole text at once.
    Ref store(std::string_view text);

    std::string_view view(Ref ref) const;

private:
    static constexpr std::size_t kBlockSize = std::size_t{4} << 20;

    struct Block {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
    };

    void moveToNextBlock(std::size_t needed);

    std::vector<Block> m_blocks;
    std::size_t m_current = 0;
    std::size_t m_used = 0;
    std::size_t m_pieceStart = 0;
    std::size_t m_firstBlockSize = kBlockSize;
};

} // namespace notes::dxl
