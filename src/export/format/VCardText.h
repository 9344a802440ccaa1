// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules of a vCard 3.0 file (RFC 2426): text values escaped, web addresses written as
// addresses, content lines folded at 75 octets and ended by CR LF. Qt-free, UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>

namespace formats {

// Appends `value` as vCard text: "\", "," and ";" get a backslash before them, and every line
// break (CR LF, CR or LF) becomes "\n", so the value comes back whole from any reader.
void appendVCardText(std::string &out, std::string_view value);

// Appends the value of a URL property. An address is a URI, which has no backslash escapes:
// readers that take it as one keep the backslashes of escaped text in the link. So a value that
// can be an address (no white space, no line break, no other control character) goes in as it is,
// but for three characters that readers would take apart, each written as the address's own
// percent escape: ";" as "%3B" (some readers split every value at it), "," as "%2C" (others take
// a value as a list and keep its first item) and a backslash as "%5C" (others undo text escapes in
// every value). "%" itself stays, since the address may hold such escapes already. A value that
// cannot be an address (words someone typed into the web site field, say) is written as escaped
// text, as every other text value, so that nothing of it is lost.
void appendVCardUrl(std::string &out, std::string_view value);

// Appends one content line (without its line end) folded so that no physical line exceeds 75
// octets before its CR LF: each continuation starts with a space, and no fold falls inside a
// UTF-8 sequence, so every physical line is valid UTF-8 by itself. Nor does a continuation begin
// with white space after its leading space where a fold can fall elsewhere: readers that unfold
// by removing all the white space after a line break would lose it. Only a run of white space
// longer than a whole line must be folded inside.
void appendFoldedLine(std::string &out, std::string_view line);

} // namespace formats
