// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard 3.0 card of a Person document: every one of the contact's 42 items in the property
// that mail programs read it from (the help's vCard page lists them), every value of a
// multi-valued item kept. Qt-free.
#pragma once

#include "export/format/ContactFormat.h"
#include "notes/FieldSchema.h"
#include "notes/ItemValue.h"

#include <array>
#include <string>
#include <vector>

namespace formats {

class VCardContactFormat final : public ContactFormat {
public:
    std::string heading() const override { return {}; }
    void format(notes::NotesDocument &document, FormattedContact &out) override;

private:
    // The document's items, read all before anything is written, and their non-empty values as
    // text; reused from card to card, so that a long export does not allocate for every card.
    std::array<notes::ItemValues, notes::kFieldCount> m_items;
    std::array<std::vector<std::string>, notes::kFieldCount> m_texts;
    std::string m_line;
};

} // namespace formats
