// SPDX-License-Identifier: GPL-3.0-or-later
// The one description of a contact's fields. A contact is the 42 items the scan reads from a
// Person document; for each the table gives its Notes item, the details-pane box that shows it
// (object name and label) and whether that box takes several lines. The export offers 28
// columns, each a CSV heading and the Notes item written under it. The contact record, the
// details pane, the export's field list, the export walk and the writers all read these tables;
// none keeps a list of its own. Qt-free, so the walks can use it under every client.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace notes {

struct FieldSpec {
    const char *item;  // the Notes item read for this field
    const char *box;   // object name of the details-pane box that shows it
    const char *label; // the caption beside that box
    bool multiLine = false;
};

inline constexpr int kFieldCount = 42;

// Field i of the contact record is shown by box i. Some labels do not name the item behind them
// ("Other Email 1" shows MiscPhone1; "Pager" shows PhoneNumber_6): they are the captions users
// of the Notes templates know.
inline constexpr std::array<FieldSpec, kFieldCount> kFields{{
    {"FirstName", "txtFirstName", "First"},
    {"MiddleInitial", "txtMiddleName", "Middle"},
    {"LastName", "txtLastName", "Last"},
    {"Suffix", "txtSuffix", "Suffix"},
    {"Title", "txtTitle", "Title"},
    {"MailAddress", "txtEmail", "Email"},
    {"CompanyName", "txtCompany", "Company", true},
    {"JobTitle", "txtJobTitle", "Job Title"},
    {"OfficeStreetAddress", "txtBusinessStreet", "Street"},
    {"OfficeCity", "txtBusinessCity", "City"},
    {"OfficeZip", "txtBusinessZip", "Zip"},
    {"OfficeState", "txtBusinessState", "State"},
    {"OfficeCountry", "txtBusinessCountry", "Country"},
    {"Location", "txtBusinessLocation", "Location"},
    {"WebSite", "txtBusinessWebpage", "Web Page"},
    {"Department", "txtBusinessDept", "Dept"},
    {"Manager", "txtBusinessManager", "Manager"},
    {"Assistant", "txtBusinessAssistant", "Assistant"},
    {"OfficePhoneNumber", "txtBusinessPhone", "Office Phone"},
    {"OfficeFAXPhoneNumber", "txtBusinessFax", "Office Fax"},
    {"CellPhoneNumber", "txtBusinessCellPhone", "Cell Phone"},
    {"PhoneNumber_6", "txtBusinessPager", "Pager"},
    {"MiscPhone1", "txtBusinessOtherEmail1", "Other Email 1"},
    {"MiscPhone2", "txtBusinessOtherEmail2", "Other Email 2"},
    {"MiscPhone3", "txtBusinessOtherEmail3", "Other Email 3"},
    {"StreetAddress", "txtHomeStreet", "Street", true},
    {"City", "txtHomeCity", "City"},
    {"Zip", "txtHomeZip", "Zip"},
    {"State", "txtHomeState", "State"},
    {"Country", "txtHomeCountry", "Country"},
    {"Spouse", "txtSpouse", "Spouse"},
    {"Children", "txtChildren", "Children"},
    {"PhoneNumber", "txtHomePhone", "Home Phone"},
    {"HomeFAXPhoneNumber", "txtHomeFax", "Home Fax"},
    {"PersPager", "txtHomeCellPhone", "Cell Phone"},
    {"Birthday", "txtBirthday", "Birthday"},
    {"Anniversary", "txtAnniversary", "Anniversary"},
    {"Comment", "txtComments", "Comments", true},
    {"ShortName", "txtShortName", "Short Name"},
    {"AltFullNameSort", "txtPhoneticName", "Phonetic Name"},
    {"MailDomain", "txtMailDomain", "Mail Domain"},
    {"Categories", "txtCategories", "Categories"},
}};

// The position of the field reading `item` (exact spelling), -1 when no field reads it. Used in
// constant expressions, a misspelt item fails the build where a field is named.
constexpr int fieldOf(std::string_view item)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (item == kFields[std::size_t(i)].item)
            return i;
    }
    return -1;
}

// The position of a field the program names in its code: a compile-time constant, and an item
// outside the table is a build error rather than a silent -1.
consteval int field(std::string_view item)
{
    const int position = fieldOf(item);
    if (position < 0)
        throw "not an item of the contact record";
    return position;
}

struct ExportColumn {
    const char *caption; // the caption in the field list, also the CSV heading
    const char *item;    // the Notes item written in this column
};

inline constexpr std::size_t kExportColumnCount = 28;

// The export's columns in the order the field list shows them and the file writes them. The
// position in the table is the column's identity. Some captions do not name their item: both
// web page columns carry "WebSite", "Mobile Phone" takes "PersPager" and "Pager" takes
// "CellPhoneNumber"; "Name" writes "FullName", which the contact record does not keep. That is
// how address books filled by the Notes templates store them, so it is kept as it stands.
inline constexpr std::array<ExportColumn, kExportColumnCount> kExportColumns{{
    {"First Name", "FirstName"},
    {"Last Name", "LastName"},
    {"Middle Name", "MiddleInitial"},
    {"Name", "FullName"},
    {"E-mail Address", "MailAddress"},
    {"Home Street", "StreetAddress"},
    {"Home City", "City"},
    {"Home Postal Code", "Zip"},
    {"Home State", "State"},
    {"Home Country/Region", "Country"},
    {"Home Phone", "PhoneNumber"},
    {"Home Fax", "HomeFAXPhoneNumber"},
    {"Mobile Phone", "PersPager"},
    {"Personal Web Page", "WebSite"},
    {"Business Street", "OfficeStreetAddress"},
    {"Business City", "OfficeCity"},
    {"Business Postal Code", "OfficeZip"},
    {"Business State", "OfficeState"},
    {"Business Country/Region", "OfficeCountry"},
    {"Business Web Page", "WebSite"},
    {"Business Phone", "OfficePhoneNumber"},
    {"Business Fax", "OfficeFAXPhoneNumber"},
    {"Pager", "CellPhoneNumber"},
    {"Company", "CompanyName"},
    {"Job Title", "JobTitle"},
    {"Department", "Department"},
    {"Office Location", "Location"},
    {"Notes", "Comment"},
}};

// The export column captioned `caption`, or -1.
constexpr int exportColumnOf(std::string_view caption)
{
    for (std::size_t i = 0; i < kExportColumnCount; ++i) {
        if (caption == kExportColumns[i].caption)
            return int(i);
    }
    return -1;
}

} // namespace notes
