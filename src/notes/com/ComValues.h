// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the results of Notes COM calls into the object model's types: item values (arrays of
// text, numbers and dates), texts and counts.
#pragma once

#include "notes/ItemValue.h"
#include "notes/com/Variant.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace notes::com {

// The elements of a one-dimensional array result (VT_ARRAY, by reference too), each in a VARIANT
// of its own; none for a null array. Throws NotesError for an array it cannot read.
std::vector<Variant> arrayElements(const VARIANT &result, const std::string &member);

// GetItemValue's result: an array (usually of VARIANT) or a single value. Always at least one
// element: an empty array or an empty result gives a single empty text, as the walks rely on.
// Texts come with their line breaks as "\n". Throws NotesError for a kind it cannot read.
ItemValues itemValuesFrom(const VARIANT &result, const std::string &member);

// One value. Dates: a COM DATE has no "no time" or "no date" mark, so the client reads a DATE
// whose time part is exactly zero as a date alone (how the Notes client hands out date-only
// values), and a DATE on day zero (30 December 1899, which no address book stores as a real
// date) as a time alone; 0.0 itself is midnight without a date. Everything else is date and time.
ItemValue itemValueFrom(const VARIANT &value, const std::string &member);

// A DATE as a Notes date-time by the rules above.
DateTime dateTimeFrom(DATE date, const std::string &member);

// A text property (Title, UniversalID, NoteID); VT_EMPTY and VT_NULL give "".
std::string textFrom(const VARIANT &result, const std::string &member);

// A count property.
std::int64_t integerFrom(const VARIANT &result, const std::string &member);

} // namespace notes::com
