// SPDX-License-Identifier: GPL-3.0-or-later
// The test address books (see SampleBooks.h).
#include "SampleBooks.h"

#ifdef KT_WITH_DXL
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"

#include <set>
#endif

#include <cstdio>

namespace wintest {

namespace {

notes::ItemValue date(int y, int mo, int d)
{
    notes::DateTime dt;
    dt.hasDate = true;
    dt.year = y;
    dt.month = mo;
    dt.day = d;
    return notes::ItemValue::fromDateTime(dt);
}

notes::ItemValue dateTime(int y, int mo, int d, int h, int mi, int s)
{
    notes::DateTime dt;
    dt.hasDate = dt.hasTime = true;
    dt.year = y;
    dt.month = mo;
    dt.day = d;
    dt.hour = h;
    dt.minute = mi;
    dt.second = s;
    return notes::ItemValue::fromDateTime(dt);
}

notes::ItemValue timeOnly(int h, int mi, int s)
{
    notes::DateTime dt;
    dt.hasTime = true;
    dt.hour = h;
    dt.minute = mi;
    dt.second = s;
    return notes::ItemValue::fromDateTime(dt);
}

notes::ItemValue text(const std::string &t)
{
    return notes::ItemValue::fromText(t);
}

notes::ItemValue number(double n)
{
    return notes::ItemValue::fromNumber(n);
}

Book sample()
{
    Book book;
    book.title = "Sample Address Book";
    notes::MemoryDocument a;
    a.universalId = "0A1B2C3D4E5F60718293A4B5C6D7E8F9";
    a.noteId = "8F6";
    a.set("FirstName", "Zo\xC3\xAB")                            // Zoë
        .set("LastName", "\xC3\x85ngstr\xC3\xB6m")              // Ångström
        .set("CompanyName", "\xE6\x9D\xB1\xE4\xBA\xAC Trading") // 東京 Trading
        .set("OfficeStreetAddress", "Kungsgatan 1\nPlan 3\nBox 12")
        .set("Comment", "Line one\nLine two with | and \\ and \"quotes\"\n")
        .set("Categories", {text("Friends"), text("Work"), text("M\xC3\xBCller & Co")})
        .set("Birthday", {date(1971, 3, 4)})
        .set("Anniversary", {dateTime(2003, 11, 28, 14, 30, 15)})
        .set("OfficePhoneNumber", {number(42)})
        .set("MiscPhone1", {number(3.5), number(-1e21)})
        .set("MiscPhone2", {timeOnly(7, 5, 9)})
        .set("Spouse", {text("")})
        .set("MailAddress", "zoe@example.org");
    book.people.push_back(a);

    notes::MemoryDocument b;
    b.universalId = "FFEEDDCCBBAA99887766554433221100";
    b.noteId = "8FA";
    b.set("FirstName", "7th")
        .set("lastname", "Floor") // Notes finds items whatever the case of their names
        .set("Birthday", {date(2000, 2, 29)})
        .set("Anniversary", {dateTime(1999, 12, 31, 23, 59, 59), date(2024, 1, 1)});
    book.people.push_back(b);

    notes::MemoryDocument c;
    c.universalId = "00000000000000000000000000000001";
    c.noteId = "902";
    c.set("FirstName", "Anna").set("MiddleInitial", "B.").set("LastName", "Cole");
    book.people.push_back(c);
    return book;
}

Book large()
{
    Book book;
    book.title = "Large Address Book";
    book.people.reserve(5000);
    for (int i = 0; i < 5000; ++i) {
        char id[40];
        std::snprintf(id, sizeof id, "%032X", i + 1);
        char note[16];
        std::snprintf(note, sizeof note, "%X", 0x900 + 4 * i);
        notes::MemoryDocument d;
        d.universalId = id;
        d.noteId = note;
        // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about "a" + b + "c".
        std::string mail = "p";
        mail += std::to_string(i);
        mail += "@example.org";
        std::string first = "Person";
        first += std::to_string(i);
        std::string last = "Family";
        last += std::to_string(i % 97);
        d.set("FirstName", first)
            .set("LastName", last)
            .set("MailAddress", mail)
            .set("OfficePhoneNumber", {number(1000 + i)})
            .set("Birthday", {date(1950 + i % 50, 1 + i % 12, 1 + i % 28)});
        book.people.push_back(d);
    }
    return book;
}

} // namespace

Book bookNamed(const std::string &name)
{
    if (name == "sample")
        return sample();
    if (name == "large")
        return large();
    Book book;
    book.title = name;
    return book;
}

#ifdef KT_WITH_DXL
Book bookFromDxl(const std::string &path)
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const auto &field : notes::kFields)
        if (seen.insert(field.item).second)
            names.emplace_back(field.item);
    for (const auto &column : notes::kExportColumns)
        if (seen.insert(column.item).second)
            names.emplace_back(column.item);

    auto session = notes::dxl::DxlClient::createSession();
    auto database = session->GetDatabase("", path);
    auto navigator = database->GetView("$People")->CreateViewNav();
    Book book;
    book.title = database->Title();
    for (auto entry = navigator->GetFirstDocument(); entry;
         entry = navigator->GetNextDocument(*entry)) {
        auto document = entry->Document();
        notes::MemoryDocument copy;
        copy.universalId = document->UniversalID();
        copy.noteId = document->NoteID();
        for (const std::string &name : names)
            copy.set(name, document->GetItemValue(name));
        book.people.push_back(std::move(copy));
    }
    return book;
}
#endif

std::vector<std::string> sampleItemNames()
{
    return {"FirstName",  "LastName", "CompanyName", "OfficeStreetAddress", "Comment",
            "Categories", "Birthday", "Anniversary", "OfficePhoneNumber",   "MiscPhone1",
            "MiscPhone2", "Spouse",   "MailAddress", "MiddleInitial",       "NoSuchItem"};
}

} // namespace wintest
