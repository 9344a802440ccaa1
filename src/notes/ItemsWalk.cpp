// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ItemsWalk.h"

#include "notes/PeopleView.h"

namespace notes {

WalkOutcome runItems(const SessionFactory &factory, const std::string &path, ItemsSink &sink)
{
    return walkView(
        factory, path, kEveryDocumentView, [&sink](std::int64_t count) { sink.started(count); },
        [&sink](NotesDocument &document) {
            ListedDocument listed;
            listed.universalId = document.UniversalID();
            listed.noteId = document.NoteID();
            listed.form = firstText(document.GetItemValue("Form"));
            listed.items = document.Items();
            sink.document(listed);
        },
        [&sink](std::int64_t reached) { sink.progress(reached); });
}

} // namespace notes
