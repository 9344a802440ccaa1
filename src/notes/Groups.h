// SPDX-License-Identifier: GPL-3.0-or-later
// The groups of an address book (mailing lists): the Group documents of its "Groups" view, and a
// walk over a view that reads what it can and passes over what it cannot. Qt-free.
#pragma once

#include "notes/NotesObjects.h"

#include <functional>
#include <string>
#include <vector>

namespace notes {

struct GroupRecord {
    std::string uid;  // UniversalID
    std::string key;  // UniversalID "-" NoteID
    std::string name; // ListName's first value
    // Members' values as the document holds them (Notes names, Internet addresses, other groups'
    // names), trimmed, empty ones dropped.
    std::vector<std::string> members;
    std::string description;     // ListDescription, its values one per line
    std::string internetAddress; // InternetAddress's first value
    std::string type;            // GroupType's first value as text ("0" multi-purpose, ...)
};

GroupRecord readGroup(NotesDocument &document);

// Every group of the book, in the view's order; none when the book has no "Groups" view. A
// group that cannot be read is passed over.
std::vector<GroupRecord> readGroups(NotesDatabase &database);

// Walks `view` on a navigator of its own, handing every document that can be read to `read`;
// one that cannot (a NotesError) is passed over, and the walk ends where the navigator cannot
// go on.
void forEachDocument(NotesView &view, const std::function<void(NotesDocument &)> &read);

} // namespace notes
