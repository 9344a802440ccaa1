// SPDX-License-Identifier: GPL-3.0-or-later
// The book's people and groups (see BookIndex.h).
#include "export/format/BookIndex.h"

#include "notes/ContactRecord.h"

namespace formats {

std::string contactDisplayName(const std::string &first, const std::string &middle,
                               const std::string &last, const std::string &fullName,
                               const std::string &company, const std::string &address)
{
    notes::ContactRecord names;
    names.fields[notes::field("FirstName")] = first;
    names.fields[notes::field("MiddleInitial")] = middle;
    names.fields[notes::field("LastName")] = last;
    std::string name = names.displayName();
    for (const std::string &fallback : {notes::commonName(fullName), company, address}) {
        if (!name.empty())
            break;
        name = fallback;
    }
    return name;
}

void ContactTexts::read(notes::NotesDocument &document)
{
    for (std::size_t i = 0; i < notes::kFields.size(); ++i) {
        items[i] = document.GetItemValue(notes::kFields[i].item);
        texts[i].clear();
        for (const notes::ItemValue &value : items[i]) {
            std::string text = notes::defaultText(value);
            if (value.kind == notes::ItemValue::Kind::Text && notes::isCanonicalName(text))
                text = notes::abbreviatedName(text);
            if (!text.empty())
                texts[i].push_back(std::move(text));
        }
    }
    for (const int position : {notes::field("Title"), notes::field("Suffix")})
        std::erase(texts[std::size_t(position)], "0");
    uid = document.UniversalID();
    addresses = notes::contactAddresses(items[std::size_t(notes::field("MailAddress"))],
                                        document.GetItemValue("InternetAddress"));
}

void BookIndex::addPerson(notes::NotesDocument &document)
{
    Person person;
    person.uid = document.UniversalID();
    const notes::ContactAddresses addresses = notes::contactAddresses(
        document.GetItemValue("MailAddress"), document.GetItemValue("InternetAddress"));
    person.addresses = addresses.internet;
    const notes::ItemValues fullName = document.GetItemValue("FullName");
    const auto first = [&document](const char *item) {
        return notes::firstText(document.GetItemValue(item));
    };
    person.displayName =
        contactDisplayName(first("FirstName"), first("MiddleInitial"), first("LastName"),
                           notes::firstText(fullName), first("CompanyName"), addresses.primary());
    const std::size_t index = m_people.size();
    for (const notes::ItemValue &value : fullName) {
        if (const std::string key = notes::nameKey(notes::defaultText(value)); !key.empty())
            m_byName.emplace(key, index); // the first person of a name keeps it
    }
    for (const std::string &address : person.addresses)
        m_byAddress.emplace(notes::nameKey(address), index);
    m_byUid.emplace(person.uid, index);
    m_people.push_back(std::move(person));
}

const BookIndex::Person *BookIndex::personNamed(std::string_view name) const
{
    const auto found = m_byName.find(notes::nameKey(name));
    return found == m_byName.end() ? nullptr : &m_people[found->second];
}

const BookIndex::Person *BookIndex::personWithUid(std::string_view uid) const
{
    const auto found = m_byUid.find(std::string(uid));
    return found == m_byUid.end() ? nullptr : &m_people[found->second];
}

std::size_t BookIndex::personOf(std::string_view member) const
{
    const std::string key = notes::nameKey(member);
    if (const auto named = m_byName.find(key); named != m_byName.end())
        return named->second;
    if (const auto owner = m_byAddress.find(key); owner != m_byAddress.end())
        return owner->second;
    return m_people.size();
}

namespace {

// Adds to `people` the people group `from` names (`named`), then those of its nested groups, depth
// first, each person once (`taken`); `seen` keeps a loop of groups from going round twice.
void reach(std::size_t from, const std::vector<BookIndex::Group> &groups,
           const std::vector<std::vector<std::size_t>> &named, std::vector<bool> &seen,
           std::vector<bool> &taken, std::vector<std::size_t> &people)
{
    if (seen[from])
        return;
    seen[from] = true;
    for (const std::size_t person : named[from]) {
        if (!taken[person]) {
            taken[person] = true;
            people.push_back(person);
        }
    }
    for (const std::size_t nested : groups[from].subgroups)
        reach(nested, groups, named, seen, taken, people);
}

} // namespace

void BookIndex::setGroups(std::vector<notes::GroupRecord> groups)
{
    std::unordered_map<std::string, std::size_t> groupNamed;
    for (std::size_t i = 0; i < groups.size(); ++i)
        groupNamed.emplace(notes::nameKey(groups[i].name), i);
    m_groups.clear();
    // The people each group names itself, resolved once.
    std::vector<std::vector<std::size_t>> named(groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        Group group;
        for (const std::string &member : groups[i].members) {
            if (const std::size_t person = personOf(member); person != m_people.size())
                named[i].push_back(person);
            else if (const auto nested = groupNamed.find(notes::nameKey(member));
                     nested != groupNamed.end())
                group.subgroups.push_back(nested->second);
            else if (notes::isInternetAddress(member))
                group.outsideAddresses.push_back(member);
            else
                group.outsideNames.push_back(notes::abbreviatedName(member));
        }
        group.record = std::move(groups[i]);
        m_groups.push_back(std::move(group));
    }
    std::vector<bool> taken(m_people.size(), false);
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        std::vector<bool> seen(m_groups.size(), false);
        std::vector<std::size_t> &people = m_groups[i].people;
        reach(i, m_groups, named, seen, taken, people);
        for (const std::size_t person : people) {
            taken[person] = false;
            m_people[person].groups.push_back(i);
        }
    }
}

} // namespace formats
