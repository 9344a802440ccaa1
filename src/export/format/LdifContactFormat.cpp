// SPDX-License-Identifier: GPL-3.0-or-later
// The LDIF entries of the contacts and groups (see LdifContactFormat.h).
//
// DNs: a person's RDN is cn=DISPLAY NAME, a group's cn=LIST NAME ("(no name)" when empty); an
// entry whose DN would equal an earlier one's, as the directory compares them (matchKey), gets
// "+uid=UNID" in its RDN and that uid among its values (a group gets the auxiliary class
// uidObject for it), or UNID-2, UNID-3 ... where the UNID is taken as well. In the Thunderbird
// form ",mail=ADDRESS" follows, the address left as it is: Thunderbird reads a member's address as
// the raw text after "mail=", and an Internet address holds no character that would end the RDN
// there (a "+" in it stays, which RFC 4514 would escape). The people are given their DNs in the
// order of the view, then the groups.
//
// A group with no member of the book: groupOfNames requires a member, and slapd takes the empty
// DN, which names no entry, so the directory form writes "member:" with nothing after it. A group
// that names itself does not list its own DN among its members.
#include "export/format/LdifContactFormat.h"

#include "export/format/LdifText.h"
#include "notes/NotesNames.h"

#include <algorithm>
#include <string_view>

namespace formats {

namespace {

using notes::field;

const std::string kNoName = "(no name)";

// The label of a field's line in the description: the details pane's, told apart where the
// business and the personal tab use the same one.
const char *labelOf(int position)
{
    switch (position) {
    case field("OfficeStreetAddress"):
        return "Office Street";
    case field("OfficeCity"):
        return "Office City";
    case field("OfficeZip"):
        return "Office Zip";
    case field("OfficeState"):
        return "Office State";
    case field("OfficeCountry"):
        return "Office Country";
    case field("StreetAddress"):
        return "Home Street";
    case field("City"):
        return "Home City";
    case field("Zip"):
        return "Home Zip";
    case field("State"):
        return "Home State";
    case field("Country"):
        return "Home Country";
    case field("PersPager"):
        return "Home Cell Phone";
    default:
        return notes::kFields[std::size_t(position)].label;
    }
}

// What a directory accepts in an attribute, as OpenLDAP checks it.
enum class Syntax {
    Text,  // Directory String: any UTF-8
    Phone, // Telephone Number: printable string
    Mail,  // IA5 String: ASCII
    Uri,   // labeledURI: an address, which ends at the first white space
    Dn,
};

bool accepts(Syntax syntax, std::string_view value)
{
    switch (syntax) {
    case Syntax::Phone:
        return value.find_first_not_of(" -") != std::string_view::npos &&
               std::all_of(value.begin(), value.end(), [](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') ||
                          std::string_view("'()+,-.=/:? ").find(c) != std::string_view::npos;
               });
    case Syntax::Mail:
        return std::all_of(value.begin(), value.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    case Syntax::Uri:
        return std::all_of(value.begin(), value.end(),
                           [](char c) { return static_cast<unsigned char>(c) > ' '; });
    case Syntax::Text:
    case Syntax::Dn:
        break;
    }
    return true;
}

// The form in which the directory finds two values of an attribute equal.
std::string keyOf(Syntax syntax, std::string_view value)
{
    std::string key = matchKey(value);
    if (syntax == Syntax::Phone)
        std::erase_if(key, [](char c) { return c == ' ' || c == '-'; });
    return key;
}

// One entry being written: its attribute lines as they come, its description at the end.
class Entry final {
public:
    Entry(std::string &out, bool directory) : m_out(out), m_directory(directory) {}

    void line(std::string_view attribute, std::string_view value)
    {
        appendLdifLine(m_out, attribute, value);
    }

    // Writes `value` to `attribute` where the form has room for it: in the Thunderbird form an
    // attribute takes one value; in a directory every value it accepts, but none equal to one
    // it already has. False when the value is not written.
    bool add(const char *attribute, const std::string &value, Syntax syntax = Syntax::Text)
    {
        auto found = std::find_if(m_attributes.begin(), m_attributes.end(),
                                  [attribute](const Attribute &seen) {
                                      return std::string_view(seen.name) == attribute;
                                  });
        if (found != m_attributes.end() && !m_directory)
            return false;
        if (m_directory) {
            if (!accepts(syntax, value))
                return false;
            std::string key = keyOf(syntax, value);
            if (found == m_attributes.end())
                found = m_attributes.insert(m_attributes.end(), Attribute{attribute, {}});
            if (std::find(found->keys.begin(), found->keys.end(), key) != found->keys.end())
                return false;
            found->keys.push_back(std::move(key));
        } else {
            m_attributes.push_back(Attribute{attribute, {}});
        }
        line(attribute, value);
        return true;
    }

    bool has(std::string_view attribute) const
    {
        return std::any_of(m_attributes.begin(), m_attributes.end(),
                           [attribute](const Attribute &seen) { return seen.name == attribute; });
    }

    void comment(const std::string &text)
    {
        if (!m_comment.empty())
            m_comment += '\n';
        m_comment += text;
    }

    void note(const char *label, const std::string &value)
    {
        if (!m_notes.empty())
            m_notes += '\n';
        m_notes += label;
        m_notes += ": ";
        m_notes += value;
    }

    // The description (the comment, an empty line, the notes) and the entry's end.
    void finish()
    {
        std::string description = m_comment;
        if (!m_notes.empty())
            description += description.empty() ? m_notes : "\n\n" + m_notes;
        if (!description.empty())
            line("description", description);
        m_out += "\r\n";
    }

private:
    struct Attribute {
        const char *name;
        std::vector<std::string> keys;
    };
    std::string &m_out;
    bool m_directory;
    std::vector<Attribute> m_attributes;
    std::string m_comment;
    std::string m_notes;
};

// The date of a value (a Notes date, or text reading YYYY-MM-DD); false for anything else.
bool dateOf(const notes::ItemValue &value, int &year, int &month, int &day)
{
    if (value.kind == notes::ItemValue::Kind::DateTime) {
        year = value.dateTime.year, month = value.dateTime.month, day = value.dateTime.day;
        return value.dateTime.hasDate;
    }
    const std::string text = notes::defaultText(value);
    if (text.size() != 10)
        return false;
    int digits[10] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : text[i] < '0' || text[i] > '9')
            return false;
        digits[i] = text[i] - '0';
    }
    year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    month = digits[5] * 10 + digits[6];
    day = digits[8] * 10 + digits[9];
    return true;
}

// A postal address value: the lines, "$" between them, "\" and "$" inside escaped (RFC 4517);
// empty lines left out.
std::string postalAddress(const std::vector<std::string> &parts)
{
    std::string value;
    for (const std::string &part : parts) {
        std::string_view rest = part;
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            std::string_view text = rest.substr(0, end);
            rest.remove_prefix(std::min(end + 1, rest.size()));
            while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
                text.remove_suffix(1);
            if (text.find_first_not_of(' ') == std::string_view::npos)
                continue;
            if (!value.empty())
                value += '$';
            for (const char c : text)
                value += c == '\\' ? "\\5C" : c == '$' ? "\\24" : std::string(1, c);
        }
    }
    return value;
}

const std::string &nameOr(const std::string &name)
{
    return name.empty() ? kNoName : name;
}

std::string asciiLower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace

LdifContactFormat::LdifContactFormat(LdifOptions options) : m_options(std::move(options))
{
    // Outer spaces go, but not an escaped one, which belongs to the last value.
    std::string &base = m_options.baseDn;
    base.erase(0, std::min(base.find_first_not_of(' '), base.size()));
    while (!base.empty() && base.back() == ' ') {
        std::size_t slashes = 0;
        for (std::size_t i = base.size() - 1; i > 0 && base[i - 1] == '\\'; --i)
            ++slashes;
        if (slashes % 2 == 1)
            break;
        base.pop_back();
    }
}

LdifContactFormat::Dn LdifContactFormat::uniqueDn(const std::string &name,
                                                  const std::string &address,
                                                  const std::string &unid)
{
    // All entries of a directory share the base DN; Thunderbird's differ by the address too.
    const std::string base =
        matchKey(name) + '\x1F' + (directory() ? std::string() : asciiLower(address));
    Dn dn{{}, name, {}};
    // Only a name met before keeps a count of the additions tried for it.
    if (!m_taken.insert(base + '\x1F').second) {
        int &tried = m_tries[base + '\x1F' + unid];
        do {
            ++tried;
            dn.uid = unid.empty() ? std::to_string(tried + 1)
                     : tried == 1 ? unid
                                  : unid + '-' + std::to_string(tried);
        } while (!m_taken.insert(base + '\x1F' + matchKey(dn.uid)).second);
    }
    dn.text = "cn=" + dnValue(name);
    if (!dn.uid.empty())
        dn.text += "+uid=" + dnValue(dn.uid);
    if (directory())
        dn.text += ',' + m_options.baseDn;
    else if (!address.empty())
        dn.text += ",mail=" + address;
    return dn;
}

void LdifContactFormat::setBook(const BookIndex &book)
{
    m_book = &book;
    for (std::size_t i = 0; i < book.people().size(); ++i) {
        const BookIndex::Person &person = book.people()[i];
        m_byUid[person.uid].people.push_back(i);
        m_personDns.push_back(uniqueDn(nameOr(person.displayName),
                                       person.addresses.empty() ? "" : person.addresses.front(),
                                       person.uid));
    }
    for (const BookIndex::Group &group : book.groups()) {
        const notes::GroupRecord &record = group.record;
        m_groupDns.push_back(
            uniqueDn(nameOr(record.name),
                     notes::isInternetAddress(record.internetAddress) ? record.internetAddress : "",
                     record.uid));
    }
}

void LdifContactFormat::format(notes::NotesDocument &document, FormattedContact &out)
{
    m_contact.read(document);
    const std::string &uid = m_contact.uid;
    const notes::ContactAddresses &addresses = m_contact.addresses;

    // The DN setBook() gave this document's person: the next of its UNID (the walk meets the
    // people in the order the book index read them); a document the index did not read gets one
    // now.
    Dn dn;
    const auto sameUid = m_byUid.find(uid);
    if (sameUid != m_byUid.end() && sameUid->second.next < sameUid->second.people.size()) {
        dn = m_personDns[sameUid->second.people[sameUid->second.next++]];
    } else {
        const auto first = [this](const char *item) {
            return notes::firstText(m_contact.items[std::size_t(notes::fieldOf(item))]);
        };
        dn = uniqueDn(
            nameOr(contactDisplayName(first("FirstName"), first("MiddleInitial"), first("LastName"),
                                      notes::firstText(document.GetItemValue("FullName")),
                                      first("CompanyName"), addresses.primary())),
            addresses.internet.empty() ? "" : addresses.internet.front(), uid);
    }
    out.name = dn.name;
    out.text.clear();
    Entry entry(out.text, directory());
    const auto texts = [this](int position) -> const std::vector<std::string> & {
        return m_contact.texts[std::size_t(position)];
    };
    // Each value of the field to the attribute, else to the description; no attribute: all
    // to the description.
    const auto route = [&](const char *attribute, int position, Syntax syntax = Syntax::Text) {
        for (const std::string &text : texts(position))
            if (!attribute || !entry.add(attribute, text, syntax))
                entry.note(labelOf(position), text);
    };
    // The manager or assistant: the DN of the person of the book in a directory, else the name
    // that person's entry shows, else the name as the document holds it.
    const auto colleague = [&](const char *attribute, int position) {
        for (const std::string &name : texts(position)) {
            const BookIndex::Person *found = m_book ? m_book->personNamed(name) : nullptr;
            const std::size_t index = found ? std::size_t(found - m_book->people().data()) : 0;
            if (found && directory() && entry.add(attribute, m_personDns[index].text, Syntax::Dn))
                continue;
            entry.note(labelOf(position), found ? m_personDns[index].name : name);
        }
    };

    entry.line("dn", dn.text);
    if (directory()) {
        for (const char *objectClass : {"top", "person", "organizationalPerson", "inetOrgPerson"})
            entry.line("objectClass", objectClass);
        entry.add("cn", dn.name);
        route("sn", field("LastName"));
        if (!entry.has("sn"))
            entry.add("sn", dn.name);
        route("givenName", field("FirstName"));
        route("initials", field("MiddleInitial"));
        if (!dn.uid.empty())
            entry.add("uid", dn.uid);
        route("uid", field("ShortName"));
        route(nullptr, field("Title"));
        route(nullptr, field("Suffix"));
        for (const std::string &address : addresses.internet)
            if (!entry.add("mail", address, Syntax::Mail))
                entry.note(labelOf(field("MailAddress")), address);
        route("telephoneNumber", field("OfficePhoneNumber"), Syntax::Phone);
        route("homePhone", field("PhoneNumber"), Syntax::Phone);
        route("mobile", field("CellPhoneNumber"), Syntax::Phone);
        route("mobile", field("PersPager"), Syntax::Phone);
        route("facsimileTelephoneNumber", field("OfficeFAXPhoneNumber"), Syntax::Phone);
        route("facsimileTelephoneNumber", field("HomeFAXPhoneNumber"), Syntax::Phone);
        route("pager", field("PhoneNumber_6"), Syntax::Phone);
        route("street", field("OfficeStreetAddress"));
        route("l", field("OfficeCity"));
        route("st", field("OfficeState"));
        route("postalCode", field("OfficeZip"));
        // The postal addresses take each item's first value, the country too, which an
        // inetOrgPerson has no attribute for; the home address's later values, and the office
        // country's, go to the description.
        for (const auto &[attribute, parts] :
             {std::pair{"postalAddress", std::vector{field("OfficeStreetAddress"),
                                                     field("OfficeCity"), field("OfficeState"),
                                                     field("OfficeZip"), field("OfficeCountry")}},
              std::pair{"homePostalAddress",
                        std::vector{field("StreetAddress"), field("City"), field("State"),
                                    field("Zip"), field("Country")}}}) {
            std::vector<std::string> lines;
            for (const int position : parts) {
                if (texts(position).empty())
                    continue;
                lines.push_back(texts(position).front());
                if (position == field("OfficeCountry") ||
                    std::string_view(attribute) == "homePostalAddress")
                    for (std::size_t i = 1; i < texts(position).size(); ++i)
                        entry.note(labelOf(position), texts(position)[i]);
            }
            if (const std::string value = postalAddress(lines); !value.empty())
                entry.add(attribute, value);
        }
        route("physicalDeliveryOfficeName", field("Location"));
        route("o", field("CompanyName"));
        route("ou", field("Department"));
        route("title", field("JobTitle"));
        route("labeledURI", field("WebSite"), Syntax::Uri);
        colleague("manager", field("Manager"));
        colleague("secretary", field("Assistant"));
        for (const int position : {field("Birthday"), field("Anniversary")})
            route(nullptr, position);
    } else {
        for (const char *objectClass :
             {"top", "person", "organizationalPerson", "inetOrgPerson", "mozillaAbPersonAlpha"})
            entry.line("objectclass", objectClass);
        route("givenName", field("FirstName"));
        route(nullptr, field("MiddleInitial"));
        route("sn", field("LastName"));
        entry.add("cn", dn.name);
        route(nullptr, field("Title"));
        route(nullptr, field("Suffix"));
        for (const std::string &address : addresses.internet)
            if (!entry.add("mail", address) && !entry.add("mozillaSecondEmail", address))
                entry.note(labelOf(field("MailAddress")), address);
        route("telephoneNumber", field("OfficePhoneNumber"));
        route("homePhone", field("PhoneNumber"));
        route("facsimiletelephonenumber", field("OfficeFAXPhoneNumber"));
        route("facsimiletelephonenumber", field("HomeFAXPhoneNumber"));
        route("pager", field("PhoneNumber_6"));
        route("mobile", field("CellPhoneNumber"));
        route("mobile", field("PersPager"));
        route("mozillaHomeStreet", field("StreetAddress"));
        route("mozillaHomeLocalityName", field("City"));
        route("mozillaHomeState", field("State"));
        route("mozillaHomePostalCode", field("Zip"));
        route("mozillaHomeCountryName", field("Country"));
        route("street", field("OfficeStreetAddress"));
        route("l", field("OfficeCity"));
        route("st", field("OfficeState"));
        route("postalCode", field("OfficeZip"));
        route("c", field("OfficeCountry"));
        route("title", field("JobTitle"));
        route("ou", field("Department"));
        route("o", field("CompanyName"));
        for (const std::string &site : texts(field("WebSite")))
            if (!entry.add("mozillaWorkUrl", site) && !entry.add("mozillaHomeUrl", site))
                entry.note(labelOf(field("WebSite")), site);
        route(nullptr, field("Location"));
        colleague(nullptr, field("Manager"));
        colleague(nullptr, field("Assistant"));
        // The birthday's first date in Thunderbird's three attributes; anything else as text.
        for (const notes::ItemValue &value : m_contact.items[std::size_t(field("Birthday"))]) {
            int year = 0, month = 0, day = 0;
            if (!entry.has("birthyear") && dateOf(value, year, month, day)) {
                entry.add("birthyear", std::to_string(year));
                entry.add("birthmonth", std::to_string(month));
                entry.add("birthday", std::to_string(day));
            } else if (const std::string text = notes::defaultText(value); !text.empty()) {
                entry.note(labelOf(field("Birthday")), text);
            }
        }
        route(nullptr, field("Anniversary"));
        route(nullptr, field("ShortName"));
    }
    for (const std::string &text : addresses.plain)
        entry.note(labelOf(field("MailAddress")), text);
    for (const std::string &text : addresses.routing)
        entry.note(labelOf(field("MailAddress")), text);
    for (const int position :
         {field("Spouse"), field("Children"), field("AltFullNameSort"), field("MailDomain"),
          field("MiscPhone1"), field("MiscPhone2"), field("MiscPhone3"), field("Categories")})
        route(nullptr, position);
    for (const std::string &text : texts(field("Comment")))
        entry.comment(text);
    entry.finish();
}

std::vector<FormattedContact> LdifContactFormat::groups()
{
    std::vector<FormattedContact> entries;
    if (!m_book)
        return entries;
    const std::vector<BookIndex::Group> &groups = m_book->groups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const BookIndex::Group &group = groups[g];
        const Dn &dn = m_groupDns[g];
        FormattedContact formatted;
        formatted.name = dn.name;
        Entry entry(formatted.text, directory());
        entry.line("dn", dn.text);
        const char *objectClass = directory() ? "objectClass" : "objectclass";
        entry.line(objectClass, "top");
        entry.line(objectClass, "groupOfNames");
        // groupOfNames has no uid; the auxiliary class brings it for the RDN's.
        const bool uid = directory() && !dn.uid.empty();
        if (uid)
            entry.line(objectClass, "uidObject");
        entry.add("cn", dn.name);
        if (uid)
            entry.add("uid", dn.uid);

        if (!group.record.description.empty())
            entry.comment(group.record.description);
        if (!group.record.internetAddress.empty())
            entry.note("Internet Address", group.record.internetAddress);
        const auto list = [&entry](const char *label, const std::vector<std::string> &names) {
            std::string text;
            for (const std::string &name : names)
                text += (text.empty() ? "" : ", ") + name;
            if (!text.empty())
                entry.note(label, text);
        };
        std::vector<std::string> nested;
        for (const std::size_t subgroup : group.subgroups)
            nested.push_back(m_groupDns[subgroup].name);
        list("Nested groups", nested);
        std::vector<std::string> outside = group.outsideAddresses;
        outside.insert(outside.end(), group.outsideNames.begin(), group.outsideNames.end());
        list("Members outside this book", outside);
        // Thunderbird finds a member by the address in its DN; one without is listed by name.
        std::vector<std::string> unreachable;
        if (!directory())
            for (const std::size_t person : group.people)
                if (m_book->people()[person].addresses.empty())
                    unreachable.push_back(m_personDns[person].name);
        list("Members without an e-mail address", unreachable);

        if (directory()) {
            for (const std::size_t person : group.people)
                entry.add("member", m_personDns[person].text, Syntax::Dn);
            for (const std::size_t subgroup : group.subgroups)
                if (subgroup != g)
                    entry.add("member", m_groupDns[subgroup].text, Syntax::Dn);
            if (!entry.has("member"))
                entry.line("member", "");
        } else {
            for (const std::size_t person : group.people)
                entry.line("member", m_personDns[person].text);
            for (const std::string &address : group.outsideAddresses)
                entry.line("member", "mail=" + address);
        }
        entry.finish();
        entries.push_back(std::move(formatted));
    }
    return entries;
}

} // namespace formats
