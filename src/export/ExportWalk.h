// The CSV export as a walk over the Notes object model: it opens the address book through its own
// session, walks the "$People" view and hands the heading and one CSV line per Person document to
// an ExportSink, which the export window implements with the output file. Qt-free, so it runs
// against every client, the COM one included.
#pragma once

#include "SessionFactory.h"
#include "WalkOutcome.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace exportcore {

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // Once, when the book is open and before any line: the navigator's count (0 when the
    // navigator could not count).
    virtual void started(std::int64_t entryCount) = 0;
    // One complete line in UTF-8, CR LF included: first the heading, then one per document.
    virtual void line(const std::string &utf8) = 0;
    // After each document, written or skipped: the 1-based number of that document.
    virtual void progress(std::int64_t documentNumber) = 0;
};

// Exports the fields at `positions` (indexes into notes::kExportColumns, increasing) of every
// document of the book at `path`. `positions` must not be empty.
notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             const std::vector<std::size_t> &positions, ExportSink &sink);

// The heading line of those positions, CR LF included.
std::string headingLine(const std::vector<std::size_t> &positions);

} // namespace exportcore
