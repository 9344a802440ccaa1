// SPDX-License-Identifier: GPL-3.0-or-later
// Creating a Notes session by ProgID. Every walk creates its session through a SessionFactory so
// tests can hand in the in-memory client; the program uses
// notes::sessions::defaultSessionFactory().
#pragma once

#include "notes/NotesObjects.h"

#include <functional>
#include <memory>
#include <string>

namespace notes {

inline constexpr const char *kDominoProgId = "Domino.NotesSession";
inline constexpr const char *kNotesProgId = "Notes.NotesSession";

// Creates a session of the given ProgID; throws NotesError when that class is not available.
using SessionFactory = std::function<std::unique_ptr<NotesSession>(const std::string &progId)>;

struct SessionResult {
    std::unique_ptr<NotesSession> session;
    bool fromFallback = false; // true when "Notes.NotesSession" gave it
    std::string error;         // why neither ProgID gave a session (session is null then)
};

// The order both walks use: "Domino.NotesSession" with failures ignored, then
// "Notes.NotesSession" only when the first gave nothing.
SessionResult createSession(const SessionFactory &factory);

} // namespace notes
