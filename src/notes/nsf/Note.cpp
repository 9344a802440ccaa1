// SPDX-License-Identifier: GPL-3.0-or-later
// Note records (see Note.h and NoteRecord.h). The record: a 100-byte header, the item table
// (8 bytes an item: name id, flags, value size, one word not read), then the values of the
// summary items back to back in table order. A deletion stub is a shorter record with flag
// 0x0001 and no items.
#include "notes/nsf/NoteRecord.h"

#include "notes/Ascii.h"
#include "notes/NotesError.h"
#include "notes/nsf/Lmbcs.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace notes::nsf {

namespace {

constexpr std::uint16_t kNoteSignature = 0x0004;
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kStubSize = 64;
constexpr std::uint16_t kDeletedFlag = 0x0001;
constexpr std::size_t kItemEntry = 8;

std::string idText(std::uint32_t id)
{
    char buf[12];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(id));
    return buf;
}

// Text values hold a NUL where the text breaks a line.
std::string text(Bytes bytes)
{
    std::string s = lmbcsToUtf8(bytes);
    std::replace(s.begin(), s.end(), '\0', '\n');
    return s;
}

double number(const ByteView &v, std::size_t offset)
{
    return std::bit_cast<double>(v.u64(offset));
}

TimeDate timeDate(const ByteView &v, std::size_t offset)
{
    return {v.u32(offset), v.u32(offset + 4)};
}

void needExactly(const ByteView &v, std::size_t size, const std::string &item)
{
    if (v.size() != size)
        damaged("the value of its item " + item + " takes " + std::to_string(v.size()) +
                " bytes where its type needs " + std::to_string(size));
}

Value decode(std::uint16_t type, const ByteView &v, const std::string &item)
{
    Value out;
    switch (type) {
    case kTypeText:
        out.kind = Value::Kind::Text;
        out.texts.push_back(text(v.bytes()));
        break;
    case kTypeTextList: {
        out.kind = Value::Kind::TextList;
        const std::size_t n = v.u16(0);
        std::size_t at = 2 + 2 * n;
        v.need(2, 2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t length = v.u16(2 + 2 * i);
            out.texts.push_back(text(v.sub(at, length, "a text list").bytes()));
            at += length;
        }
        needExactly(v, at, item);
        break;
    }
    case kTypeNumber:
        out.kind = Value::Kind::Number;
        needExactly(v, 8, item);
        out.numbers.push_back(number(v, 0));
        break;
    case kTypeTime:
        out.kind = Value::Kind::Time;
        needExactly(v, 8, item);
        out.times.push_back(timeDate(v, 0));
        break;
    case kTypeNumberRange:
    case kTypeTimeRange: {
        const std::size_t singles = v.u16(0);
        const std::size_t pairs = v.u16(2);
        needExactly(v, 4 + 8 * (singles + 2 * pairs), item);
        std::size_t at = 4;
        if (type == kTypeNumberRange) {
            out.kind = Value::Kind::NumberRange;
            for (std::size_t i = 0; i < singles; ++i, at += 8)
                out.numbers.push_back(number(v, at));
            for (std::size_t i = 0; i < pairs; ++i, at += 16)
                out.numberPairs.emplace_back(number(v, at), number(v, at + 8));
        } else {
            out.kind = Value::Kind::TimeRange;
            for (std::size_t i = 0; i < singles; ++i, at += 8)
                out.times.push_back(timeDate(v, at));
            for (std::size_t i = 0; i < pairs; ++i, at += 16)
                out.timePairs.emplace_back(timeDate(v, at), timeDate(v, at + 8));
        }
        break;
    }
    default:
        out.kind = Value::Kind::Other;
        out.raw.assign(v.bytes().begin(), v.bytes().end());
        break;
    }
    return out;
}

} // namespace

std::string Note::universalId() const
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X%08X%08X%08X", static_cast<unsigned>(oid[1]),
                  static_cast<unsigned>(oid[0]), static_cast<unsigned>(oid[3]),
                  static_cast<unsigned>(oid[2]));
    return buf;
}

std::string Note::noteIdText() const
{
    return idText(id);
}

const Item *Note::item(std::string_view name) const
{
    for (const Item &i : items)
        if (ascii::equalIgnoringCase(i.name, name))
            return &i;
    return nullptr;
}

Note parseNoteRecord(const ByteView &slot, const NoteRef &ref, const std::vector<ItemName> &names)
{
    if (slot.u16(0) != kNoteSignature)
        damaged("its record does not start with a note's signature");
    const std::uint32_t size = slot.u32(2);
    if (size > slot.size())
        damaged("its record declares " + std::to_string(size) + " bytes but its slot holds " +
                std::to_string(slot.size()));
    const ByteView record = slot.sub(0, size, "its record");
    Note note;
    note.id = record.u32(6);
    if (note.id != ref.id)
        damaged("its slot holds note " + idText(note.id) + " instead");
    note.data = ref.data;
    for (int i = 0; i < 4; ++i)
        note.oid[i] = record.u32(10 + 4 * static_cast<std::size_t>(i));
    note.flags = record.u16(38);
    note.noteClass = record.u16(40);
    if (note.flags & kDeletedFlag) {
        if (size < kStubSize)
            damaged("its deletion stub is " + std::to_string(size) +
                    " bytes long, shorter than one");
        note.deleted = true;
        return note;
    }
    if (size < kHeaderSize)
        damaged("its record is " + std::to_string(size) +
                " bytes long, shorter than a note's header");

    const std::size_t count = record.u16(50);
    record.need(kHeaderSize, count * kItemEntry);
    std::size_t at = kHeaderSize + count * kItemEntry;
    note.items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderSize + i * kItemEntry;
        const std::uint16_t nameId = record.u16(entry);
        if (nameId >= names.size())
            damaged("its item " + std::to_string(i + 1) + " names item name " +
                    std::to_string(nameId) + " of a table of " + std::to_string(names.size()));
        Item item;
        item.name = names[nameId].text;
        item.flags = record.u16(entry + 2);
        item.storedSize = record.u16(entry + 4);
        item.type = names[nameId].type;
        if (item.flags & kItemSummary) {
            if (!record.holds(at, item.storedSize))
                damaged("the value of its item " + item.name + " runs past the end of its record");
            ByteView value = record.sub(at, item.storedSize, "an item's value");
            at += item.storedSize;
            if (!(item.flags & kItemBareValue)) {
                item.type = value.u16(0);
                value = value.from(2, "an item's value");
            }
            item.value = decode(item.type, value, item.name);
        }
        note.items.push_back(std::move(item));
    }
    return note;
}

} // namespace notes::nsf

namespace notes::nsf {

ItemValues itemValues(const Item &item)
{
    const Value &v = item.value;
    ItemValues out;
    switch (v.kind) {
    case Value::Kind::Text:
    case Value::Kind::TextList:
        for (const std::string &t : v.texts)
            out.push_back(ItemValue::fromText(t));
        break;
    case Value::Kind::Number:
    case Value::Kind::NumberRange:
        for (double n : v.numbers)
            out.push_back(ItemValue::fromNumber(n));
        for (const auto &pair : v.numberPairs)
            out.push_back(ItemValue::fromNumber(pair.first));
        break;
    case Value::Kind::Time:
    case Value::Kind::TimeRange:
        for (const TimeDate &t : v.times)
            out.push_back(toItemValue(t));
        for (const auto &pair : v.timePairs)
            out.push_back(toItemValue(pair.first));
        break;
    case Value::Kind::Other:
        throw NotesError("The item " + item.name + " holds a value of type " + hex(item.type) +
                         ", which this reader does not decode.");
    case Value::Kind::NotInSummary:
        throw NotesError("The item " + item.name +
                         " is stored outside the document's summary, which this reader does "
                         "not read yet.");
    }
    if (out.empty())
        out.push_back(ItemValue::fromText({}));
    return out;
}

} // namespace notes::nsf
