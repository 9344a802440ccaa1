// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/sessions/DefaultSessionFactory.h"

#include "notes/nsf/NsfClient.h"
#include "notes/sessions/RoutingSession.h"

#ifdef KT_WITH_DXL
#include "notes/dxl/DxlClient.h"
#endif
#ifdef _WIN32
#include "notes/com/ComClient.h"
#endif

namespace notes::sessions {

std::optional<Reader> readerNamed(const std::string &name)
{
    if (name == "notes")
        return Reader::NotesClient;
    if (name == "file")
        return Reader::File;
    return std::nullopt;
}

SessionFactory defaultSessionFactory(Reader reader)
{
    SessionFactory notesClient;
#ifdef _WIN32
    if (reader != Reader::File)
        notesClient = com::comSessionFactory();
#endif
    SessionFactory dxlClient;
#ifdef KT_WITH_DXL
    dxlClient = dxl::DxlClient::factory();
#endif
    SessionFactory fileReader;
    if (reader != Reader::NotesClient)
        fileReader = nsf::NsfClient::factory();
    return RoutingSession::factory(std::move(notesClient), std::move(dxlClient),
                                   std::move(fileReader));
}

} // namespace notes::sessions
