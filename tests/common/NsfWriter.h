// SPDX-License-Identifier: GPL-3.0-or-later
// A writer of small Notes database files (.nsf) for the tests: no public address book exists as
// a database file, so the tests write one from the documents of a DXL export and compare what
// the program makes of both. It writes the structures the database reader follows, as the public
// databases lay them out: the 1024-byte header of version 52, one superblock holding the list of
// summary buckets and the live copy of the current data record table (its copy on disk is left
// stale, as Notes leaves it), one bucket descriptor block with the item names, record tables of
// 508 entries chained one to the next, and 64 KiB summary buckets whose sectors carry a write
// stamp with the nibbles it replaced kept in the footer. Compressed blocks are CX streams of
// literals only.
//
// What it cannot prove: that Notes lays a Person document out this way. It writes what the
// reader expects, so a fault in the reader's idea of the format is repeated here, not found.
// Only the public databases (tests/notes/nsf) check the layout; this file checks that a Person
// book read from a database file goes through the scan, the window and the export as the same
// book read from DXL does.
//
// Dates are written in UTC, with zone 0: the DXL client hands out local time, so the writer reads
// the export with the process's time zone set to UTC, and puts the caller's zone back after.
#pragma once

#include "notes/NotesError.h"

#include <string>

namespace testnsf {

// Writes the documents of the DXL export at `dxlPath` as a database file at `nsfPath`.
// Throws notes::NotesError.
void writeDatabaseOfDxl(const std::string &dxlPath, const std::string &nsfPath);

} // namespace testnsf
