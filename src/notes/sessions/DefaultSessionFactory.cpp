// SPDX-License-Identifier: GPL-3.0-or-later
// The session factory the program uses: what this platform offers under the Notes ProgIDs.
#include "notes/sessions/DefaultSessionFactory.h"

#ifdef KT_WITH_DXL
#include "notes/dxl/DxlClient.h"
#endif
#ifdef _WIN32
#include "notes/com/ComClient.h"
#include "notes/com/RoutingSession.h"
#endif

namespace notes::sessions {

SessionFactory defaultSessionFactory()
{
#ifdef _WIN32
    // Windows: the Notes client's COM classes by late binding; DXL exports (.dxl, .xml) go to
    // the DXL client, which also stands in for "Notes.NotesSession" when no Notes client is
    // registered (see RoutingSession.h).
#ifdef KT_WITH_DXL
    return com::RoutingSession::factory(com::comSessionFactory(), dxl::DxlClient::factory());
#else
    return com::comSessionFactory();
#endif
#elif defined(KT_WITH_DXL)
    return dxl::DxlClient::factory();
#else
    return [](const std::string &progId) -> std::unique_ptr<NotesSession> {
        throw NotesError(progId + " is not available on this system.");
    };
#endif
}

} // namespace notes::sessions
