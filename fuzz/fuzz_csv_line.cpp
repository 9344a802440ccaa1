// SPDX-License-Identifier: GPL-3.0-or-later
// Property fuzzing of the CSV line format: a line built from any fields, read back by the small
// RFC 4180 reader below (written apart from the program's writer), gives the same fields; and
// no field left unquoted has a space or a tab at either end, where importers trim.
#include "export/format/CsvFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

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
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size())
                    return std::nullopt;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ',' && line[i] != '\r' && line[i] != '\n') {
                if (line[i] == '"')
                    return std::nullopt;
                ++i;
            }
            field.assign(line, start, i - start);
            if (!field.empty()) {
                const auto edge = [](char c) { return c == ' ' || c == '\t'; };
                if (edge(field.front()) || edge(field.back()))
                    return std::nullopt;
            }
        }
        fields.push_back(std::move(field));
        if (i < line.size() && line[i] == ',') {
            ++i;
            continue;
        }
        if (line.compare(i, std::string::npos, "\r\n") == 0)
            return fields;
        return std::nullopt;
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
