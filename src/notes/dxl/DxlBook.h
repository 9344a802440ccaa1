// SPDX-License-Identifier: GPL-3.0-or-later
// DxlBook: an address book read from a DXL (Domino XML) export, kept in compact form for the
// DXL client. Parsing streams the file through expat and keeps the documents: their ids and
// their items' names, types and values, packed into a TextArena. The order of the two views it
// offers is worked out once when the book loads: "$People" (last name, then first name) and
// "Groups" (list name), ignoring case, ties in file order.
#pragma once

#include "notes/ItemValue.h"
#include "notes/NotesObjects.h"
#include "notes/dxl/TextArena.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace notes::dxl {

class DxlBook final {
public:
    // Reads the file at `path` (UTF-8). Throws NotesError naming the file when it is missing,
    // unreadable, empty, binary, not DXL or not well-formed XML (with the line of the fault).
    static std::shared_ptr<const DxlBook> load(const std::string &path);

    const std::string &title() const { return m_title; }

    // Every document, in the file's order: `document` runs from 0 to documentCount() - 1.
    std::size_t documentCount() const { return m_documents.size(); }
    // The Person documents in "$People" view order: the document at `position` (0 to
    // personCount() - 1).
    std::size_t personCount() const { return m_viewOrder.size(); }
    std::size_t person(std::size_t position) const { return m_viewOrder.at(position); }
    // The Group documents in "Groups" view order, likewise.
    std::size_t groupCount() const { return m_groupOrder.size(); }
    std::size_t group(std::size_t position) const { return m_groupOrder.at(position); }

    std::string universalId(std::size_t document) const;
    std::string noteId(std::size_t document) const;
    // Every value of the first item named `itemName` (any case); one empty text when the
    // document has no such item or the item has no value.
    ItemValues itemValue(std::size_t document, std::string_view itemName) const;
    // Every item of the document, with the DXL element of its value as its type ("text",
    // "textlist", "number", "datetimelist", "richtext", ...).
    std::vector<ItemInfo> items(std::size_t document) const;

    DxlBook(const DxlBook &) = delete;
    DxlBook &operator=(const DxlBook &) = delete;

private:
    DxlBook() = default;
    friend class DxlBookBuilder;

    enum class ValueKind : std::uint8_t { Text, Number, DateTime };
    // Which view a document belongs to, if any.
    enum class Form : std::uint8_t { Other, Person, Group };
    struct Value {
        TextArena::Ref text;
        ValueKind kind = ValueKind::Text;
    };
    struct Item {
        std::uint32_t spelling = 0; // index into m_spellings: the name as the file writes it
        std::uint32_t type = 0;     // index into m_spellings: the value's element
        std::uint32_t firstValue = 0;
        std::uint32_t valueCount = 0;
    };
    struct Document {
        TextArena::Ref universalId;
        TextArena::Ref noteId;
        std::uint64_t firstItem = 0;
        std::uint32_t itemCount = 0;
        Form form = Form::Other;
    };

    const Item *findItem(const Document &doc, std::string_view foldedName) const;
    ItemValues valuesOf(const Item &item) const;
    void sortView();

    std::string m_title;
    TextArena m_arena;
    std::vector<Value> m_values;
    std::vector<Item> m_items;
    std::vector<Document> m_documents;
    std::vector<std::uint32_t> m_viewOrder;
    std::vector<std::uint32_t> m_groupOrder;
    // Looked up by string_view, so that finding a name allocates nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const
        {
            return std::hash<std::string_view>{}(s);
        }
    };
    using NameTable = std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>>;
    // Item names as written and value elements, each kept once; for an item name's spelling,
    // the name folded to lower case (an index into m_itemNames), which is what lookups compare.
    std::vector<std::string> m_spellings;
    std::vector<std::uint32_t> m_foldedName;
    NameTable m_spellingIds;
    NameTable m_itemNames;
};

} // namespace notes::dxl
