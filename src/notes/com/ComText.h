// SPDX-License-Identifier: GPL-3.0-or-later
// Text between the program and COM: the object model speaks UTF-8, COM speaks UTF-16 BSTRs.
#pragma once

#include <string>

namespace notes::com {

std::wstring toWide(const std::string &utf8);
// `length` in UTF-16 units: a BSTR may hold NULs, so its length, not its terminator, counts.
std::string toUtf8(const wchar_t *text, std::size_t length);

} // namespace notes::com
