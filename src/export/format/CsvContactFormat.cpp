// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV lines of the export (see CsvContactFormat.h).
#include "export/format/CsvContactFormat.h"

#include "export/format/CsvFormat.h"
#include "notes/FieldSchema.h"
#include "notes/NotesNames.h"

#include <string_view>

namespace formats {

CsvContactFormat::CsvContactFormat(std::vector<std::size_t> positions)
    : m_positions(std::move(positions))
{
    m_values.reserve(m_positions.size());
}

std::string CsvContactFormat::heading() const
{
    std::vector<std::string> captions;
    captions.reserve(m_positions.size());
    for (const std::size_t position : m_positions)
        captions.emplace_back(notes::kExportColumns[position].caption);
    return csvLine(captions);
}

void CsvContactFormat::format(notes::NotesDocument &document, FormattedContact &out)
{
    m_values.clear();
    for (const std::size_t position : m_positions) {
        const std::string_view item = notes::kExportColumns[position].item;
        if (item == "MailAddress")
            m_values.push_back(notes::contactAddresses(document.GetItemValue("MailAddress"),
                                                       document.GetItemValue("InternetAddress"))
                                   .primary());
        else if (item == "FullName")
            m_values.push_back(
                notes::commonName(notes::firstText(document.GetItemValue("FullName"))));
        else
            m_values.push_back(notes::firstText(document.GetItemValue(std::string(item))));
    }
    out.text.clear();
    appendCsvLine(out.text, m_values);
}

} // namespace formats
