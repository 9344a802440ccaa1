// SPDX-License-Identifier: GPL-3.0-or-later
// RoutingSession: the session the program gets, where up to three clients serve address books:
// the DXL client opens DXL exports, the Notes client (COM, on Windows) and the database file
// reader open .nsf files. The choice is made by the path given to GetDatabase, the first moment a
// path is known (a SessionFactory sees only the ProgID):
// - a path ending in ".dxl" or ".xml" (any case), or a file that begins as XML does, goes to
//   the DXL client;
// - every other path goes to the Notes client when one could be created, else to the file
//   reader; without a file reader it fails with the Notes client's own reason for not starting;
// - "Domino.NotesSession" is created only when the Notes client has that class, so the ProgID
//   order stays that of the Notes client;
// - "Notes.NotesSession" is always created: without a Notes client a DXL file and a database
//   file still open.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <memory>
#include <string>

namespace notes::sessions {

class RoutingSession final : public NotesSession {
public:
    // `notesClient` may be null; then `notesFailure` says why. `dxlClient` and `fileReader` may
    // be empty.
    RoutingSession(std::unique_ptr<NotesSession> notesClient, std::string notesFailure,
                   SessionFactory dxlClient, SessionFactory fileReader);

    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                               const std::string &path) override;

    // The factory described above; any of the three may be empty.
    static SessionFactory factory(SessionFactory notesClient, SessionFactory dxlClient,
                                  SessionFactory fileReader);

    // Whether `path` names a DXL file by its extension.
    static bool isDxlPath(const std::string &path);

private:
    std::unique_ptr<NotesSession> m_notes;
    std::string m_notesFailure;
    SessionFactory m_dxlFactory;
    SessionFactory m_fileFactory;
    std::unique_ptr<NotesSession> m_dxl;  // created on the first DXL path
    std::unique_ptr<NotesSession> m_file; // created on the first other path without a client
};

} // namespace notes::sessions
