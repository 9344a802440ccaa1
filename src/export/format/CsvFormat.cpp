// SPDX-License-Identifier: GPL-3.0-or-later
// CSV line format of the export (see CsvFormat.h).
#include "export/format/CsvFormat.h"

namespace formats {

namespace {

bool isEdgeSpace(char c)
{
    return c == ' ' || c == '\t';
}

// Some importers trim the edges of a value left unquoted, so an edge space or tab is quoted too.
bool needsQuotes(std::string_view value)
{
    return value.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!value.empty() && (isEdgeSpace(value.front()) || isEdgeSpace(value.back())));
}

void appendField(std::string &out, std::string_view value)
{
    if (!needsQuotes(value)) {
        out += value;
        return;
    }
    out += '"';
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::string csvField(std::string_view value)
{
    std::string out;
    appendField(out, value);
    return out;
}

void appendCsvLine(std::string &out, const std::vector<std::string> &values)
{
    bool first = true;
    for (const std::string &value : values) {
        if (!first)
            out += ',';
        first = false;
        appendField(out, value);
    }
    out += kLineEnd;
}

std::string csvLine(const std::vector<std::string> &values)
{
    std::string out;
    appendCsvLine(out, values);
    return out;
}

} // namespace formats
