// SPDX-License-Identifier: GPL-3.0-or-later
// NotesError: the one exception type of the Notes object model. Every failing operation of a
// client (COM, DXL stand-in, in-memory) throws it with a reason a user can read; callers decide
// by their own phase rules whether it ends a walk, skips a document or is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace notes {

class NotesError : public std::runtime_error {
public:
    explicit NotesError(const std::string &reason) : std::runtime_error(reason) {}
    std::string reason() const { return what(); }
};

// A session that cannot reach the Notes client at all was asked for a book only the Notes
// client opens (on Windows without Notes, a session that serves DXL exports alone, asked for an
// .nsf file). The walks report it as Notes not being installed, not as a bad file.
class NotesUnavailable final : public NotesError {
public:
    using NotesError::NotesError;
};

} // namespace notes
