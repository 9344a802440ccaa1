// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules of an LDIF file (RFC 2849) and of the distinguished names in it (RFC 4514):
// attribute lines written plain or in base64, folded, ended by CR LF; values escaped for a DN; a
// DN the user typed checked; and the form in which a directory compares two values. Qt-free,
// UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>

namespace formats {

// Appends "attribute: value" (or "attribute:: BASE64" for a value that is no SAFE-STRING: one
// with a byte outside printable ASCII, a control character, a leading space, colon or "<", or a
// trailing space; and one holding the text "groupOfNames", which Thunderbird looks for in the
// raw file to tell a mailing list from a card, but for an objectClass value, where it is to find
// it) folded so that no physical line exceeds 76 octets before its CR LF, each continuation
// starting with one space. An empty value is written "attribute:".
void appendLdifLine(std::string &out, std::string_view attribute, std::string_view value);

// `value` as the value of an attribute in a DN: "," "+" '"' "\" "<" ">" ";" "=" and a control
// character escaped, and a leading "#" or space and a trailing space too.
std::string dnValue(std::string_view value);

// Why `dn` is no distinguished name that a directory takes as the place of its entries, in a few
// words ("" when it is one): at least one attribute=value pair, the types names or OIDs, no
// value empty, specials escaped, valid UTF-8 without control characters. Spaces around "," "+"
// and "=" are allowed, as directories allow them.
std::string dnProblem(std::string_view dn);

// The form in which a directory compares two names or two values of an attribute, as far as
// this program can tell: white space runs as one space, outer space dropped, letters in lower
// case (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic; full-width ASCII as ASCII). Values
// that only Unicode normalisation makes equal (an accent typed as a combining mark, say) still
// compare different here.
std::string matchKey(std::string_view value);

} // namespace formats
