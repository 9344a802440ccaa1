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

// What Notes keeps in Title and Suffix for "none"; the details pane shows it as empty.
constexpr std::string_view kNone = "0";

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

std::string displayName(const CardBuilder &card)
{
    // The name the contact tree shows; a card without a personal name takes its company or its
    // mail address, so that every card has a name to show and to name its file.
    notes::ContactRecord names;
    for (const int position : {kFirst, kMiddle, kLast}) {
        const std::vector<std::string> &texts = card.texts(position);
        if (!texts.empty())
            names.fields[std::size_t(position)] = texts.front();
    }
    std::string name = names.displayName();
    for (const int fallback : {field("CompanyName"), field("MailAddress")}) {
        if (!name.empty())
            break;
        const std::vector<std::string> &texts = card.texts(fallback);
        if (!texts.empty())
            name = texts.front();
    }
    return name;
}

} // namespace

void VCardContactFormat::format(notes::NotesDocument &document, FormattedContact &out)
{
    for (std::size_t i = 0; i < notes::kFields.size(); ++i) {
        m_items[i] = document.GetItemValue(notes::kFields[i].item);
        m_texts[i].clear();
        for (const notes::ItemValue &value : m_items[i]) {
            if (value.kind == notes::ItemValue::Kind::Text) {
                if (!value.text.empty())
                    m_texts[i].push_back(value.text);
            } else if (std::string text = notes::defaultText(value); !text.empty()) {
                m_texts[i].push_back(std::move(text));
            }
        }
    }
    for (const int position : {field("Title"), field("Suffix")})
        std::erase(m_texts[std::size_t(position)], kNone);
    const std::string uid = document.UniversalID();

    std::string &card = out.text;
    card.clear();
    CardBuilder builder(m_texts, card, m_line);
    card += "BEGIN:VCARD\r\nVERSION:3.0\r\n";

    builder.structured("N", {kLast, kFirst, kMiddle, field("Title"), field("Suffix")}, true);
    out.name = displayName(builder);
    builder.textLine("FN", out.name);
    builder.eachValue("EMAIL;TYPE=INTERNET", field("MailAddress"));
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
        for (const notes::ItemValue &value : m_items[std::size_t(date.field)]) {
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

    builder.structured("CATEGORIES", {field("Categories")});

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
