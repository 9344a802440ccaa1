// SPDX-License-Identifier: GPL-3.0-or-later
// The export as a walk over the Notes object model: it opens the address book through its own
// session, walks the "$People" view and hands the format's heading and the text of every Person
// document to an ExportSink, which the export window and the command line implement with their
// writers. Qt-free, so it runs against every client, the COM one included.
#pragma once

#include "export/format/ContactFormat.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <cstdint>
#include <string>

namespace formats {

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // Once, when the book is open and before any line: the navigator's count (0 when the
    // navigator could not count).
    virtual void started(std::int64_t entryCount) = 0;
    // Complete lines in UTF-8, CR LF included: the heading, and each document's text unless
    // contact() is overridden.
    virtual void line(const std::string &utf8) = 0;
    // One document's text and the contact's name; writers that give each contact a file of its
    // own override it.
    virtual void contact(const FormattedContact &formatted) { line(formatted.text); }
    // After each document, written or skipped: the 1-based number of that document.
    virtual void progress(std::int64_t documentNumber) = 0;
};

// Exports every document of the book at `path` in `format`.
notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             ContactFormat &format, ExportSink &sink);

} // namespace formats
