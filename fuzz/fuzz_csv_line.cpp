// SPDX-License-Identifier: GPL-3.0-or-later
// Property fuzzing of the CSV line format: a line built from any fields, read back by the small
// RFC 4180 reader below (written apart from the program's writer), gives the same fields; and
// no field left unquoted has a space or a tab at either end, where importers trim.
#include "export/format/CsvFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

// One record ended by CR LF, which must be the whole of `line`. Strict: a quote inside an
// unquoted field, or anything but a comma or the line end after a closing quote, is an error.
std::optional<std::vector<std::string>> readRecord(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    for (;;) {
        std::string field;
        if (line.compare(i, 1, "\"") == 0) {
            for (++i;; ++i) {
                if (i >= line.size())
                    return std::nullopt;
                if (line[i] == '"' && line.compare(i, 2, "\"\"") != 0)
                    break;
                field += line[i];
                i += line[i] == '"'; // a doubled quote is one
            }
            ++i;
        } else {
            const std::size_t end = std::min(line.find_first_of(",\r\n", i), line.size());
            field.assign(line, i, end - i);
            i = end;
            const auto edge = [](char c) { return c == ' ' || c == '\t'; };
            if (field.find('"') != std::string::npos ||
                (!field.empty() && (edge(field.front()) || edge(field.back()))))
                return std::nullopt;
        }
        fields.push_back(std::move(field));
        if (line.compare(i, std::string::npos, "\r\n") == 0)
            return fields;
        if (line.compare(i, 1, ",") != 0)
            return std::nullopt;
        ++i;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // The export always has at least one column.
    std::vector<std::string> values(input.ConsumeIntegralInRange<std::size_t>(1, 42));
    for (std::string &value : values)
        value = input.ConsumeRandomLengthString(48);
    const auto back = readRecord(formats::csvLine(values));
    if (!back || *back != values)
        std::abort();
    return 0;
}
