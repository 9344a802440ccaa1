// SPDX-License-Identifier: GPL-3.0-or-later
// NsfClient: the Notes object model served from a Notes database file (.nsf) read without
// Notes, for address books on systems without a Notes client. Like the DXL client, a session
// opens a file by path on GetDatabase, reads it, never writes it, and rebuilds the views the
// program needs: "$People", the Person documents ordered by last name, then first name, and
// "Groups", the Group documents ordered by list name, ignoring case, ties in file order. A
// document that cannot be read stays in both views after the listed ones, and throws
// NotesError when it is taken, so that a walk skips and counts it.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <memory>

namespace notes::nsf {

class NsfClient final {
public:
    // A session whose GetDatabase reads a database file (server "" only).
    static std::unique_ptr<NotesSession> createSession();
    // Answers to "Notes.NotesSession" with such a session; any other ProgID is not available.
    static SessionFactory factory();
};

} // namespace notes::nsf
