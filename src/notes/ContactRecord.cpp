// SPDX-License-Identifier: GPL-3.0-or-later
// The contact record: the names built from it, and its one-text form (see
// ContactRecord.h).
#include "notes/ContactRecord.h"

#include "notes/Ascii.h"

namespace notes {

namespace {

constexpr std::size_t kFirst = field("FirstName");
constexpr std::size_t kMiddle = field("MiddleInitial");
constexpr std::size_t kLast = field("LastName");

constexpr char kSeparator = '|';
constexpr char kEscape = '\\';

std::string trimSpaces(const std::string &text)
{
    return std::string(ascii::trimmed(text, " "));
}

} // namespace

std::string ContactRecord::headerName() const
{
    const std::string &middle = fields[kMiddle];
    if (!middle.empty())
        return fields[kFirst] + ' ' + middle + ' ' + fields[kLast];
    return fields[kFirst] + ' ' + fields[kLast];
}

std::string ContactRecord::displayName() const
{
    return trimSpaces(headerName());
}

std::string ContactRecord::groupKey() const
{
    // Only the 26 letter groups and "Other" exist in the tree, so a first character outside
    // A-Z (a digit, punctuation, the lead byte of an accented or non-Latin letter) is "Other".
    const std::string first = trimSpaces(fields[kFirst]);
    if (first.empty())
        return "Other";
    const char c = ascii::upper(first.front());
    if (c >= 'A' && c <= 'Z')
        return std::string(1, c);
    return "Other";
}

std::string ContactRecord::encode() const
{
    std::string out;
    size_t size = kFieldCount;
    for (const auto &f : fields)
        size += f.size();
    out.reserve(size);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0)
            out += kSeparator;
        for (const char c : fields[i]) {
            if (c == kSeparator || c == kEscape)
                out += kEscape;
            out += c;
        }
    }
    return out;
}

ContactRecord ContactRecord::decode(std::string_view encoded)
{
    // Tolerant of text that encode() did not write: missing fields stay empty, surplus fields
    // are dropped, and a backslash that escapes nothing is kept as it stands.
    ContactRecord record;
    int field = 0;
    for (size_t i = 0; i < encoded.size() && field < kFieldCount; ++i) {
        const char c = encoded[i];
        if (c == kEscape && i + 1 < encoded.size() &&
            (encoded[i + 1] == kEscape || encoded[i + 1] == kSeparator)) {
            record.fields[field] += encoded[++i];
        } else if (c == kSeparator) {
            ++field;
        } else {
            record.fields[field] += c;
        }
    }
    return record;
}

} // namespace notes
