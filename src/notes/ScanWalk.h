// SPDX-License-Identifier: GPL-3.0-or-later
// The address book scan as a walk over the Notes object model: it opens the book through a
// session, walks the "$People" view and hands every contact, then every group, to a ScanSink, which
// the main window implements with its tree. Qt-free, so it runs against every client, the COM one
// included.
#pragma once

#include "notes/ContactRecord.h"
#include "notes/Groups.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace notes {

struct ScannedContact {
    std::string key; // UniversalID "-" NoteID
    ContactRecord record;
    std::string displayName;
    std::string groupKey;
    // The names a group of the book knows the contact by (as notes::nameKey): those of its
    // FullName values and of its Internet mail address that a group names as a member. None in a
    // book without groups.
    std::vector<std::string> memberKeys;
};

class ScanSink {
public:
    virtual ~ScanSink() = default;
    // Once, before the first contact: the navigator's count.
    virtual void scanStarted(std::int64_t entryCount) = 0;
    // Adds the contact under its group, or replaces record and name in place when its key is
    // already there.
    virtual void addContact(const ScannedContact &contact) = 0;
    // After each document, read or skipped: the 1-based number of that document.
    virtual void progress(std::int64_t scanCounter) = 0;
    // After the last contact, the groups of the book in the "Groups" view's order (none when
    // it has none).
    virtual void addGroups(const std::vector<GroupRecord> &groups) { (void)groups; }
};

WalkOutcome runScan(const SessionFactory &factory, const std::string &path, ScanSink &sink);

// Where the backup copy of `path` goes: beside it, the file name with its extension replaced by
// ".bak" ("names.nsf" gives "names.bak"), ".bak" appended to a name without an extension. Never
// the source itself ("x.bak" gives "x.bak.bak"). "" when the path names no file.
std::string backupPathFor(const std::string &path);

} // namespace notes
