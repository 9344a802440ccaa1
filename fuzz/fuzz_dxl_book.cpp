// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzing the DXL reader the way the program uses it: the input is opened as an address book
// through the DXL session, the whole "$People" view is walked, every value of the 42 items of
// each document is turned into its default text, and the book's groups are read. A NotesError is
// a clean rejection of a bad book; anything else (a crash, a sanitizer report, an escaping
// exception, a leak, a slow or greedy input) is a finding.
#include "notes/FieldSchema.h"
#include "notes/Groups.h"
#include "notes/NotesError.h"
#include "notes/dxl/DxlClient.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The reader takes a path, so each input goes through a file of this process's own, removed
// when the run ends.
struct InputFile {
    std::string path;
    InputFile()
    {
        const char *dir = std::getenv("TMPDIR");
        path = std::string(dir && *dir ? dir : "/tmp") + "/kt-fuzz-dxl-" +
               std::to_string(getpid()) + ".dxl";
    }
    ~InputFile() { std::remove(path.c_str()); }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("TZ", "UTC", 1); // the same input reads the same everywhere
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const InputFile input;
    const std::string &path = input.path;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        std::abort();

    try {
        auto session = notes::dxl::DxlClient::createSession();
        auto database = session->GetDatabase("", path);
        database->Title();
        auto navigator = database->GetView("$People")->CreateViewNav();
        navigator->Count();
        for (auto entry = navigator->GetFirstDocument(); entry;
             entry = navigator->GetNextDocument(*entry)) {
            auto document = entry->Document();
            document->UniversalID();
            document->NoteID();
            for (const notes::FieldSpec &field : notes::kFields)
                for (const notes::ItemValue &value : document->GetItemValue(field.item))
                    notes::defaultText(value);
        }
        notes::readGroups(*database);
    } catch (const notes::NotesError &) {
        // a book the reader refuses, with a reason: the right answer to a bad file
    }
    return 0;
}
