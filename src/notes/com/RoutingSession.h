// SPDX-License-Identifier: GPL-3.0-or-later
// RoutingSession: the session the program gets on Windows, where two clients serve address
// books: the Notes client (COM) opens .nsf files, the DXL stand-in opens DXL exports. The choice
// is made by the path given to GetDatabase, the first moment a path is known (a SessionFactory
// sees only the ProgID):
// - a path ending in ".dxl" or ".xml" (any case) goes to the DXL stand-in, every other path to
//   the Notes client;
// - "Domino.NotesSession" is created only when the Notes client has that class, so the ProgID
//   order stays that of the Notes client;
// - "Notes.NotesSession" is always created, as on every other system where the DXL stand-in
//   answers to it: without a Notes client a DXL file still opens, and an .nsf file fails in
//   GetDatabase with the Notes client's own reason for not starting.
// Without a DXL stand-in (builds without expat) the factory hands out the Notes client's
// sessions unchanged.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <memory>
#include <string>

namespace notes::com {

class RoutingSession final : public NotesSession {
public:
    // `notesClient` may be null; then `notesFailure` says why and is the reason non-DXL paths
    // fail with.
    RoutingSession(std::unique_ptr<NotesSession> notesClient, std::string notesFailure,
                   SessionFactory dxlClient);

    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                               const std::string &path) override;

    // The factory described above. `dxlClient` may be empty.
    static SessionFactory factory(SessionFactory notesClient, SessionFactory dxlClient);

    // Whether `path` names a DXL file by its extension.
    static bool isDxlPath(const std::string &path);

private:
    std::unique_ptr<NotesSession> m_notes;
    std::string m_notesFailure;
    SessionFactory m_dxlFactory;
    std::unique_ptr<NotesSession> m_dxl; // created on the first DXL path
};

} // namespace notes::com
