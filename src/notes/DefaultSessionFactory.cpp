// The session factory the program uses: what this platform offers under the Notes ProgIDs.
#include "DxlClient.h"
#include "SessionFactory.h"

namespace notes {

SessionFactory defaultSessionFactory()
{
#ifdef _WIN32
    // Windows: the Notes client's COM classes ("Domino.NotesSession", "Notes.NotesSession") by
    // late binding belong here, with the DXL client as the fallback for "Notes.NotesSession"
    // when no Notes client is registered. Until that client exists, Windows reads DXL too.
    return DxlClient::factory();
#else
    return DxlClient::factory();
#endif
}

} // namespace notes
