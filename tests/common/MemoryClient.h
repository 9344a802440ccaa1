// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory Notes client: an address book held in plain structures, served through the Notes
// object model, where any operation can be told to fail on its n-th call. Tests use it to prove
// the error rules of the scan and the export without a Notes client or a file.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace notes {

struct MemoryDocument {
    std::string universalId;
    std::string noteId;
    // Item name as stored (lookup ignores case) and its values.
    std::vector<std::pair<std::string, ItemValues>> items;

    MemoryDocument &set(const std::string &name, ItemValues values);
    MemoryDocument &set(const std::string &name, const std::string &text);
};

class MemoryClient final {
public:
    enum class Op {
        CreateSession, // any ProgID that is available
        GetDatabase,
        Title,
        GetView,
        CreateViewNav,
        Count,
        GetFirstDocument,
        GetNextDocument,
        Document,
        UniversalID,
        NoteID,
        GetItemValue,
    };
    // The operations' names, in their order, as the tests' data files write them.
    static constexpr const char *kOpNames[] = {
        "CreateSession", "GetDatabase",      "Title",           "GetView",  "CreateViewNav",
        "Count",         "GetFirstDocument", "GetNextDocument", "Document", "UniversalID",
        "NoteID",        "GetItemValue",
    };

    MemoryClient();
    MemoryClient(const MemoryClient &) = delete;
    MemoryClient &operator=(const MemoryClient &) = delete;

    // The book served for any path; the "$People" view delivers `people` in this order.
    std::string title = "Memory Address Book";
    std::vector<MemoryDocument> people;
    // ProgIDs that can be created; by default only "Notes.NotesSession".
    std::set<std::string> availableProgIds;
    // Paths that GetDatabase refuses (as a missing file would be).
    std::set<std::string> missingPaths;
    // Paths GetDatabase refuses as books only an absent Notes client could open.
    std::set<std::string> unavailablePaths;
    // When set, Count reports this instead of people.size() (a book that changed meanwhile).
    bool overrideCount = false;
    std::int64_t countValue = 0;
    // What a failing call throws: NotesError, or what running out of memory throws for
    // "bad_alloc" and "length_error".
    std::string throws;

    // Makes the n-th call (1-based, counted over all objects) of `op` throw (see `throws`).
    // failFrom makes the n-th and every later call throw.
    void failOn(Op op, int nthCall);
    void failFrom(Op op, int nthCall);
    // Calls so far of `op`.
    int calls(Op op) const;
    // Objects handed out and not yet released (all kinds together).
    int liveObjects() const;
    // The order in which objects were released, by kind name ("entry", "navigator", ...).
    const std::vector<std::string> &releaseLog() const;

    SessionFactory factory();

    struct State; // shared with the objects it hands out

private:
    std::shared_ptr<State> m_state;
};

} // namespace notes
