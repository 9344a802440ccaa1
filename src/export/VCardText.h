// The text rules of a vCard 3.0 file (RFC 2426): values escaped, content lines folded at 75
// octets and ended by CR LF. Qt-free, UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>

namespace exportcore {

// Appends `value` as vCard text: "\", "," and ";" get a backslash before them, and every line
// break (CR LF, CR or LF) becomes "\n", so the value comes back whole from any reader.
void appendVCardText(std::string &out, std::string_view value);

// Appends one content line (without its line end) folded so that no physical line exceeds 75
// octets before its CR LF: each continuation starts with a space, and no fold falls inside a
// UTF-8 sequence, so every physical line is valid UTF-8 by itself.
void appendFoldedLine(std::string &out, std::string_view line);

} // namespace exportcore
