// SPDX-License-Identifier: GPL-3.0-or-later
// The text the golden files of tests/notes/nsf/ hold: a database's counts, and each document's
// ids, form and (when asked) every item with its type and value as the reader decodes it.
// Dates are written as stored (UTC and zone), so the text is the same in every time zone.
#pragma once

#include "notes/nsf/Database.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace nsfdump {

inline std::string quoted(const std::string &s)
{
    std::string out = "\"";
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (c == '\n')
            out += "\\n";
        else if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else
            out += c;
    }
    return out + "\"";
}

inline std::string number(double n)
{
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, n).ptr);
}

inline std::string value(const notes::nsf::Item &item)
{
    using Kind = notes::nsf::Value::Kind;
    const notes::nsf::Value &v = item.value;
    std::string out;
    const auto list = [&out](const std::string &piece) {
        out += (out.empty() ? "[" : ", ") + piece;
    };
    switch (v.kind) {
    case Kind::Text:
        return quoted(v.texts.at(0));
    case Kind::Number:
        return number(v.numbers.at(0));
    case Kind::Time:
        return describe(v.times.at(0));
    case Kind::TextList:
        for (const auto &t : v.texts)
            list(quoted(t));
        break;
    case Kind::NumberRange:
        for (double n : v.numbers)
            list(number(n));
        break;
    case Kind::TimeRange:
        for (const auto &t : v.times)
            list(describe(t));
        break;
    case Kind::Other: {
        out = "not decoded, " + std::to_string(v.raw.size()) + " bytes:";
        for (std::size_t i = 0; i < v.raw.size() && i < 24; ++i) {
            char buf[4];
            std::snprintf(buf, sizeof buf, " %02X", v.raw[i]);
            out += buf;
        }
        return out + (v.raw.size() > 24 ? " ..." : "");
    }
    case Kind::NotInSummary:
        return "not in the summary, " + std::to_string(item.storedSize) + " bytes";
    }
    return out.empty() ? "[]" : out + "]";
}

// `items`: list every item of every document.
inline std::string dump(const notes::nsf::Database &db, bool items)
{
    std::string body;
    std::size_t documents = 0, otherData = 0, design = 0, stubs = 0, unreadable = 0;
    char buf[96];
    for (const notes::nsf::NoteRef &ref : db.notes()) {
        notes::nsf::Note note;
        try {
            note = db.read(ref);
        } catch (const notes::nsf::UnreadableNote &e) {
            ++unreadable;
            body += "unreadable: " + std::string(e.what()) + "\n";
            continue;
        }
        if (note.deleted) {
            ++stubs;
            continue;
        }
        if (!note.isDocument()) {
            ++(note.data ? otherData : design);
            continue;
        }
        ++documents;
        const notes::nsf::Item *form = note.item("form");
        body += "document " + note.noteIdText() + " " + note.universalId() + " form " +
                (form ? nsfdump::value(*form) : "(none)") + "\n";
        for (const notes::nsf::Item &item : items ? note.items : std::vector<notes::nsf::Item>{}) {
            std::snprintf(buf, sizeof buf, " [type 0x%04X, flags 0x%04X]: ", item.type, item.flags);
            body += "  " + item.name + buf + nsfdump::value(item) + "\n";
        }
    }
    const auto &l = db.layout();
    std::string head = "file " + db.name() + "\nods " + std::to_string(db.ods()) + ", header " +
                       std::to_string(db.headerSize()) + " bytes\ntitle " +
                       quoted(db.titleBuffer()) + "\n";
    std::snprintf(buf, sizeof buf, "superblock write %u, descriptor block write %u\n",
                  unsigned(l.superblockWriteCount), unsigned(l.bucketDescriptorWriteCount));
    head += buf;
    std::snprintf(buf, sizeof buf, "summary buckets %u, record tables %u, item names %u\n",
                  unsigned(l.summaryBuckets), unsigned(l.recordTables), unsigned(l.itemNames));
    head += buf;
    head += "notes " + std::to_string(db.notes().size() - stubs) + ": documents " +
            std::to_string(documents) + ", other data notes " + std::to_string(otherData) +
            ", design notes " + std::to_string(design) + ", unreadable " +
            std::to_string(unreadable) + "; deletion stubs " + std::to_string(stubs) +
            "; objects " + std::to_string(db.objectCount()) + "\n";
    return head + body;
}

} // namespace nsfdump
