// SPDX-License-Identifier: GPL-3.0-or-later
// Where the reader's bytes come from: a file on disk read by position, or a copy in memory (the
// tests' mutated samples, the fuzzer's inputs). The reader asks only for blocks it has checked
// against size(), so nothing outside the file is ever read; the file is opened read-only and
// never written to.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace notes::nsf {

class Source {
public:
    virtual ~Source() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `out` from byte `position`. The caller has checked that the block lies within
    // size(); a read that still comes up short (the file shrank, a disk error) throws
    // NotesError.
    virtual void read(std::uint64_t position, std::span<std::uint8_t> out) = 0;
};

// Opens the file at `path` (UTF-8). Throws NotesError when it is missing, a folder or cannot be
// opened.
std::unique_ptr<Source> openFileSource(const std::string &path);
std::unique_ptr<Source> memorySource(std::vector<std::uint8_t> bytes);

} // namespace notes::nsf
