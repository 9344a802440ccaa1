// SPDX-License-Identifier: GPL-3.0-or-later
// The Outlook Express CSV as a ContactFormat: a heading of the ticked columns' captions, then one
// line per document holding the first value of each ticked column's item. Two columns read more
// than their item: "E-mail Address" holds the contact's Internet address (MailAddress's when it is
// one, else InternetAddress's; text without "@" in MailAddress as it stands; never a Notes routing
// address), and "Name" the common name of a canonical Notes name. Qt-free.
#pragma once

#include "export/format/ContactFormat.h"

#include <cstddef>
#include <vector>

namespace formats {

class CsvContactFormat final : public ContactFormat {
public:
    // `positions`: indexes into notes::kExportColumns, increasing, not empty.
    explicit CsvContactFormat(std::vector<std::size_t> positions);

    std::string heading() const override;
    void format(notes::NotesDocument &document, FormattedContact &out) override;

private:
    std::vector<std::size_t> m_positions;
    std::vector<std::string> m_values; // reused from document to document
};

} // namespace formats
