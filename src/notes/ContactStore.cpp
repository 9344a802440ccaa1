// The contact store (see ContactStore.h).
#include "ContactStore.h"

namespace notes {

bool ContactStore::put(const std::string &key, const ContactRecord &record)
{
    std::string encoded = record.encode();
    encoded.shrink_to_fit();
    const auto [at, added] = m_records.try_emplace(key, std::move(encoded));
    if (!added)
        at->second = std::move(encoded); // try_emplace left it alone
    return added;
}

std::optional<ContactRecord> ContactStore::find(std::string_view key) const
{
    const auto at = m_records.find(key);
    if (at == m_records.end())
        return std::nullopt;
    return ContactRecord::decode(at->second);
}

bool ContactStore::contains(std::string_view key) const
{
    return m_records.find(key) != m_records.end();
}

} // namespace notes
