// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a failed COM call into NotesError. The Notes client reports its own errors as
// DISP_E_EXCEPTION with a description ("File does not exist", "Database has not been opened
// yet"); the user sees that text. Other failures show the system's text and the HRESULT in hex.
#pragma once

#include <windows.h>

#include <string>

namespace notes::com {

// The reason for `operation` failing with `hr`; `info` (may be null) is the EXCEPINFO of a
// DISP_E_EXCEPTION, whose strings this frees.
std::string failureReason(const std::string &operation, HRESULT hr, EXCEPINFO *info);

[[noreturn]] void throwFailure(const std::string &operation, HRESULT hr, EXCEPINFO *info = nullptr);

} // namespace notes::com
