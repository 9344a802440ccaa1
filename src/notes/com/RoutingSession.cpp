// SPDX-License-Identifier: GPL-3.0-or-later
// Sending each address book to the client that can open it (see RoutingSession.h).
#include "notes/com/RoutingSession.h"

#include "notes/Ascii.h"

#include "notes/NotesError.h"

#include <cctype>
#include <utility>

namespace notes::com {

RoutingSession::RoutingSession(std::unique_ptr<NotesSession> notesClient, std::string notesFailure,
                               SessionFactory dxlClient)
    : m_notes(std::move(notesClient)), m_notesFailure(std::move(notesFailure)),
      m_dxlFactory(std::move(dxlClient))
{
}

std::unique_ptr<NotesDatabase> RoutingSession::GetDatabase(const std::string &server,
                                                           const std::string &path)
{
    if (m_dxlFactory && isDxlPath(path)) {
        if (!m_dxl)
            m_dxl = m_dxlFactory(kNotesProgId);
        if (!m_dxl)
            throw NotesError("The DXL reader is not available.");
        return m_dxl->GetDatabase(server, path);
    }
    if (!m_notes)
        throw NotesUnavailable(m_notesFailure);
    return m_notes->GetDatabase(server, path);
}

SessionFactory RoutingSession::factory(SessionFactory notesClient, SessionFactory dxlClient)
{
    if (!dxlClient)
        return notesClient;
    return [notesClient = std::move(notesClient),
            dxlClient = std::move(dxlClient)](const std::string &progId) {
        std::unique_ptr<NotesSession> notes;
        std::string failure;
        try {
            notes = notesClient(progId);
        } catch (const NotesError &e) {
            if (progId != kNotesProgId)
                throw;
            failure = e.reason();
        }
        if (!notes && progId != kNotesProgId)
            throw NotesError(progId + " is not available.");
        if (!notes && failure.empty())
            failure = progId + " is not available.";
        return std::unique_ptr<NotesSession>(
            std::make_unique<RoutingSession>(std::move(notes), std::move(failure), dxlClient));
    };
}

bool RoutingSession::isDxlPath(const std::string &path)
{
    return ascii::endsWithIgnoringCase(path, ".dxl") || ascii::endsWithIgnoringCase(path, ".xml");
}

} // namespace notes::com
