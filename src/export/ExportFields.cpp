// The fixed field list of the export (see ExportFields.h).
#include "ExportFields.h"

namespace exportcore {

const std::array<ExportField, kExportFieldCount> kExportFields = {{
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

} // namespace exportcore
