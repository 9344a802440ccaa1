// SPDX-License-Identifier: GPL-3.0-or-later
// DxlClient: the Notes object model served from DXL (Domino XML) exports of an address book, for
// systems without a Notes client and for trying the program on sample books. A session opens a
// file by path on GetDatabase; the book is read once, whole, and never written to.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <memory>

namespace notes::dxl {

class DxlClient final {
public:
    // A session whose GetDatabase reads a DXL file (server "" only).
    static std::unique_ptr<NotesSession> createSession();
    // Answers to "Notes.NotesSession" with a DXL session; any other ProgID is not available.
    static SessionFactory factory();
};

} // namespace notes::dxl
