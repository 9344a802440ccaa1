// SPDX-License-Identifier: GPL-3.0-or-later
// The views of a client that reads an address book file itself (DXL, .nsf): such a file keeps
// no view index, so the client lists the documents of "$People" (Person documents) and "Groups"
// (Group documents) in view order once and such a view walks its list. View, navigator and
// entries share the list by pointer, so, as with COM references, releasing one never
// invalidates another.
#pragma once

#include "notes/NotesObjects.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace notes {

// The document at a position of the list, 0 to count - 1.
using DocumentAt = std::function<std::unique_ptr<NotesDocument>(std::size_t position)>;

// The view over `count` listed documents.
std::unique_ptr<NotesView> listedView(std::size_t count, DocumentAt documentAt);

// The views such a client rebuilds.
enum class ListedKind { People, Groups };

// What such a client refuses alike: a server (only files on this computer are read), and any
// view but "$People" and "Groups" (named ignoring case, as Notes does) of the book at `path`;
// for those two, which one `viewName` names.
void requireThisComputer(const std::string &server);
ListedKind requireListedView(const std::string &viewName, const std::string &path);

} // namespace notes
