// SPDX-License-Identifier: GPL-3.0-or-later
// The line format of OE-Contacts.csv: fields separated by commas, lines ended by CR LF, and a
// value quoted only when it has to be (it holds a comma, a double quote, CR or LF, or begins or
// ends with a space or a tab, which some importers would trim), with inner
// quotes doubled. Every CSV reader, the mail programs' importers included, gets such values back
// exactly, while plain values stay as Outlook Express wrote and read them. Qt-free, UTF-8 in and
// out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace formats {

inline constexpr std::string_view kLineEnd = "\r\n";

// The value as it goes into a field: enclosed in quotes with inner quotes doubled when it holds
// a comma, a quote, CR or LF or has a space or tab at either end; otherwise unchanged.
std::string csvField(std::string_view value);

// Appends the fields joined by single commas (none before the first or after the last), each
// through csvField, then CR LF.
void appendCsvLine(std::string &out, const std::vector<std::string> &values);

// The same as one new line.
std::string csvLine(const std::vector<std::string> &values);

} // namespace formats
