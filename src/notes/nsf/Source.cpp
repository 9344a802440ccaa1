// SPDX-License-Identifier: GPL-3.0-or-later
// The file and memory sources (see Source.h). The file is read through std::ifstream, which
// every target has, MinGW included; a path is taken as UTF-8 on every system.
#include "notes/nsf/Source.h"

#include "notes/NotesError.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace notes::nsf {

namespace {

class FileSource final : public Source {
public:
    FileSource(std::ifstream in, std::uint64_t size, std::string path)
        : m_in(std::move(in)), m_size(size), m_path(std::move(path))
    {
    }
    std::uint64_t size() const override { return m_size; }
    void read(std::uint64_t position, std::span<std::uint8_t> out) override
    {
        if (position > m_size || out.size() > m_size - position)
            throw NotesError("A read past the end of " + m_path + " was asked for.");
        m_in.clear();
        m_in.seekg(static_cast<std::streamoff>(position));
        m_in.read(reinterpret_cast<char *>(out.data()), static_cast<std::streamsize>(out.size()));
        if (!m_in || static_cast<std::size_t>(m_in.gcount()) != out.size())
            throw NotesError(m_path + " could not be read at byte " + std::to_string(position) +
                             ": the file changed or the disk failed.");
    }

private:
    std::ifstream m_in;
    std::uint64_t m_size;
    std::string m_path;
};

class MemorySource final : public Source {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    std::uint64_t size() const override { return m_bytes.size(); }
    void read(std::uint64_t position, std::span<std::uint8_t> out) override
    {
        if (position > m_bytes.size() || out.size() > m_bytes.size() - position)
            throw NotesError("A read past the end of the database was asked for.");
        if (!out.empty())
            std::memcpy(out.data(), m_bytes.data() + position, out.size());
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace

std::unique_ptr<Source> openFileSource(const std::string &path)
{
    namespace fs = std::filesystem;
    const fs::path file(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    if (path.empty() || !fs::exists(file, ec))
        throw NotesError("The file " + path + " does not exist.");
    if (fs::is_directory(file, ec))
        throw NotesError(path + " is a folder, not an address book.");
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec)
        throw NotesError(path + " cannot be read: its size cannot be found.");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw NotesError(path + " cannot be opened for reading.");
    return std::make_unique<FileSource>(std::move(in), size, path);
}

std::unique_ptr<Source> memorySource(std::vector<std::uint8_t> bytes)
{
    return std::make_unique<MemorySource>(std::move(bytes));
}

} // namespace notes::nsf
