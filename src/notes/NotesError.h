// NotesError: the one exception type of the Notes object model. Every failing operation of a
// client (COM, DXL stand-in, in-memory) throws it with a reason a user can read; callers decide
// by their own phase rules whether it ends a walk, skips a document or is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace notes {

class NotesError final : public std::runtime_error {
public:
    explicit NotesError(const std::string &reason) : std::runtime_error(reason) {}
    std::string reason() const { return what(); }
};

} // namespace notes
