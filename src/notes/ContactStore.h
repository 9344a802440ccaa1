// The scanned contacts, keyed by contact key (UniversalID "-" NoteID). The main window owns one;
// its tree shows the names and carries only the keys. Each contact is kept as its record's
// one-text form (UTF-8, one allocation per contact), so a book of a million contacts costs
// about what its values weigh, and a rescan replaces a contact in place.
#pragma once

#include "ContactRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace notes {

class ContactStore final {
public:
    // Adds the contact, or replaces the one with the same key. True when the key was new.
    bool put(const std::string &key, const ContactRecord &record);

    std::optional<ContactRecord> find(std::string_view key) const;
    bool contains(std::string_view key) const;
    std::size_t size() const { return m_records.size(); }

private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const noexcept
        {
            return std::hash<std::string_view>{}(key);
        }
    };
    std::unordered_map<std::string, std::string, KeyHash, std::equal_to<>> m_records;
};

} // namespace notes
