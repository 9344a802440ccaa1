// SPDX-License-Identifier: GPL-3.0-or-later
// The session factory the program uses: what this platform offers under the Notes ProgIDs.
#pragma once

#include "notes/SessionFactory.h"

namespace notes::sessions {

// On Windows the Notes client's COM classes; everywhere the DXL stand-in, which answers to
// "Notes.NotesSession" only.
SessionFactory defaultSessionFactory();

} // namespace notes::sessions
