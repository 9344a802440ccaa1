// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard of one contact (see VCardContactFormat.h). Items with a property of their own in
// RFC 2426 go there; department, manager, assistant, spouse and anniversary go to the properties
// that Outlook, Evolution, Roundcube and Thunderbird each read them from, one line for each; what
// no program reads from a card of its own (office location, children, short name, mail domain,
// the three "Other Email" items, and a birthday or anniversary that is not a date or is not the
// first) goes into NOTE after the comment, each line named by its details-pane label, so that
// nothing is lost.
#include "export/format/VCardContactFormat.h"

#include "export/format/VCardText.h"
#include "notes/ContactRecord.h"
#include "notes/NotesNames.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

namespace formats {

namespace {

using notes::field;

struct Phone {
    int field;
    const char *property;
};

// The phones as the details pane names them. Thunderbird labels a phone by its first type, so
// the type that tells a fax or a cell phone from the plain one comes first.
constexpr Phone kPhones[] = {
    {field("OfficePhoneNumber"), "TEL;TYPE=WORK"},
    {field("OfficeFAXPhoneNumber"), "TEL;TYPE=FAX,WORK"},
    {field("CellPhoneNumber"), "TEL;TYPE=CELL,WORK"},
    {field("PhoneNumber_6"), "TEL;TYPE=PAGER"},
    {field("PhoneNumber"), "TEL;TYPE=HOME"},
    {field("HomeFAXPhoneNumber"), "TEL;TYPE=FAX,HOME"},
    {field("PersPager"), "TEL;TYPE=CELL,HOME"},
};

// Items that RFC 2426 has no property for, in the X- properties of Outlook (X-MS-), Evolution
// (X-EVOLUTION-) and Roundcube (the bare X-), written to all, since each program reads only its
// own. The department also stays in ORG, where the others read it.
struct Extension {
    int field;
    const char *properties[3];
};

constexpr Extension kExtensions[] = {
    {field("Department"), {"X-DEPARTMENT", nullptr, nullptr}},
    {field("Manager"), {"X-MS-MANAGER", "X-EVOLUTION-MANAGER", "X-MANAGER"}},
    {field("Assistant"), {"X-MS-ASSISTANT", "X-EVOLUTION-ASSISTANT", "X-ASSISTANT"}},
    {field("Spouse"), {"X-MS-SPOUSE", "X-EVOLUTION-SPOUSE", "X-SPOUSE"}},
    {field("AltFullNameSort"), {"X-PHONETIC-LAST-NAME", nullptr, nullptr}},
};

// Dates that have a property of their own. Each property holds one date, the item's first; a
// later one, and a value that is no date, go into NOTE. ANNIVERSARY is vCard 4's, which
// Thunderbird reads from a 3.0 card too.
struct DateProperty {
    int field;
    const char *properties[3];
};

constexpr DateProperty kDates[] = {
    {field("Birthday"), {"BDAY", nullptr, nullptr}},
    {field("Anniversary"), {"ANNIVERSARY", "X-ANNIVERSARY", "X-EVOLUTION-ANNIVERSARY"}},
};

// Appended to NOTE as "Label: value", in this order.
constexpr int kNoteFields[] = {
    field("Location"),   field("Children"),   field("ShortName"),  field("MailDomain"),
    field("MiscPhone1"), field("MiscPhone2"), field("MiscPhone3"),
};

constexpr int kFirst = field("FirstName");
constexpr int kMiddle = field("MiddleInitial");
constexpr int kLast = field("LastName");

// The value as a vCard date ("YYYY-MM-DD"): a Notes date-time that has a date, or text that
// already reads so; "" for anything else.
std::string dateOf(const notes::ItemValue &value)
{
    if (value.kind == notes::ItemValue::Kind::DateTime) {
        if (!value.dateTime.hasDate)
            return {};
        char text[48];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", value.dateTime.year,
                      value.dateTime.month, value.dateTime.day);
        return text;
    }
    const std::string text = notes::defaultText(value);
    const bool isDate = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                        text.find_first_not_of("0123456789-") == std::string::npos;
    return isDate ? text : std::string();
}

class CardBuilder final {
public:
    CardBuilder(const std::array<std::vector<std::string>, notes::kFieldCount> &texts,
                std::string &card, std::string &line)
        : m_texts(texts), m_card(card), m_line(line)
    {
    }

    // The non-empty values of a field in their default text form.
    const std::vector<std::string> &texts(int position) const
    {
        return m_texts[std::size_t(position)];
    }

    // The values of a field as one component of a structured value: a comma-separated list.
    void appendComponent(int position)
    {
        bool first = true;
        for (const std::string &text : texts(position)) {
            if (!first)
                m_line += ',';
            first = false;
            appendVCardText(m_line, text);
        }
    }

    void begin(const char *name)
    {
        m_line = name;
        m_line += ':';
    }
    void end() { appendFoldedLine(m_card, m_line); }

    void textLine(const char *name, const std::string &value)
    {
        begin(name);
        appendVCardText(m_line, value);
        end();
    }

    void urlLine(const char *name, const std::string &value)
    {
        begin(name);
        appendVCardUrl(m_line, value);
        end();
    }

    // One line per value.
    void eachValue(const char *name, int position)
    {
        for (const std::string &text : texts(position))
            textLine(name, text);
    }

    // A structured property of several fields, written when any of them has a value.
    void structured(const char *name, std::initializer_list<int> positions, bool always = false)
    {
        // -1 stands for a component the contact record has no item for.
        bool any = always;
        for (const int position : positions)
            any = any || (position >= 0 && !texts(position).empty());
        if (!any)
            return;
        begin(name);
        bool first = true;
        for (const int position : positions) {
            if (!first)
                m_line += ';';
            first = false;
            if (position >= 0)
                appendComponent(position);
        }
        end();
    }

private:
    const std::array<std::vector<std::string>, notes::kFieldCount> &m_texts;
    std::string &m_card;
    std::string &m_line;
};

const std::string &firstOf(const std::vector<std::string> &texts)
{
    static const std::string none;
    return texts.empty() ? none : texts.front();
}

} // namespace

void VCardContactFormat::format(notes::NotesDocument &document, FormattedContact &out)
{
    m_contact.read(document);
    const std::string &uid = m_contact.uid;
    const notes::ContactAddresses &addresses = m_contact.addresses;
    // A manager or assistant of the book by the name the person's card shows.
    for (const int position : {field("Manager"), field("Assistant")}) {
        std::vector<std::string> &names = m_contact.texts[std::size_t(position)];
        for (std::string &name : names)
            if (const BookIndex::Person *person = m_book ? m_book->personNamed(name) : nullptr;
                person && !person->displayName.empty())
                name = person->displayName;
    }

    std::string &card = out.text;
    card.clear();
    CardBuilder builder(m_contact.texts, card, m_line);
    card += "BEGIN:VCARD\r\nVERSION:3.0\r\n";

    builder.structured("N", {kLast, kFirst, kMiddle, field("Title"), field("Suffix")}, true);
    out.name = contactDisplayName(
        firstOf(m_contact.texts[kFirst]), firstOf(m_contact.texts[kMiddle]),
        firstOf(m_contact.texts[kLast]), notes::firstText(document.GetItemValue("FullName")),
        firstOf(m_contact.texts[std::size_t(field("CompanyName"))]), addresses.primary());
    builder.textLine("FN", out.name);
    for (const std::string &address : addresses.internet)
        builder.textLine("EMAIL;TYPE=INTERNET", address);
    for (const std::string &text : addresses.plain)
        builder.textLine("EMAIL;TYPE=INTERNET", text);
    builder.structured("ORG", {field("CompanyName"), field("Department")});
    builder.eachValue("TITLE", field("JobTitle"));
    builder.structured("ADR;TYPE=WORK",
                       {-1, -1, field("OfficeStreetAddress"), field("OfficeCity"),
                        field("OfficeState"), field("OfficeZip"), field("OfficeCountry")});
    builder.structured("ADR;TYPE=HOME", {-1, -1, field("StreetAddress"), field("City"),
                                         field("State"), field("Zip"), field("Country")});
    for (const Phone &phone : kPhones)
        builder.eachValue(phone.property, phone.field);
    for (const std::string &text : builder.texts(field("WebSite")))
        builder.urlLine("URL", text);

    std::string note;
    const auto addNote = [&note](const char *label, const std::string &text) {
        if (!note.empty())
            note += '\n';
        note += label;
        note += ": ";
        note += text;
    };

    for (const DateProperty &date : kDates) {
        bool written = false;
        for (const notes::ItemValue &value : m_contact.items[std::size_t(date.field)]) {
            const std::string text = dateOf(value);
            if (text.empty() || written) {
                const std::string plain = notes::defaultText(value);
                if (!plain.empty())
                    addNote(notes::kFields[std::size_t(date.field)].label, plain);
                continue;
            }
            written = true;
            for (const char *property : date.properties)
                if (property)
                    builder.textLine(property, text);
        }
    }
    for (const Extension &extension : kExtensions)
        for (const char *property : extension.properties)
            if (property)
                builder.eachValue(property, extension.field);

    std::vector<std::string> &categories = m_contact.texts[std::size_t(field("Categories"))];
    if (const BookIndex::Person *person = m_book ? m_book->personWithUid(uid) : nullptr) {
        for (const std::size_t group : person->groups) {
            const std::string &name = m_book->groups()[group].record.name;
            if (!name.empty() &&
                std::find(categories.begin(), categories.end(), name) == categories.end())
                categories.push_back(name);
        }
    }
    builder.structured("CATEGORIES", {field("Categories")});
    for (const std::string &routing : addresses.routing)
        addNote(notes::kFields[std::size_t(field("MailAddress"))].label, routing);

    for (const int position : kNoteFields)
        for (const std::string &text : builder.texts(position))
            addNote(notes::kFields[std::size_t(position)].label, text);
    std::string comment;
    for (const std::string &text : builder.texts(field("Comment"))) {
        if (!comment.empty())
            comment += '\n';
        comment += text;
    }
    if (!note.empty())
        comment += comment.empty() ? note : "\n\n" + note;
    if (!comment.empty())
        builder.textLine("NOTE", comment);

    if (!uid.empty())
        builder.textLine("UID", uid);
    card += "END:VCARD\r\n";
}

} // namespace formats

namespace formats {

std::vector<FormattedContact> VCardContactFormat::groups()
{
    std::vector<FormattedContact> cards;
    if (!m_book)
        return cards;
    std::string line;
    for (const BookIndex::Group &group : m_book->groups()) {
        FormattedContact card;
        card.name = group.record.name;
        const auto property = [&card, &line](const char *name, const std::string &value,
                                             bool uri = false) {
            line = name;
            line += ':';
            if (uri)
                appendVCardUrl(line, value);
            else
                appendVCardText(line, value);
            appendFoldedLine(card.text, line);
        };
        card.text = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        property("N", group.record.name);
        property("FN", group.record.name);
        property("X-ADDRESSBOOKSERVER-KIND", "group");
        if (notes::isInternetAddress(group.record.internetAddress))
            property("EMAIL;TYPE=INTERNET", group.record.internetAddress);
        for (const std::size_t person : group.people)
            if (!m_book->people()[person].uid.empty())
                property("X-ADDRESSBOOKSERVER-MEMBER", "urn:uuid:" + m_book->people()[person].uid,
                         true);
        for (const std::string &address : group.outsideAddresses)
            property("X-ADDRESSBOOKSERVER-MEMBER", "mailto:" + address, true);
        std::string note = group.record.description;
        const auto list = [&note](const char *label, const std::vector<std::string> &names) {
            if (names.empty())
                return;
            note += note.empty() ? "" : "\n";
            note += label;
            for (std::size_t i = 0; i < names.size(); ++i)
                note += (i == 0 ? ": " : ", ") + names[i];
        };
        std::vector<std::string> nested;
        for (const std::size_t subgroup : group.subgroups)
            nested.push_back(m_book->groups()[subgroup].record.name);
        list("Nested groups", nested);
        list("Members outside this book", group.outsideNames);
        if (!note.empty())
            property("NOTE", note);
        const std::string uid = group.record.uid;
        if (!uid.empty())
            property("UID", uid);
        card.text += "END:VCARD\r\n";
        cards.push_back(std::move(card));
    }
    return cards;
}

} // namespace formats
