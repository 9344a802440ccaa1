// SPDX-License-Identifier: GPL-3.0-or-later
// The "$People" view of a client that reads an address book file itself (DXL, .nsf): such a
// file keeps no view index, so the client lists the Person documents in view order once and
// this view walks that list. View, navigator and entries share the list by pointer, so, as
// with COM references, releasing one never invalidates another.
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

// What such a client refuses alike: a server (only files on this computer are read), and any
// view but "$People" (named ignoring case, as Notes does) of the book at `path`.
void requireThisComputer(const std::string &server);
void requirePeopleView(const std::string &viewName, const std::string &path);

} // namespace notes
