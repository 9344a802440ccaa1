// SPDX-License-Identifier: GPL-3.0-or-later
// What the export writes for one Person document, apart from how it is stored: the CSV line or the
// vCard. The export walk reads documents through a ContactFormat and hands its text to the sink,
// so every format goes through the same walk with the same rules for skipped documents. Qt-free.
#pragma once

#include "notes/NotesObjects.h"

#include <string>
#include <vector>

namespace formats {

struct FormattedContact {
    std::string text; // UTF-8, complete with its line ends
    std::string name; // the contact's name, for writers that give each contact a file of its own
};

class ContactFormat {
public:
    virtual ~ContactFormat() = default;
    // Written once before the first contact, even for an empty view; "" writes nothing.
    virtual std::string heading() const = 0;
    // The document's text. Throws NotesError when an item cannot be read, so that a half-read
    // document is skipped rather than written with gaps that look like real data.
    virtual void format(notes::NotesDocument &document, FormattedContact &out) = 0;

    // Formats that link contacts to one another and write the book's groups (vCard, LDIF) read
    // the whole book first: the walk then builds a BookIndex and hands it over before the first
    // contact, and writes groups() after the last.
    virtual bool readsBook() const { return false; }
    virtual void setBook(const class BookIndex &book) { (void)book; }
    virtual std::vector<FormattedContact> groups() { return {}; }
};

} // namespace formats
