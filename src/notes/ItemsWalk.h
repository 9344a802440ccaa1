// SPDX-License-Identifier: GPL-3.0-or-later
// The items walk: every document of a book (not only the people) with every item, its type and
// its values, for the items command, so that a user can see what a book holds. It opens the book
// as the scan does and skips a document it cannot read in the same way.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace notes {

struct ListedDocument {
    std::string universalId;
    std::string noteId;
    std::string form; // the first value of its Form item, as text
    std::vector<ItemInfo> items;
};

class ItemsSink {
public:
    virtual ~ItemsSink() = default;
    virtual void started(std::int64_t documentCount) = 0;
    virtual void document(const ListedDocument &document) = 0;
    virtual void progress(std::int64_t reached) = 0;
};

WalkOutcome runItems(const SessionFactory &factory, const std::string &path, ItemsSink &sink);

} // namespace notes
