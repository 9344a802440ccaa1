// SPDX-License-Identifier: GPL-3.0-or-later
// The scanned contacts, keyed by contact key (UniversalID "-" NoteID). The main window owns one;
// its tree shows the names and carries only the keys. Each contact is one allocation: its key,
// a NUL, then its record's one-text form (UTF-8); the index points into that text for the key.
// So a book of a million contacts costs about what its values weigh, and a rescan replaces a
// contact in place.
#pragma once

#include "notes/ContactRecord.h"

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
    // Key views into the mapped text, which never moves while it is in the map.
    std::unordered_map<std::string_view, std::string, KeyHash> m_records;
};

} // namespace notes
