// SPDX-License-Identifier: GPL-3.0-or-later
// Where an export's text goes: one file (the CSV or a vCard file) or a folder of one vCard per
// contact. The export window and the command line pick one through makeExportWriter() and feed
// it from the export walk. Nothing is visible at the destination until commit() has succeeded;
// a writer dropped without commit() leaves everything as it was.
#pragma once

#include "export/format/ContactFormat.h"

#include <QString>

#include <string>

namespace exporting {

class ExportWriter {
public:
    virtual ~ExportWriter() = default;
    // Prepares the destination; false when that is not possible (errorString()).
    virtual bool open() = 0;
    // A complete line or lines in UTF-8: the heading, or a contact's text.
    virtual void writeLine(const std::string &utf8) = 0;
    // One contact; a writer of one file per contact names the file after it.
    virtual void writeContact(const formats::FormattedContact &contact) { writeLine(contact.text); }
    // Finishes and makes the result visible; false when anything failed (errorString()), and then
    // the destination is as it was.
    virtual bool commit() = 0;
    virtual QString errorString() const = 0;
    // What commit() made (before it, what it aims at): the file, or the folder of files, with
    // native separators.
    virtual QString writtenPath() const = 0;
    // True when the code page could not hold every value and UTF-8 was written instead.
    virtual bool usedUtf8Fallback() const { return false; }
};

} // namespace exporting
