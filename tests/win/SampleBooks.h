// SPDX-License-Identifier: GPL-3.0-or-later
// The address books the Windows client's tests use. The stand-in COM server serves them through
// COM and the tests hand the very same books to notes::MemoryClient, so the COM client has to
// deliver exactly what the in-memory client delivers.
#pragma once

#include "MemoryClient.h"

#include <string>
#include <vector>

namespace wintest {

struct Book {
    std::string title;
    std::vector<notes::MemoryDocument> people;
};

// "sample": a few Person documents with every kind of value the client has to read: text with
// non-ASCII characters and line breaks, a multi-valued item, a date, a date-time, a time, numbers,
// an empty item; items absent from some documents.
// "empty": no documents.
// "large": 5,000 documents.
// Any other name gives an empty book titled by that name.
Book bookNamed(const std::string &name);

#ifdef KT_WITH_DXL
// The Person documents of a DXL export in the order of its "$People" view, read through the DXL
// client: every item the scan and the export read, with its values as the DXL client gives them.
// Lets the stand-in server serve the very book the DXL tests read, so both ways into the program
// can be compared value for value. Throws notes::NotesError when the file cannot be read.
Book bookFromDxl(const std::string &path);
#endif

// Item names the value comparison reads: all of every sample document, and one no document has.
std::vector<std::string> sampleItemNames();

} // namespace wintest
