// SPDX-License-Identifier: GPL-3.0-or-later
// How a walk over the "$People" view ended: the scan and the export report the same way, and the
// windows and the command line turn it into their messages.
#pragma once

#include <cstdint>
#include <string>

namespace notes {

struct WalkOutcome {
    enum class Kind {
        Completed,    // every document was read and handed on
        NotInstalled, // no session under either ProgID; nothing handed on
        CannotOpen,   // a session, but the book could not be opened (reason); nothing handed on
        EmptyView,    // the "$People" view has no document
        Incomplete,   // the walk reached the end, but some documents could not be read
        StoppedEarly, // the walk could not go on (reason); what came before was handed on
    };
    Kind kind = Kind::Completed;
    std::int64_t entryCount = 0; // the navigator's count (0 when it could not count)
    std::int64_t delivered = 0;  // documents read and handed to the sink
    std::int64_t skipped = 0;    // documents that could not be read
    std::string reason;
    std::string skipReason; // why the first skipped document could not be read
};

} // namespace notes
