// SPDX-License-Identifier: GPL-3.0-or-later
// A note as the database file keeps it: the 100-byte header of its summary record (id, OID,
// class, flags), its item table and the values of its summary items, decoded. Values of the
// kinds an address book's summary holds are decoded (text, text lists, numbers, date-times and
// their lists); every other kind is kept as the bytes stored, and items stored outside the
// summary are known by name, type and size only.
#pragma once

#include "notes/ItemValue.h"
#include "notes/nsf/TimeDate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notes::nsf {

// Notes' item types the reader decodes.
enum ItemType : std::uint16_t {
    kTypeText = 0x0500,
    kTypeTextList = 0x0501,
    kTypeNumber = 0x0300,
    kTypeNumberRange = 0x0301,
    kTypeTime = 0x0400,
    kTypeTimeRange = 0x0401,
};

enum ItemFlag : std::uint16_t {
    kItemSigned = 0x0001,
    kItemSealed = 0x0002,
    kItemSummary = 0x0004,
    kItemBareValue = 0x0008, // no type word before the value: the name table gives the type
    kItemReaders = 0x0400,
    kItemNames = 0x0040,
};

// Note classes; a document is a data note of class kClassDocument.
enum NoteClass : std::uint16_t {
    kClassDocument = 0x0001,
};

struct Value {
    enum class Kind {
        Text,         // texts[0]
        TextList,     // texts
        Number,       // numbers[0]
        NumberRange,  // numbers, then numberPairs
        Time,         // times[0]
        TimeRange,    // times, then timePairs
        Other,        // raw: the bytes after the type, not decoded
        NotInSummary, // the value is stored outside the summary record: not read
    };
    Kind kind = Kind::NotInSummary;
    std::vector<std::string> texts; // UTF-8; a line break is "\n"
    std::vector<double> numbers;
    std::vector<std::pair<double, double>> numberPairs;
    std::vector<TimeDate> times;
    std::vector<std::pair<TimeDate, TimeDate>> timePairs;
    std::vector<std::uint8_t> raw;
};

struct Item {
    std::string name; // UTF-8, in the case the database writes it
    std::uint16_t flags = 0;
    std::uint16_t type = 0;       // from the value's type word or the name table
    std::uint16_t storedSize = 0; // bytes of the value as stored, type word included
    Value value;
};

struct Note {
    std::uint32_t id = 0; // the note id
    bool data = false;    // listed in a data record table
    bool deleted = false; // a deletion stub: no items
    std::uint16_t noteClass = 0;
    std::uint16_t flags = 0;
    std::uint32_t oid[4] = {}; // File.time, File.dateZone, Note.time, Note.dateZone
    std::vector<Item> items;

    bool isDocument() const { return data && !deleted && noteClass == kClassDocument; }
    // 32 hexadecimal digits, as Notes shows a UNID.
    std::string universalId() const;
    // The note id in hexadecimal without leading zeros ("8F6"), as Notes shows it.
    std::string noteIdText() const;
    // The first item named `name`, compared without regard to ASCII case as Notes compares
    // item names; nullptr when there is none.
    const Item *item(std::string_view name) const;
};

} // namespace notes::nsf

namespace notes::nsf {

// The item's values as the object model hands them out, the way the DXL client gives the same
// item of a DXL export: texts, numbers and date-times (see toItemValue in TimeDate.h); of a
// pair in a range, its first value; one empty text for an item without values. Throws
// NotesError for an item stored outside the summary or of a kind not decoded, rather than
// answer with something it is not.
ItemValues itemValues(const Item &item);

} // namespace notes::nsf
