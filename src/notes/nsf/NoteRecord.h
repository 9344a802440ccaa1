// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a note's summary record: the reader's internal step from the bytes of a slot to a
// Note (see Note.h), with the item-name table of the bucket descriptor block.
#pragma once

#include "notes/nsf/Bytes.h"
#include "notes/nsf/Database.h"
#include "notes/nsf/Note.h"

#include <string>
#include <vector>

namespace notes::nsf {

struct ItemName {
    std::string text;       // UTF-8
    std::uint16_t type = 0; // the type of values stored without a type word
};

// Parses the record of `ref`'s note. Throws FormatError when a check fails.
Note parseNoteRecord(const ByteView &record, const NoteRef &ref,
                     const std::vector<ItemName> &names);

} // namespace notes::nsf
