// SPDX-License-Identifier: GPL-3.0-or-later
// bench_bare_parse FILE: the floor for reading a DXL address book. expat parses the file with
// handlers that only count elements and text bytes; the DXL client cannot be faster than this,
// so the other scan benchmarks are measured against it.
#include "BenchStats.h"

#include <expat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace {

struct Counts {
    std::uint64_t elements = 0;
    std::uint64_t textBytes = 0;
};

void XMLCALL onStart(void *data, const XML_Char *, const XML_Char **)
{
    ++static_cast<Counts *>(data)->elements;
}
void XMLCALL onEnd(void *, const XML_Char *)
{
}
void XMLCALL onText(void *data, const XML_Char *, int length)
{
    static_cast<Counts *>(data)->textBytes += static_cast<std::uint64_t>(length);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.dxl\n", argv[0]);
        return 2;
    }
    const bench::BenchStats stats;
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    Counts counts;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &counts);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    constexpr int kChunk = 1 << 20;
    bool ok = true;
    for (;;) {
        char *buffer = static_cast<char *>(XML_GetBuffer(parser, kChunk));
        in.read(buffer, kChunk);
        const auto got = static_cast<int>(in.gcount());
        const bool final = got < kChunk;
        if (XML_ParseBuffer(parser, got, final) != XML_STATUS_OK) {
            std::fprintf(stderr, "%s at line %lu\n", XML_ErrorString(XML_GetErrorCode(parser)),
                         static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)));
            ok = false;
            break;
        }
        if (final)
            break;
    }
    XML_ParserFree(parser);
    std::printf("%s; %llu elements, %llu text bytes\n", stats.report("bare parse", argv[1]).c_str(),
                static_cast<unsigned long long>(counts.elements),
                static_cast<unsigned long long>(counts.textBytes));
    return ok ? 0 : 1;
}
