// SPDX-License-Identifier: GPL-3.0-or-later
// The test writer of database files (see NsfWriter.h). Offsets are those the database reader
// follows; every block lies at a 4 KiB boundary: the header, the record tables, the summary
// buckets, the bucket descriptor block, the superblock.
#include "NsfWriter.h"

#include "notes/ItemsWalk.h"
#include "notes/dxl/DxlClient.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>

namespace testnsf {

namespace {

using Bytes = std::vector<std::uint8_t>;
using notes::ItemValue;
// A document as the DXL client lists it: its UNID of 32 hexadecimal digits, its items (read with
// the time zone set to UTC).
using Document = notes::ListedDocument;

constexpr std::uint32_t kOds = 52;
constexpr std::size_t kHeader = 1024;
constexpr std::size_t kBlock = 4096;
constexpr std::size_t kTableSize = 4096;
constexpr std::size_t kTableEntries = (kTableSize - 32) / 8;
constexpr std::size_t kBucketSize = 0x10000;
constexpr std::size_t kBucketHeader = 66;
constexpr std::size_t kBucketFooter = 64; // the nibbles of 128 sectors
constexpr std::size_t kSummaryPage = 8206;
constexpr std::size_t kMaxBuckets = (kSummaryPage - 224) / 14;
constexpr std::uint32_t kFirstNoteId = 0x8F6;
constexpr std::uint8_t kStamp = 0xA;
// When a block was written: its footer repeats it.
constexpr std::uint8_t kWritten[8] = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x7E};

void put(Bytes &b, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        b[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}
// Fields as triples: offset, value, size in bytes.
void put(Bytes &b, std::initializer_list<std::uint64_t> fields)
{
    for (auto f = fields.begin(); f + 2 < fields.end(); f += 3)
        put(b, std::size_t(f[0]), f[1], int(f[2]));
}
// Fields as pairs: value, size in bytes.
void append(Bytes &b, std::initializer_list<std::uint64_t> fields)
{
    for (auto f = fields.begin(); f + 1 < fields.end(); f += 2) {
        b.resize(b.size() + std::size_t(f[1]));
        put(b, b.size() - std::size_t(f[1]), f[0], int(f[1]));
    }
}
void append(Bytes &b, const Bytes &more)
{
    b.insert(b.end(), more.begin(), more.end());
}
std::uint32_t unit(std::size_t position)
{
    return std::uint32_t(position / 256);
}

// LMBCS: ASCII as it is (a line break as NUL), every other UTF-16 unit in group 0x14, high byte
// first (a zero low byte is written as F6 and the high byte).
Bytes lmbcs(const std::string &utf8, bool lineBreakAsNul)
{
    Bytes out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = std::uint8_t(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = cp << 6 | (std::uint8_t(utf8[i + std::size_t(k)]) & 0x3F);
        i += std::size_t(extra) + 1;
        if (cp == '\n' && lineBreakAsNul) {
            out.push_back(0);
        } else if (cp >= 0x20 && cp < 0x80) {
            out.push_back(std::uint8_t(cp));
        } else {
            const std::u16string units =
                cp < 0x10000 ? std::u16string{char16_t(cp)}
                             : std::u16string{char16_t(0xD800 + ((cp - 0x10000) >> 10)),
                                              char16_t(0xDC00 + (cp & 0x3FF))};
            for (const char16_t u : units) {
                const bool zeroLow = (u & 0xFF) == 0;
                out.insert(out.end(), {0x14, std::uint8_t(zeroLow ? 0xF6 : u >> 8),
                                       std::uint8_t(zeroLow ? u >> 8 : u & 0xFF)});
            }
        }
    }
    return out;
}

// CX: the mode, each byte as a literal, then a reference of length 258, which ends the stream.
Bytes cx(const Bytes &data)
{
    Bytes stream;
    std::size_t bit = 0;
    const auto bits = [&](unsigned value, int count) {
        for (int i = 0; i < count; ++i, ++bit) {
            if (bit % 8 == 0)
                stream.push_back(0);
            stream.back() |= std::uint8_t(((value >> i) & 1u) << (bit % 8));
        }
    };
    bits(4, 3);
    for (const std::uint8_t b : data)
        bits(std::uint32_t(b) << 1, 9);
    // The end: a reference (1) with a run-coded length (0): seven zeros and a one give a width
    // of 8, whose bits add 1 to 255, and 256 + 2 is a length no reference has.
    bits(1, 1);
    bits(0, 8);
    bits(1, 1);
    bits(1, 8);
    Bytes out;
    append(out, {stream.size(), 4});
    append(out, stream);
    return out;
}

// A date-time taken as UTC, written with zone 0.
void appendTimeDate(Bytes &b, const notes::DateTime &dt)
{
    const auto days = std::chrono::sys_days(std::chrono::year(dt.year) / dt.month / dt.day);
    const std::uint32_t time =
        dt.hasTime ? std::uint32_t((dt.hour * 3600 + dt.minute * 60 + dt.second) * 100)
                   : 0xFFFFFFFF;
    const std::uint32_t day =
        dt.hasDate ? std::uint32_t(days.time_since_epoch().count() + 2440588) : 0xFFFFFF;
    append(b, {time, 4, day, 4});
}

// An item's value with its type word: numbers and date-times as such, anything else as text
// (a date the DXL client could not read is its text).
Bytes encodeValue(const notes::ItemInfo &item)
{
    const auto &values = item.values;
    const auto all = [&](ItemValue::Kind kind) {
        return !values.empty() && std::all_of(values.begin(), values.end(),
                                              [&](const ItemValue &v) { return v.kind == kind; });
    };
    const bool list = item.type.ends_with("list");
    Bytes out;
    if (all(ItemValue::Kind::Number) || all(ItemValue::Kind::DateTime)) {
        const bool numbers = values[0].kind == ItemValue::Kind::Number;
        append(out, {std::uint64_t(numbers ? 0x0300 : 0x0400) | (list ? 1 : 0), 2});
        if (list)
            append(out, {values.size(), 2, 0, 2}); // the count, no pairs
        for (const ItemValue &v : values)
            numbers ? append(out, {std::bit_cast<std::uint64_t>(v.number), 8})
                    : appendTimeDate(out, v.dateTime);
        return out;
    }
    if (!list && values.size() <= 1) {
        append(out, {0x0500, 2});
        append(out, lmbcs(values.empty() ? std::string() : notes::defaultText(values[0]), true));
        return out;
    }
    append(out, {0x0501, 2, values.size(), 2});
    Bytes texts;
    for (const ItemValue &v : values) {
        const Bytes text = lmbcs(notes::defaultText(v), true);
        append(out, {text.size(), 2});
        append(texts, text);
    }
    append(out, texts);
    return out;
}

struct Names {
    std::vector<std::string> spellings;
    std::map<std::string, std::uint16_t> ids;
    std::uint16_t id(const std::string &name)
    {
        const auto [at, added] = ids.emplace(name, std::uint16_t(spellings.size()));
        if (added)
            spellings.push_back(name);
        return at->second;
    }
};

Bytes noteRecord(const Document &doc, std::uint32_t id, Names &names)
{
    Bytes note(100, 0);
    put(note, {0, 0x0004, 2, 6, id, 4, 40, 0x0001, 2, 50, doc.items.size(), 2});
    // The UNID's four words: the file half (date word first as shown), then the note half.
    static const int kOidWord[4] = {1, 0, 3, 2};
    const std::string unid =
        doc.universalId.size() == 32 ? doc.universalId : "0" + std::string(31, 'F');
    for (int i = 0; i < 4; ++i)
        put(note, 10 + 4 * std::size_t(kOidWord[i]),
            std::stoul(unid.substr(8 * std::size_t(i), 8), nullptr, 16), 4);
    Bytes values;
    for (const notes::ItemInfo &item : doc.items) {
        const Bytes value = encodeValue(item);
        if (value.size() > 0xFFFF)
            throw notes::NotesError("the item " + item.name + " is too large for the writer");
        // The name, a summary item, the size and a word left 0.
        append(note, {names.id(item.name), 2, 0x0004, 2, value.size(), 4});
        append(values, value);
    }
    append(note, values);
    put(note, 2, note.size(), 4);
    return note;
}

struct Bucket {
    Bytes bytes = Bytes(kBucketSize, 0);
    std::size_t used = kBucketHeader;
    std::uint16_t slots = 0;
    bool add(const Bytes &note)
    {
        if (used + note.size() + 4u * (slots + 1u) > kBucketSize - kBucketFooter)
            return false;
        ++slots;
        const std::size_t entry = kBucketSize - kBucketFooter - 4u * slots;
        put(bytes, {entry, used, 2, entry + 2, note.size(), 2});
        std::copy(note.begin(), note.end(), bytes.begin() + std::ptrdiff_t(used));
        used += note.size();
        return true;
    }
    // The header, then the write stamp in each sector, the replaced nibbles kept in the footer
    // (the first sector's in the highest nibble).
    void close(std::uint32_t number)
    {
        put(bytes, {0, 0x4202, 2, 2, number - 1, 4, 6, kBucketSize, 4, 44, slots, 2, 50,
                    kBucketFooter, 2});
        const std::size_t sectors = kBucketSize / 512;
        std::uint8_t *saved = &bytes[kBucketSize - (sectors + 1) / 2];
        for (std::size_t k = 0; k < sectors; ++k) {
            std::uint8_t &b = bytes[k * 512 + 0x42];
            const std::size_t nibble = sectors - 1 - k;
            saved[nibble / 2] |= std::uint8_t((b & 0xF) << (nibble % 2 ? 4 : 0));
            b = std::uint8_t((b & 0xF0) | kStamp);
        }
    }
};

// A block with its header, a CX body and the footer that repeats the header's write time.
Bytes block(Bytes header, std::size_t timeAt, std::size_t storedAt, const Bytes &body)
{
    const Bytes compressed = cx(body);
    std::copy(std::begin(kWritten), std::end(kWritten), header.begin() + std::ptrdiff_t(timeAt));
    put(header, storedAt, header.size() + compressed.size() + 12, 4);
    append(header, compressed);
    header.insert(header.end(), std::begin(kWritten), std::end(kWritten));
    append(header, {0, 4});
    return header;
}

void placeAt(Bytes &file, std::size_t position, const Bytes &bytes)
{
    file.resize(std::max(file.size(), position + bytes.size()));
    std::copy(bytes.begin(), bytes.end(), file.begin() + std::ptrdiff_t(position));
}

std::size_t rounded(std::size_t size)
{
    return (size + kBlock - 1) / kBlock * kBlock;
}

Bytes databaseBytes(const std::vector<Document> &documents, const std::string &title)
{
    Names names;
    std::vector<Bucket> buckets(1);
    std::vector<std::pair<std::uint32_t, std::uint16_t>> places; // bucket, slot of each note
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const Bytes note = noteRecord(documents[i], kFirstNoteId + 4 * std::uint32_t(i), names);
        if (!buckets.back().add(note)) {
            buckets.emplace_back();
            if (!buckets.back().add(note))
                throw notes::NotesError("a document is larger than a summary bucket");
        }
        places.emplace_back(std::uint32_t(buckets.size()), buckets.back().slots);
    }
    if (buckets.size() > kMaxBuckets)
        throw notes::NotesError("the documents need more summary buckets than one page lists");
    const std::size_t tables =
        std::max<std::size_t>(1, (places.size() + kTableEntries - 1) / kTableEntries);

    const std::size_t firstTable = kBlock;
    const std::size_t firstBucket = firstTable + tables * kTableSize;
    std::size_t position = firstBucket + buckets.size() * kBucketSize;
    Bytes file(kHeader, 0);

    // Record tables, each linked to the one before; the current (last) one goes live into the
    // superblock, and its copy on disk stays as Notes leaves it: every entry unused.
    Bytes table;
    Bytes tableList;
    for (std::size_t t = 0; t < tables; ++t) {
        const std::size_t at = firstTable + t * kTableSize;
        const auto firstId = std::uint32_t(kFirstNoteId + 4 * kTableEntries * t);
        table.assign(kTableSize, 0xFF);
        std::fill(table.begin(), table.begin() + 32, 0);
        put(table, {0, 0x2006, 2, 2, t ? unit(at - kTableSize) : 0, 4, 6, firstId, 4});
        placeAt(file, at, table); // as the current table stays on disk
        for (std::size_t i = 0; i < kTableEntries && t * kTableEntries + i < places.size(); ++i)
            put(table, {32 + 8 * i, 0x80000000u | places[t * kTableEntries + i].first, 4,
                        36 + 8 * i, places[t * kTableEntries + i].second, 4});
        if (t + 1 < tables)
            placeAt(file, at, table);
        append(tableList, {unit(at), 4, firstId, 4});
    }
    for (std::size_t k = 0; k < buckets.size(); ++k) {
        buckets[k].close(std::uint32_t(k + 1));
        placeAt(file, firstBucket + k * kBucketSize, buckets[k].bytes);
    }

    // The bucket descriptor block: the record tables, then the item names and their text.
    Bytes text;
    Bytes body = tableList;
    for (const std::string &name : names.spellings) {
        const Bytes spelling = lmbcs(name, false);
        append(body, {text.size(), 4, spelling.size(), 2, 0, 4});
        append(text, spelling);
    }
    append(body, {text.size(), 4});
    append(body, text);
    // Signature, version 2, CX, size, write count 1, names, their text, record tables.
    Bytes head(66, 0);
    put(head, {0, 0x0001, 2, 2, 2, 2, 4, 1, 2, 6, body.size(), 4, 10, 1, 4});
    put(head, {26, names.spellings.size(), 4, 34, text.size(), 4, 38, tables, 4});
    const Bytes descriptors = block(head, 18, 14, body);
    const std::size_t descriptorsAt = position;
    placeAt(file, position, descriptors);
    position = rounded(position + descriptors.size());

    // The superblock: the page that lists the summary buckets, then the live record table.
    body.assign(kSummaryPage, 0);
    for (std::size_t k = 0; k < buckets.size(); ++k)
        put(body, 224 + 14 * k, unit(firstBucket + k * kBucketSize), 4);
    append(body, table); // the last
    // Signature, size, buckets, the live table's size and place, write count 1, CX, one page.
    head.assign(100, 0);
    put(head, {0, 0x000E, 2, 10, body.size(), 4, 14, buckets.size(), 4, 26, kTableSize, 4});
    put(head, {30, unit(firstTable + (tables - 1) * kTableSize), 4, 60, 1, 4, 68, 1, 2, 70, 1, 4});
    const Bytes superblock = block(head, 2, 64, body);
    placeAt(file, position, superblock);

    // The header: signature, size, DBINFO (version, record table size), title, DBINFO2
    // (superblock slot, summary bucket sizes, descriptor block).
    put(file, {0, 0x001A, 2, 2, kHeader, 4, 6, kOds, 4, 6 + 70, kTableSize, 2});
    put(file, {520 + 40, unit(position), 4, 520 + 44, rounded(superblock.size()), 4});
    put(file, {520 + 80, 8192, 4, 520 + 88, kBucketSize, 4});
    put(file, {520 + 104, rounded(descriptors.size()), 4, 520 + 108, unit(descriptorsAt), 4});
    const Bytes titleText = lmbcs(title, false);
    if (titleText.size() >= 128)
        throw notes::NotesError("the title is too long for the writer");
    std::copy(titleText.begin(), titleText.end(), file.begin() + 200);
    file.resize(rounded(file.size()), 0);
    return file;
}

// The process's time zone set to UTC for as long as it lives, then the one before (or none).
struct UtcZone {
    std::optional<std::string> before;
    UtcZone()
    {
        if (const char *zone = std::getenv("TZ"))
            before = zone;
        set("UTC");
    }
    ~UtcZone() { set(before ? before->c_str() : nullptr); }
    static void set(const char *zone)
    {
#ifdef _WIN32
        _putenv(("TZ=" + std::string(zone ? zone : "")).c_str()); // "TZ=" removes it
        _tzset();
#else
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
#endif
    }
};

// Every document of a DXL export, as the DXL client reads it.
std::vector<Document> documentsOfDxl(const std::string &path)
{
    const UtcZone utc; // the DXL client's local time is then UTC, as the writer stores it
    struct Collect final : notes::ItemsSink {
        std::vector<Document> documents;
        void started(std::int64_t) override {}
        void document(const notes::ListedDocument &d) override { documents.push_back(d); }
        void progress(std::int64_t) override {}
    } sink;
    const notes::WalkOutcome outcome =
        notes::runItems(notes::dxl::DxlClient::factory(), path, sink);
    if (outcome.kind != notes::WalkOutcome::Kind::Completed)
        throw notes::NotesError(path + " was not read whole: " + outcome.reason +
                                outcome.skipReason);
    return std::move(sink.documents);
}

} // namespace

void writeDatabaseOfDxl(const std::string &dxlPath, const std::string &nsfPath)
{
    const Bytes bytes = databaseBytes(documentsOfDxl(dxlPath), "Test book");
    std::ofstream out(nsfPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw notes::NotesError(nsfPath + " could not be written");
}

} // namespace testnsf
