// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/sessions/RoutingSession.h"

#include "notes/Ascii.h"
#include "notes/NotesError.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>

namespace notes::sessions {

namespace {

NotesSession &sessionOf(std::unique_ptr<NotesSession> &session, const SessionFactory &factory,
                        const char *what)
{
    if (!session)
        session = factory(kNotesProgId);
    if (!session)
        throw NotesError(std::string("The ") + what + " is not available.");
    return *session;
}

// Whether the file begins as XML does: '<' after a UTF-8 byte-order mark and white space.
bool startsAsXml(const std::string &path)
{
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                     std::ios::binary);
    char head[64] = {};
    in.read(head, sizeof head);
    const std::string_view bytes(head, static_cast<std::size_t>(in.gcount()));
    std::size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
}

} // namespace

RoutingSession::RoutingSession(std::unique_ptr<NotesSession> notesClient, std::string notesFailure,
                               SessionFactory dxlClient, SessionFactory fileReader)
    : m_notes(std::move(notesClient)), m_notesFailure(std::move(notesFailure)),
      m_dxlFactory(std::move(dxlClient)), m_fileFactory(std::move(fileReader))
{
}

std::unique_ptr<NotesDatabase> RoutingSession::GetDatabase(const std::string &server,
                                                           const std::string &path)
{
    if (m_dxlFactory && (isDxlPath(path) || startsAsXml(path)))
        return sessionOf(m_dxl, m_dxlFactory, "DXL reader").GetDatabase(server, path);
    if (m_notes)
        return m_notes->GetDatabase(server, path);
    if (m_fileFactory)
        return sessionOf(m_file, m_fileFactory, "database file reader").GetDatabase(server, path);
    throw NotesUnavailable(m_notesFailure);
}

SessionFactory RoutingSession::factory(SessionFactory notesClient, SessionFactory dxlClient,
                                       SessionFactory fileReader)
{
    return [notesClient = std::move(notesClient), dxlClient = std::move(dxlClient),
            fileReader = std::move(fileReader)](const std::string &progId) {
        std::unique_ptr<NotesSession> notes;
        std::string failure;
        try {
            if (notesClient)
                notes = notesClient(progId);
        } catch (const NotesError &e) {
            if (progId != kNotesProgId)
                throw;
            failure = e.reason();
        }
        if (!notes && progId != kNotesProgId)
            throw NotesError(progId + " is not available.");
        if (!notes && failure.empty())
            failure = "The Notes client is not available on this system.";
        return std::unique_ptr<NotesSession>(std::make_unique<RoutingSession>(
            std::move(notes), std::move(failure), dxlClient, fileReader));
    };
}

bool RoutingSession::isDxlPath(const std::string &path)
{
    return ascii::endsWithIgnoringCase(path, ".dxl") || ascii::endsWithIgnoringCase(path, ".xml");
}

} // namespace notes::sessions
