// SPDX-License-Identifier: GPL-3.0-or-later
// Session creation in ProgID order (see SessionFactory.h).
#include "notes/SessionFactory.h"

namespace notes {

SessionResult createSession(const SessionFactory &factory)
{
    SessionResult result;
    try {
        result.session = factory(kDominoProgId);
    } catch (const NotesError &) {
        // The Domino classes are optional: fall back to the client's own.
    }
    if (result.session)
        return result;
    try {
        result.session = factory(kNotesProgId);
        result.fromFallback = true;
        if (!result.session)
            result.error = std::string(kNotesProgId) + " is not available.";
    } catch (const NotesError &e) {
        result.error = e.reason();
    }
    return result;
}

} // namespace notes
