// SPDX-License-Identifier: GPL-3.0-or-later
// The address book scan over the Notes object model (see ScanWalk.h). Opening the book is all or
// nothing; after that a document that cannot be read is skipped and the walk goes on for as long
// as the navigator can move, so one damaged document never costs the rest of the book.
#include "notes/ScanWalk.h"

#include "notes/Ascii.h"
#include "notes/NotesNames.h"
#include "notes/PeopleView.h"

#include <filesystem>
#include <unordered_set>

namespace notes {

namespace {

ScannedContact readContact(NotesDocument &document)
{
    ScannedContact contact;
    contact.key = document.UniversalID();
    contact.key += '-';
    contact.key += document.NoteID();
    for (std::size_t i = 0; i < kFields.size(); ++i)
        contact.record.fields[i] = firstText(document.GetItemValue(kFields[i].item));
    contact.displayName = contact.record.displayName();
    contact.groupKey = contact.record.groupKey();
    return contact;
}

// The contact's names that `members` (every group member, as nameKey) holds.
void addMemberKeys(NotesDocument &document, ScannedContact &contact,
                   const std::unordered_set<std::string> &members)
{
    const auto add = [&](const std::string &name) {
        if (std::string key = nameKey(name); members.contains(key))
            contact.memberKeys.push_back(std::move(key));
    };
    for (const ItemValue &value : document.GetItemValue("FullName"))
        add(defaultText(value));
    if (const std::string &address = contact.record.fields[field("MailAddress")];
        isInternetAddress(address))
        add(address);
}

} // namespace

WalkOutcome runScan(const SessionFactory &factory, const std::string &path, ScanSink &sink)
{
    // The groups are read first, so that only the names they use are kept with the contacts.
    std::vector<GroupRecord> groups;
    std::unordered_set<std::string> members;
    const WalkOutcome outcome = walkPeople(
        factory, path, true,
        [&](NotesDatabase &database, NotesView &) {
            groups = readGroups(database);
            for (const GroupRecord &group : groups)
                for (const std::string &member : group.members)
                    members.insert(nameKey(member));
        },
        [&sink](std::int64_t count) { sink.scanStarted(count); },
        [&](NotesDocument &document) {
            ScannedContact contact = readContact(document);
            if (!members.empty())
                addMemberKeys(document, contact, members);
            sink.addContact(contact);
        },
        [&sink](std::int64_t reached) { sink.progress(reached); });
    if (!groups.empty())
        sink.addGroups(groups);
    return outcome;
}

std::string backupPathFor(const std::string &path)
{
    namespace fs = std::filesystem;
    // Through char8_t so that a UTF-8 path stays UTF-8 on Windows too, where a narrow string
    // would be read in the ANSI code page.
    const fs::path source(std::u8string(path.begin(), path.end()));
    if (!source.has_filename())
        return {};
    const fs::path name = source.filename();
    if (name == "." || name == "..")
        return {};

    fs::path backup = source;
    const std::u8string ext = source.extension().u8string();
    if (ascii::equalIgnoringCase(std::string(ext.begin(), ext.end()), ".bak"))
        backup += ".bak"; // replacing would give the source itself
    else
        backup.replace_extension(".bak");
    const std::u8string out = backup.u8string();
    return std::string(out.begin(), out.end());
}

} // namespace notes
