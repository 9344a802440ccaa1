// The session factory the program uses: what this platform offers under the Notes ProgIDs.
#include "SessionFactory.h"

#ifdef KT_WITH_DXL
#include "DxlClient.h"
#endif

namespace notes {

SessionFactory defaultSessionFactory()
{
#ifdef _WIN32
    // Windows: the Notes client's COM classes ("Domino.NotesSession", "Notes.NotesSession") by
    // late binding belong here, with the DXL client as the fallback for "Notes.NotesSession"
    // when no Notes client is registered. Until that client is wired in, Windows reads DXL too.
#endif
#ifdef KT_WITH_DXL
    return DxlClient::factory();
#else
    return [](const std::string &progId) -> std::unique_ptr<NotesSession> {
        throw NotesError(progId + " is not available on this system.");
    };
#endif
}

} // namespace notes
