// SPDX-License-Identifier: GPL-3.0-or-later
// What a vCard or LDIF export needs to know of the whole book before it writes the first contact:
// every person's names and addresses, so that a manager, an assistant or a group member named by
// a Notes name can be linked to that person's card or entry, and the groups, resolved into the
// people they reach. Qt-free.
//
// Groups: a member is matched first against the people's FullName values (as Notes names, see
// notes::nameKey) and Internet addresses, then against the groups' names (a nested group), else it
// stays outside the book (an Internet address, or a name of another directory). A group reaches the
// people it names and, through nested groups, theirs; a group that names itself, directly or round
// a loop, reaches each person once.
#pragma once

#include "notes/FieldSchema.h"
#include "notes/Groups.h"
#include "notes/NotesNames.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace formats {

class BookIndex {
public:
    struct Person {
        std::string uid;
        std::string displayName;            // as the card's FN
        std::vector<std::string> addresses; // Internet addresses, the contact's own first
        std::vector<std::size_t> groups;    // indexes of the groups that reach this person
    };
    struct Group {
        notes::GroupRecord record;
        std::vector<std::size_t> people;           // direct and through nested groups, each once
        std::vector<std::size_t> subgroups;        // groups named as members
        std::vector<std::string> outsideAddresses; // Internet addresses of no person of the book
        std::vector<std::string> outsideNames; // other members of no person or group, abbreviated
    };

    // From the pre-walk of "$People": one call per Person document.
    void addPerson(notes::NotesDocument &document);
    // Then the book's groups, once; resolves the members.
    void setGroups(std::vector<notes::GroupRecord> groups);

    const std::vector<Person> &people() const { return m_people; }
    const std::vector<Group> &groups() const { return m_groups; }
    // The person whose FullName holds `name` (a Notes name in any form), or nullptr.
    const Person *personNamed(std::string_view name) const;
    const Person *personWithUid(std::string_view uid) const;

private:
    // The person a member names, by FullName or by Internet address; people().size() if none.
    std::size_t personOf(std::string_view member) const;

    std::vector<Person> m_people;
    std::vector<Group> m_groups;
    std::unordered_map<std::string, std::size_t> m_byName;
    std::unordered_map<std::string, std::size_t> m_byAddress;
    std::unordered_map<std::string, std::size_t> m_byUid;
};

// The name a card is known by: first, middle and last name as the contact tree shows them; else
// the common name of FullName's first value; else the company; else the mail address.
std::string contactDisplayName(const std::string &first, const std::string &middle,
                               const std::string &last, const std::string &fullName,
                               const std::string &company, const std::string &address);

// A contact's 42 items as the vCard and LDIF write them, read all before anything is written:
// each item's values, and its non-empty values as text, a canonical Notes name abbreviated and
// the "0" Notes keeps in Title and Suffix for "none" left out; its UNID and addresses. Reused
// from contact to contact, so that a long export does not allocate for every one.
struct ContactTexts {
    std::array<notes::ItemValues, notes::kFieldCount> items;
    std::array<std::vector<std::string>, notes::kFieldCount> texts;
    std::string uid;
    notes::ContactAddresses addresses; // of MailAddress and InternetAddress

    void read(notes::NotesDocument &document);
};

} // namespace formats
