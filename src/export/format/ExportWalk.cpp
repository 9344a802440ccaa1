// SPDX-License-Identifier: GPL-3.0-or-later
// The export over the Notes object model (see ExportWalk.h). Opening the book is all or nothing,
// and nothing is handed to the sink before it is open, so a book that cannot be opened leaves no
// file behind. After that a document that cannot be read is skipped and counted, and the walk
// goes on for as long as the navigator can move.
#include "export/format/ExportWalk.h"

#include "export/format/BookIndex.h"
#include "notes/Groups.h"
#include "notes/PeopleView.h"

namespace formats {

notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             ContactFormat &format, ExportSink &sink)
{
    FormattedContact formatted;
    BookIndex book;
    notes::Prepare prepare;
    if (format.readsBook()) {
        prepare = [&format, &book](notes::NotesDatabase &database, notes::NotesView &people) {
            notes::forEachDocument(
                people, [&book](notes::NotesDocument &person) { book.addPerson(person); });
            book.setGroups(notes::readGroups(database));
            format.setBook(book);
        };
    }
    const notes::WalkOutcome outcome = notes::walkPeople(
        factory, path, false, prepare,
        [&](std::int64_t count) {
            sink.started(count);
            const std::string heading = format.heading();
            if (!heading.empty())
                sink.line(heading);
        },
        [&](notes::NotesDocument &document) {
            format.format(document, formatted);
            sink.contact(formatted);
        },
        [&sink](std::int64_t reached) { sink.progress(reached); });
    using Kind = notes::WalkOutcome::Kind;
    if (outcome.kind != Kind::NotInstalled && outcome.kind != Kind::CannotOpen) {
        for (const FormattedContact &group : format.groups())
            sink.contact(group);
    }
    return outcome;
}

} // namespace formats
