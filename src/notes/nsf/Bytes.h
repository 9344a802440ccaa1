// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded little-endian reads over a block of bytes taken from a Notes database, and the one
// error the structure readers throw when a check fails. Every structure of the file is read
// through a ByteView, so an offset, length or count that points outside its block is caught
// where it is used rather than read past.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace notes::nsf {

using Bytes = std::span<const std::uint8_t>;

// What a failed check means for the user: the file is damaged (or not a database at all), it
// holds something this reader does not read, or it is encrypted.
enum class Fault { Damaged, Unsupported, Encrypted };

// A check failed. `what` says what was met, in words that follow "<file> cannot be read: ";
// the database turns it into a NotesError that names the file and what to do.
class FormatError : public std::runtime_error {
public:
    FormatError(Fault fault, const std::string &what) : std::runtime_error(what), m_fault(fault) {}
    Fault fault() const { return m_fault; }

private:
    Fault m_fault;
};

[[noreturn]] inline void damaged(const std::string &what)
{
    throw FormatError(Fault::Damaged, what);
}

[[noreturn]] inline void unsupported(const std::string &what)
{
    throw FormatError(Fault::Unsupported, what);
}

std::string hex(std::uint64_t value); // "0x1F400"

class ByteView {
public:
    ByteView() = default;
    // `what` names the block in messages ("the superblock"); it must outlive the view.
    ByteView(Bytes bytes, const char *what) : m_bytes(bytes), m_what(what) {}

    std::size_t size() const { return m_bytes.size(); }
    const char *what() const { return m_what; }
    Bytes bytes() const { return m_bytes; }
    bool holds(std::size_t offset, std::size_t length) const
    {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }
    void need(std::size_t offset, std::size_t length) const
    {
        if (!holds(offset, length))
            damaged(std::string(m_what) + " is too short: " + std::to_string(length) +
                    " bytes at offset " + std::to_string(offset) + " lie outside its " +
                    std::to_string(m_bytes.size()) + " bytes");
    }
    std::uint8_t u8(std::size_t offset) const
    {
        need(offset, 1);
        return m_bytes[offset];
    }
    std::uint16_t u16(std::size_t offset) const
    {
        need(offset, 2);
        return static_cast<std::uint16_t>(m_bytes[offset] | m_bytes[offset + 1] << 8);
    }
    std::uint32_t u32(std::size_t offset) const
    {
        need(offset, 4);
        return static_cast<std::uint32_t>(m_bytes[offset]) |
               static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8 |
               static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16 |
               static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24;
    }
    std::uint64_t u64(std::size_t offset) const
    {
        return u32(offset) | static_cast<std::uint64_t>(u32(offset + 4)) << 32;
    }
    ByteView sub(std::size_t offset, std::size_t length, const char *what) const
    {
        need(offset, length);
        return ByteView(m_bytes.subspan(offset, length), what);
    }
    ByteView from(std::size_t offset, const char *what) const
    {
        need(offset, 0);
        return ByteView(m_bytes.subspan(offset), what);
    }

private:
    Bytes m_bytes;
    const char *m_what = "a block";
};

} // namespace notes::nsf
