// SPDX-License-Identifier: GPL-3.0-or-later
// The Notes object model the program uses: session, database, view, view navigator, view entry
// and document, with exactly the operations the scan and the export call. Three clients stand
// behind it: the Notes client's COM classes on Windows, the DXL stand-in everywhere, and the
// in-memory client of the tests.
//
// Rules every client keeps:
// - A failing operation throws NotesError with a readable reason.
// - An empty entry is a normal result: GetFirstDocument/GetNextDocument return nullptr.
// - Objects are independent handles: releasing one (in any order) never invalidates another,
//   as with COM references. The walks release entry, navigator, view, document, database and
//   session in that order all the same.
// - GetItemValue finds the item by name case-insensitively and returns at least one element: an
//   absent item or one without value gives a single empty text.
#pragma once

#include "notes/ItemValue.h"
#include "notes/NotesError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace notes {

// The name under which a database offers every one of its documents as a view (the file reader
// and the DXL client list them, the Notes client takes NotesDatabase.AllDocuments); no database
// has a view of this name.
inline constexpr const char *kEveryDocumentView = "(every document)";
// The view of an address book's groups (its Group documents, by list name), as Notes' address
// books name it.
inline constexpr const char *kGroupsView = "Groups";

// One item of a document: its name as stored, its type as a word ("text", "textlist",
// "number", "numberlist", "datetime", "datetimelist", or what else was met), its values.
struct ItemInfo {
    std::string name;
    std::string type;
    ItemValues values;
};

class NotesDocument {
public:
    virtual ~NotesDocument() = default;
    virtual std::string UniversalID() = 0;
    virtual std::string NoteID() = 0;
    virtual ItemValues GetItemValue(const std::string &itemName) = 0;
    // Every item, in the document's order; a reader that cannot list them throws NotesError.
    virtual std::vector<ItemInfo> Items()
    {
        throw NotesError("This reader does not list a document's items.");
    }
};

class NotesViewEntry {
public:
    virtual ~NotesViewEntry() = default;
    // The entry's document. Never null: a failure throws.
    virtual std::unique_ptr<NotesDocument> Document() = 0;
};

class NotesViewNavigator {
public:
    virtual ~NotesViewNavigator() = default;
    virtual std::int64_t Count() = 0;
    // The first entry, or nullptr when the view has none.
    virtual std::unique_ptr<NotesViewEntry> GetFirstDocument() = 0;
    // The entry after `current`, or nullptr after the last.
    virtual std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) = 0;
};

class NotesView {
public:
    virtual ~NotesView() = default;
    virtual std::unique_ptr<NotesViewNavigator> CreateViewNav() = 0;
};

class NotesDatabase {
public:
    virtual ~NotesDatabase() = default;
    virtual std::string Title() = 0;
    // Never null: a view that does not exist throws.
    virtual std::unique_ptr<NotesView> GetView(const std::string &viewName) = 0;
};

class NotesSession {
public:
    virtual ~NotesSession() = default;
    // server "" is this machine; path as the user gave it (UTF-8). Never null.
    virtual std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                                       const std::string &path) = 0;
};

} // namespace notes
