// SPDX-License-Identifier: GPL-3.0-or-later
// The session factory the program uses: which client opens which book on this system.
#pragma once

#include "notes/SessionFactory.h"

#include <optional>
#include <string>

namespace notes::sessions {

// Who reads a .nsf file: the Notes client where one can be reached, else the file itself
// (Automatic); or only one of the two, as the user chose.
enum class Reader { Automatic, NotesClient, File };

// "notes" or "file"; nothing for any other word.
std::optional<Reader> readerNamed(const std::string &name);

// DXL exports (.dxl, .xml) go to the DXL client; other books to the reader chosen: on Windows
// the Notes client's COM classes, everywhere the database file reader (see RoutingSession.h).
SessionFactory defaultSessionFactory(Reader reader = Reader::Automatic);

} // namespace notes::sessions
