// SPDX-License-Identifier: GPL-3.0-or-later
// The groups of an address book (see Groups.h).
#include "notes/Groups.h"

#include "notes/Ascii.h"

namespace notes {

GroupRecord readGroup(NotesDocument &document)
{
    GroupRecord group;
    group.uid = document.UniversalID();
    group.key = group.uid + '-' + document.NoteID();
    group.name = std::string(ascii::trimmed(firstText(document.GetItemValue("ListName"))));
    for (const ItemValue &value : document.GetItemValue("Members")) {
        const std::string text = defaultText(value);
        if (const std::string_view member = ascii::trimmed(text); !member.empty())
            group.members.emplace_back(member);
    }
    for (const ItemValue &value : document.GetItemValue("ListDescription")) {
        if (const std::string text = defaultText(value); !text.empty())
            group.description += (group.description.empty() ? "" : "\n") + text;
    }
    group.internetAddress =
        std::string(ascii::trimmed(firstText(document.GetItemValue("InternetAddress"))));
    group.type = firstText(document.GetItemValue("GroupType"));
    return group;
}

std::vector<GroupRecord> readGroups(NotesDatabase &database)
{
    std::vector<GroupRecord> groups;
    std::unique_ptr<NotesView> view;
    try {
        view = database.GetView(kGroupsView);
    } catch (const NotesError &) {
        return groups; // a book without groups
    }
    if (!view)
        return groups;
    forEachDocument(*view,
                    [&groups](NotesDocument &document) { groups.push_back(readGroup(document)); });
    return groups;
}

void forEachDocument(NotesView &view, const std::function<void(NotesDocument &)> &read)
{
    const std::unique_ptr<NotesViewNavigator> navigator = view.CreateViewNav();
    std::unique_ptr<NotesViewEntry> entry = navigator->GetFirstDocument();
    while (entry) {
        try {
            const std::unique_ptr<NotesDocument> document = entry->Document();
            read(*document);
        } catch (const NotesError &) {
            // passed over; the walk that writes counts it
        }
        try {
            entry = navigator->GetNextDocument(*entry);
        } catch (const NotesError &) {
            break;
        }
    }
}

} // namespace notes
