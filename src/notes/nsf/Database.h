// SPDX-License-Identifier: GPL-3.0-or-later
// A Notes database file (.nsf) opened read-only, without Notes: the structures that lead from
// the file header to the summary records of its notes are read and checked when it opens, and
// each note is read when asked for. The path: the header and its DBINFO (version, title), the
// superblock (the copy with the highest write count of those that pass their checks; its body
// holds the summary bucket list and the live copy of the current data record table), the
// bucket descriptor block (the item-name table and the list of record tables), the record
// tables (note id -> summary bucket and slot) and the summary buckets.
//
// Whatever the reader does not know is refused with a NotesError that says what was met and
// what to do, never read as a partial result: versions of the on-disk structure not seen so
// far, multi-page descriptors, compression other than CX, buckets that fail their checks
// (which is how a database encrypted with a Notes ID looks). A single note that cannot be read
// throws UnreadableNote on its own, so that a walk can skip and count it.
#pragma once

#include "notes/NotesError.h"
#include "notes/nsf/Note.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace notes::nsf {

class Source;

// One note could not be read; the database and its other notes still can.
class UnreadableNote final : public NotesError {
public:
    UnreadableNote(std::uint32_t noteId, const std::string &reason)
        : NotesError(reason), m_noteId(noteId)
    {
    }
    std::uint32_t noteId() const { return m_noteId; }

private:
    std::uint32_t m_noteId;
};

// Where the record tables say a note is.
struct NoteRef {
    std::uint32_t id = 0;
    bool data = false;        // from a data record table (documents), not the design one
    std::uint32_t bucket = 0; // 1-based summary bucket; 0 when the entry names a file position
    std::uint16_t slot = 0;   // 1-based slot in that bucket
    std::uint32_t entry = 0;  // the entry's first word as stored, for notes it cannot reach
};

// Not for use from two threads at once: reading a note goes through a cache of buckets.
class Database final {
public:
    // Opens the file at `path` (UTF-8). Throws NotesError naming the file when it cannot be
    // read as a Notes database.
    static std::shared_ptr<Database> open(const std::string &path);
    // The same from bytes in memory; `name` stands for the file in messages.
    static std::shared_ptr<Database> fromBytes(std::vector<std::uint8_t> bytes,
                                               const std::string &name);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const std::string &name() const;
    unsigned ods() const;
    std::uint32_t headerSize() const;
    // The title buffer, decoded: the title, then "\n" and categories or template names.
    const std::string &titleBuffer() const;
    // The title alone, as Notes shows it.
    std::string title() const;

    // Every note the record tables list, in note id order: data notes and design notes, live
    // ones and deletion stubs (which read() tells apart).
    const std::vector<NoteRef> &notes() const;
    // Record table entries that point at database objects (attachments' contents and the
    // like), not at notes.
    std::size_t objectCount() const;

    // Reads one note. Throws UnreadableNote when it cannot be read; a deletion stub comes back
    // with `deleted` set and no items.
    Note read(const NoteRef &ref) const;

    struct Layout {
        std::uint32_t superblockWriteCount = 0;
        std::uint32_t bucketDescriptorWriteCount = 0;
        std::uint32_t summaryBuckets = 0;
        std::uint32_t recordTables = 0; // data and design record tables
        std::uint32_t itemNames = 0;
    };
    const Layout &layout() const;

private:
    struct State;
    explicit Database(std::unique_ptr<State> state);
    static std::shared_ptr<Database> openSource(std::unique_ptr<Source> source,
                                                const std::string &name);
    std::unique_ptr<State> m_state;
};

} // namespace notes::nsf
