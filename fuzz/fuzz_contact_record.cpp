// SPDX-License-Identifier: GPL-3.0-or-later
// Property fuzzing of the contact record's one-text encoding: for any 42 values (separators,
// escapes and every other byte included) decode(encode(fields)) gives the same fields; and
// decode() takes any text at all.
#include "notes/ContactRecord.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    notes::ContactRecord record;
    for (std::string &field : record.fields)
        field = input.ConsumeRandomLengthString(64);
    if (notes::ContactRecord::decode(record.encode()).fields != record.fields)
        std::abort();
    notes::ContactRecord::decode(input.ConsumeRemainingBytesAsString());
    return 0;
}
