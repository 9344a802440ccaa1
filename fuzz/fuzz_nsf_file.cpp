// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzing the database file reader: the input is opened as a Notes database from memory, every
// note the record tables list is read, and every value of every item is turned into the object
// model's values and their default text, as a walk over the database would. A NotesError is a
// clean refusal of a bad file (or of one note); anything else (a crash, a sanitizer report, an
// escaping exception, a leak, a slow or greedy input) is a finding. The seeds are small
// databases cut down once from three public samples of HCL's domino-jnx tests
// (knowndt, sample and signeddoc.nsf; Apache License 2.0, see ../shared/nsf-samples).
#include "notes/NotesError.h"
#include "notes/nsf/Database.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("TZ", "UTC", 1); // the same input reads the same everywhere
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::shared_ptr<notes::nsf::Database> db;
    try {
        db = notes::nsf::Database::fromBytes({data, data + size}, "fuzz.nsf");
    } catch (const notes::NotesError &) {
        return 0;
    }
    (void)db->title();
    for (const notes::nsf::NoteRef &ref : db->notes()) {
        try {
            const notes::nsf::Note note = db->read(ref);
            (void)note.universalId();
            for (const notes::nsf::Item &item : note.items) {
                try {
                    for (const notes::ItemValue &v : notes::nsf::itemValues(item))
                        (void)notes::defaultText(v);
                } catch (const notes::NotesError &) {
                }
            }
        } catch (const notes::NotesError &) {
        }
    }
    return 0;
}
