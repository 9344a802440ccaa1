// SPDX-License-Identifier: GPL-3.0-or-later
// The contact record: the 42 items (FieldSchema.h) of a Person document that the scan keeps and the
// details pane shows, with the contact's display name and the group ("A" to "Z" or "Other") it is
// listed under. The contact store keeps each record as one encoded text; encode() and decode()
// keep every value whole, "|" included.
#pragma once

#include "notes/FieldSchema.h"

#include <array>
#include <string>
#include <string_view>

namespace notes {

class ContactRecord final {
public:
    // Field i holds the value of kFields[i].item.
    std::array<std::string, kFieldCount> fields;

    // "First Middle Last" (or "First Last" without a middle initial), outer spaces removed.
    std::string displayName() const;
    // The header name of the details pane: the same join, untrimmed.
    std::string headerName() const;
    // "A" to "Z" for a first name whose first non-space character is an ASCII letter, else
    // "Other".
    std::string groupKey() const;

    // One text holding all 42 fields: joined by "|", with "\" and "|" inside a value written as
    // "\\" and "\|". decode() accepts any such text; missing fields come back empty.
    std::string encode() const;
    static ContactRecord decode(std::string_view encoded);
};

} // namespace notes
