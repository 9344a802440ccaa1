// SPDX-License-Identifier: GPL-3.0-or-later
// The contact store (see ContactStore.h).
#include "notes/ContactStore.h"

namespace notes {

bool ContactStore::put(const std::string &key, const ContactRecord &record)
{
    std::string text = key;
    text += '\0';
    text += record.encode();
    text.shrink_to_fit();
    const bool added = m_records.erase(key) == 0;
    // The node's key views the text it holds: moving a string keeps its buffer, but a short one
    // lives inside the string itself, so the view is taken from the text once it is in place.
    const auto at = m_records.emplace(std::string_view(), std::move(text)).first;
    auto node = m_records.extract(at);
    node.key() = std::string_view(node.mapped().data(), key.size());
    m_records.insert(std::move(node));
    return added;
}

std::optional<ContactRecord> ContactStore::find(std::string_view key) const
{
    const auto at = m_records.find(key);
    if (at == m_records.end())
        return std::nullopt;
    return ContactRecord::decode(std::string_view(at->second).substr(key.size() + 1));
}

bool ContactStore::contains(std::string_view key) const
{
    return m_records.find(key) != m_records.end();
}

} // namespace notes
