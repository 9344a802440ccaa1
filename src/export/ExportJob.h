// SPDX-License-Identifier: GPL-3.0-or-later
// The export as one job: one request in (the book, the format, the CSV's columns, the folder, the
// code page), one result out. The export window and the command line are two front ends over it:
// each chooses, runs the job and shows its result, and none of them puts a walk, a format and a
// writer together itself.
#pragma once

#include "export/ExportFormat.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <QString>
#include <QStringConverter>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace exporting {

struct ExportRequest {
    QString book;
    ExportFormat format = ExportFormat::Csv;
    std::vector<std::size_t> positions; // the CSV's columns (indexes into notes::kExportColumns)
    QString folder;
    QStringConverter::Encoding codePage = QStringConverter::System; // the CSV's only
    formats::LdifOptions ldif; // the LDIF's form; the directory form's base DN a valid DN
    // Each optional. `opening`: the output is ready and the book is about to be opened, which can
    // take a while; `started`: the book is open, with the navigator's count; `progress`: the
    // 1-based number of each document reached, written or skipped.
    std::function<void()> opening;
    std::function<void(std::int64_t)> started;
    std::function<void(std::int64_t)> progress;
};

struct ExportResult {
    enum class Failure {
        None,    // written; the outcome says whether every document made it
        Book,    // the book could not be opened (outcome); nothing was written
        Writing, // the output could not be prepared or put in place (errorText); nothing changed
    };
    Failure failure = Failure::None;
    notes::WalkOutcome outcome;
    QString writtenPath; // the file or folder written (or aimed at), with native separators
    QString errorText;   // why the output could not be written
    bool utf8Fallback = false;
};

ExportResult runExportJob(const notes::SessionFactory &factory, const ExportRequest &request);

} // namespace exporting
