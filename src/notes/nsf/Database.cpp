// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a Notes database file (see Database.h for the path through the file and what is
// refused). Sizes and positions: a position field counts units of 256 bytes; every block is
// checked against the file's size before it is read and every field against its block.
#include "notes/nsf/Database.h"

#include "notes/nsf/Bytes.h"
#include "notes/nsf/Cx.h"
#include "notes/nsf/Lmbcs.h"
#include "notes/nsf/NoteRecord.h"
#include "notes/nsf/Source.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <set>

namespace notes::nsf {

std::string hex(std::uint64_t value)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(value));
    return buf;
}

namespace {

constexpr std::uint16_t kFileSignature = 0x001A;
constexpr std::uint16_t kSuperblockSignature = 0x000E;
constexpr std::uint16_t kDescriptorBlockSignature = 0x0001;
constexpr std::uint16_t kRecordTableSignature = 0x2006;
constexpr std::uint16_t kBucketSignature = 0x4202;
constexpr std::uint16_t kObjectSignature = 0x001B;

constexpr std::size_t kDbInfo = 6;
constexpr std::size_t kDbInfo2 = 520;
constexpr std::size_t kTitle = 200;
constexpr std::size_t kTitleSize = 128;
constexpr std::size_t kSmallHeader = 1024;
constexpr std::size_t kLargeHeader = 2048;
// The versions of the on-disk structure the reader has been checked against; 53 and later
// have the 2048-byte header.
constexpr unsigned kKnownOds[] = {41, 43, 48, 51, 52, 53, 55};
constexpr unsigned kFirstLargeHeaderOds = 53;

constexpr std::uint64_t kUnit = 256;
constexpr std::size_t kSuperblockSlots = 4;
constexpr std::size_t kSuperblockHeader = 100;
constexpr std::size_t kFooter = 12; // a TIMEDATE repeating the header's, and 4 bytes
constexpr std::size_t kSummaryPage = 8206;
constexpr std::size_t kNonSummaryPage = 8198;
constexpr std::size_t kBitmapHeader = 20;
constexpr std::size_t kFirstDescriptor = 224;
constexpr std::size_t kDescriptorSize = 14;
constexpr std::size_t kDescriptorsPerPage = (kSummaryPage - kFirstDescriptor) / kDescriptorSize;
constexpr std::size_t kDescriptorBlockHeader = 66;
constexpr std::size_t kRecordTableHeader = 32;
constexpr std::size_t kRecordEntry = 8;
constexpr std::size_t kBucketHeader = 66;
constexpr std::size_t kSector = 512;
constexpr std::size_t kStampOffset = 0x42;
constexpr std::uint16_t kCx = 1;
// Bounds on what one structure may make the reader hold: far above what the databases seen
// need, far below what a forged size could ask for.
constexpr std::uint32_t kMaxStructure = 16u << 20;
constexpr std::uint32_t kMaxBucket = 0x10000; // slots are addressed by 16-bit offsets
constexpr std::size_t kBucketCache = 8;

const char *const kAdviceDamaged =
    "The file is damaged or is not a whole Notes database: open it in Notes, or export the "
    "address book to DXL and open the export.";
const char *const kAdviceUnsupported =
    "Export the address book to DXL in Notes and open the export instead.";
const char *const kAdviceEncrypted =
    "This is how a database encrypted with a Notes ID (local encryption) looks: open it in "
    "Notes with that ID and export the address book to DXL, or remove the encryption.";

std::string sentence(const std::string &name, const FormatError &e)
{
    const char *advice = e.fault() == Fault::Unsupported ? kAdviceUnsupported
                         : e.fault() == Fault::Encrypted ? kAdviceEncrypted
                                                         : kAdviceDamaged;
    return name + " cannot be read: " + e.what() + ". " + advice;
}

struct Superblock {
    std::uint32_t writeCount = 0;
    std::vector<std::uint8_t> body;
    std::uint32_t summaryBuckets = 0;
    std::uint32_t recordTableSize = 0;     // 0: no data record table in the body
    std::uint32_t recordTablePosition = 0; // in 256-byte units
    std::size_t recordTableOffset = 0;
};

struct DescriptorBlock {
    std::uint32_t writeCount = 0;
    std::vector<std::uint8_t> body;
    std::uint32_t itemNames = 0;
    std::uint32_t textSize = 0;
    std::uint32_t recordTables = 0;
};

struct CachedBucket {
    std::uint32_t number = 0;
    std::uint64_t lastUse = 0;
    std::vector<std::uint8_t> bytes; // restored
    std::uint32_t footer = 0;
    std::uint32_t slots = 0;
};

} // namespace

struct Database::State {
    std::unique_ptr<Source> source;
    std::string name;
    unsigned ods = 0;
    std::uint32_t headerSize = 0;
    std::string titleBuffer;
    std::uint32_t recordTableSize = 0;
    std::uint32_t minBucket = 0;
    std::uint32_t maxBucket = 0;
    Superblock superblock;
    std::vector<ItemName> names;
    std::vector<NoteRef> notes;
    std::size_t objects = 0;
    Layout layout;
    mutable std::vector<CachedBucket> cache;
    mutable std::uint64_t uses = 0;

    std::uint64_t fileSize() const { return source->size(); }

    std::vector<std::uint8_t> read(std::uint64_t position, std::uint64_t length,
                                   const std::string &what) const
    {
        if (position > fileSize() || length > fileSize() - position)
            damaged(what + " at byte " + hex(position) +
                    " runs past the end of the file, which "
                    "ends at byte " +
                    hex(fileSize()));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
        source->read(position, bytes);
        return bytes;
    }

    void readHeader();
    std::optional<Superblock> readSuperblock(std::uint64_t position, std::uint32_t slotSize) const;
    void chooseSuperblock();
    std::optional<DescriptorBlock> readDescriptorBlock(std::uint64_t position,
                                                       std::uint32_t size) const;
    DescriptorBlock chooseDescriptorBlock() const;
    void readNames(const DescriptorBlock &block);
    void readRecordTables(const DescriptorBlock &block);
    void readRecordTable(ByteView table, std::uint64_t position, std::uint32_t firstId, bool data);
    const CachedBucket &bucket(std::uint32_t number) const;
};

void Database::State::readHeader()
{
    const auto head = read(0, std::min<std::uint64_t>(fileSize(), kLargeHeader), "the header");
    const ByteView h(head, "the file header");
    if (h.size() < 2 || h.u16(0) != kFileSignature)
        throw NotesError(name + " is not a Notes database (.nsf): it does not start with the "
                                "signature of one.");
    if (h.size() < kSmallHeader)
        damaged("the file is " + std::to_string(h.size()) + " bytes long, shorter than the " +
                std::to_string(kSmallHeader) + "-byte header of a database");
    ods = h.u32(kDbInfo);
    if (std::find(std::begin(kKnownOds), std::end(kKnownOds), ods) == std::end(kKnownOds))
        unsupported("it uses version " + std::to_string(ods) +
                    " of the on-disk structure, and this reader knows versions 41, 43, 48, "
                    "51, 52, 53 and 55");
    headerSize = h.u32(2);
    const std::uint32_t expected = ods >= kFirstLargeHeaderOds ? kLargeHeader : kSmallHeader;
    if (headerSize != expected)
        damaged("its header declares " + std::to_string(headerSize) +
                " bytes where a database of version " + std::to_string(ods) + " has " +
                std::to_string(expected));
    h.need(0, headerSize);

    const Bytes title = h.sub(kTitle, kTitleSize, "the title").bytes();
    const auto end = std::find(title.begin(), title.end(), 0);
    titleBuffer = lmbcsToUtf8(title.first(static_cast<std::size_t>(end - title.begin())));

    recordTableSize = h.u16(kDbInfo + 70);
    if (recordTableSize <= kRecordTableHeader ||
        (recordTableSize - kRecordTableHeader) % kRecordEntry != 0)
        damaged("its header gives record tables a size of " + std::to_string(recordTableSize) +
                " bytes");
    minBucket = h.u32(kDbInfo2 + 80);
    maxBucket = h.u32(kDbInfo2 + 88);
    if (minBucket < kSector || minBucket > maxBucket || maxBucket > kMaxBucket)
        damaged("its header gives summary buckets sizes from " + std::to_string(minBucket) +
                " to " + std::to_string(maxBucket) + " bytes");
}

std::optional<Superblock> Database::State::readSuperblock(std::uint64_t position,
                                                          std::uint32_t slotSize) const
{
    const auto head = read(position, kSuperblockHeader, "the superblock");
    const ByteView h(head, "the superblock");
    if (h.u16(0) != kSuperblockSignature)
        return std::nullopt; // a slot Notes has not written yet
    if (slotSize < kSuperblockHeader + kFooter || slotSize > kMaxStructure)
        damaged("its superblock slot has a size of " + std::to_string(slotSize) + " bytes");
    const std::uint32_t stored = h.u32(64);
    if (stored < kSuperblockHeader + kFooter || stored > slotSize)
        damaged("its superblock declares " + std::to_string(stored) + " bytes in a slot of " +
                std::to_string(slotSize));
    if (const std::uint16_t method = h.u16(68); method != kCx)
        unsupported("its superblock is compressed with method " + std::to_string(method) +
                    ", which this reader does not know");
    const auto raw = read(position, stored, "the superblock");
    const ByteView all(raw, "the superblock");
    if (!std::equal(raw.begin() + 2, raw.begin() + 10, raw.end() - kFooter))
        damaged("the superblock at byte " + hex(position) +
                " was not written whole: its footer does not repeat its header's time");

    Superblock sb;
    sb.writeCount = h.u32(60);
    sb.summaryBuckets = h.u32(14);
    const std::uint32_t bitmaps = h.u32(22);
    sb.recordTableSize = h.u32(26);
    sb.recordTablePosition = h.u32(30);
    const std::uint32_t summaryPages = h.u32(70);
    const std::uint32_t otherPages = h.u32(74);
    if (summaryPages > 1 || otherPages > 1)
        unsupported("its superblock lists its buckets on " +
                    std::to_string(std::max(summaryPages, otherPages)) +
                    " pages, as large databases do, and this reader reads one page");
    if (sb.summaryBuckets > 0 && summaryPages == 0)
        damaged("its superblock counts summary buckets but has no page to list them");
    if (sb.summaryBuckets > kDescriptorsPerPage)
        damaged("its superblock counts " + std::to_string(sb.summaryBuckets) +
                " summary buckets, more than its page lists");
    if (sb.recordTableSize != 0 && sb.recordTableSize != recordTableSize)
        damaged("its superblock holds a record table of " + std::to_string(sb.recordTableSize) +
                " bytes where the header says " + std::to_string(recordTableSize));
    const std::uint64_t pages =
        (summaryPages ? kSummaryPage : 0) + (otherPages ? kNonSummaryPage : 0);
    sb.recordTableOffset = static_cast<std::size_t>(pages + std::uint64_t{kBitmapHeader} * bitmaps);
    const std::uint64_t layout = sb.recordTableOffset + std::uint64_t{sb.recordTableSize} +
                                 h.u32(42) + h.u32(46) + h.u32(50) + h.u32(54);
    const std::uint32_t size = h.u32(10);
    if (layout != size || size > kMaxStructure)
        damaged("the parts of its superblock add up to " + std::to_string(layout) +
                " bytes, not its declared " + std::to_string(size));
    sb.body = decompressCx(
        all.sub(kSuperblockHeader, stored - kSuperblockHeader - kFooter, "the superblock").bytes(),
        size, "the superblock");
    return sb;
}

void Database::State::chooseSuperblock()
{
    const auto head = read(0, headerSize, "the header");
    const ByteView info(head, "the file header");
    std::optional<Superblock> best;
    std::string firstFault;
    std::size_t copies = 0;
    for (std::size_t k = 0; k < kSuperblockSlots; ++k) {
        const std::uint64_t position = info.u32(kDbInfo2 + 40 + 8 * k) * kUnit;
        const std::uint32_t size = info.u32(kDbInfo2 + 44 + 8 * k);
        if (size == 0)
            continue;
        try {
            auto sb = readSuperblock(position, size);
            if (!sb)
                continue;
            ++copies;
            if (!best || sb->writeCount > best->writeCount)
                best = std::move(sb);
        } catch (const FormatError &e) {
            ++copies;
            if (firstFault.empty())
                firstFault = e.what();
            if (e.fault() != Fault::Damaged)
                throw;
        }
    }
    if (!best) {
        if (copies == 0)
            damaged("none of its superblock slots holds a superblock");
        damaged("none of its " + std::to_string(copies) + " superblock copies is whole (" +
                firstFault + ")");
    }
    superblock = std::move(*best);
    layout.superblockWriteCount = superblock.writeCount;
    layout.summaryBuckets = superblock.summaryBuckets;
}

std::optional<DescriptorBlock> Database::State::readDescriptorBlock(std::uint64_t position,
                                                                    std::uint32_t size) const
{
    const auto head = read(position, kDescriptorBlockHeader, "the bucket descriptor block");
    const ByteView h(head, "the bucket descriptor block");
    if (h.u16(0) != kDescriptorBlockSignature)
        return std::nullopt;
    if (const std::uint16_t version = h.u16(2); version != 2)
        unsupported("its bucket descriptor block has version " + std::to_string(version) +
                    ", which this reader does not know");
    if (const std::uint16_t method = h.u16(4); method != kCx)
        unsupported("its bucket descriptor block is compressed with method " +
                    std::to_string(method) + ", which this reader does not know");
    const std::uint32_t stored = h.u32(14);
    if (stored < kDescriptorBlockHeader + kFooter || stored > size || size > kMaxStructure)
        damaged("its bucket descriptor block declares " + std::to_string(stored) +
                " bytes in a space of " + std::to_string(size));
    const auto raw = read(position, stored, "the bucket descriptor block");
    if (!std::equal(raw.begin() + 18, raw.begin() + 26, raw.end() - kFooter))
        damaged("the bucket descriptor block at byte " + hex(position) +
                " was not written whole: its footer does not repeat its header's time");
    DescriptorBlock block;
    block.writeCount = h.u32(10);
    block.itemNames = h.u32(26);
    block.textSize = h.u32(34);
    block.recordTables = h.u32(38);
    const std::uint32_t hashEntries = h.u32(42);
    const std::uint32_t size32 = h.u32(6);
    const std::uint64_t layout = std::uint64_t{block.recordTables} * 8 +
                                 std::uint64_t{block.itemNames} * 10 + 4 + block.textSize +
                                 std::uint64_t{hashEntries} * 2;
    if (layout != size32 || size32 > kMaxStructure)
        damaged("the parts of its bucket descriptor block add up to " + std::to_string(layout) +
                " bytes, not its declared " + std::to_string(size32));
    const ByteView all(raw, "the bucket descriptor block");
    block.body =
        decompressCx(all.sub(kDescriptorBlockHeader, stored - kDescriptorBlockHeader - kFooter,
                             "the bucket descriptor block")
                         .bytes(),
                     size32, "the bucket descriptor block");
    return block;
}

DescriptorBlock Database::State::chooseDescriptorBlock() const
{
    const auto head = read(0, headerSize, "the header");
    const ByteView info(head, "the file header");
    std::optional<DescriptorBlock> best;
    std::string firstFault;
    for (std::size_t k = 0; k < 2; ++k) {
        const std::uint32_t size = info.u32(kDbInfo2 + 104 + 8 * k);
        const std::uint64_t position = info.u32(kDbInfo2 + 108 + 8 * k) * kUnit;
        if (size == 0)
            continue;
        try {
            auto block = readDescriptorBlock(position, size);
            if (block && (!best || block->writeCount > best->writeCount))
                best = std::move(block);
        } catch (const FormatError &e) {
            if (firstFault.empty())
                firstFault = e.what();
            if (e.fault() != Fault::Damaged)
                throw;
        }
    }
    if (!best)
        damaged(firstFault.empty() ? std::string("neither of its bucket descriptor block "
                                                 "copies is there")
                                   : "neither of its bucket descriptor block copies is whole (" +
                                         firstFault + ")");
    return std::move(*best);
}

void Database::State::readNames(const DescriptorBlock &block)
{
    const ByteView body(block.body, "the item-name table");
    const std::size_t entries = std::size_t{block.recordTables} * 8;
    const std::size_t textAt = entries + std::size_t{block.itemNames} * 10;
    if (body.u32(textAt) != block.textSize)
        damaged("its item-name table's text length does not match its header");
    const ByteView text = body.sub(textAt + 4, block.textSize, "the item-name text");
    names.reserve(block.itemNames);
    for (std::size_t i = 0; i < block.itemNames; ++i) {
        const std::size_t e = entries + i * 10;
        const std::uint32_t offset = body.u32(e);
        const std::uint16_t length = body.u16(e + 4);
        if (!text.holds(offset, length))
            damaged("its item name " + std::to_string(i) + " lies outside the name text");
        ItemName name;
        name.text = lmbcsToUtf8(text.sub(offset, length, "an item name").bytes());
        name.type = static_cast<std::uint16_t>(body.u8(e + 7) << 8 | body.u8(e + 6));
        names.push_back(std::move(name));
    }
    layout.itemNames = block.itemNames;
}

void Database::State::readRecordTable(ByteView table, std::uint64_t position, std::uint32_t firstId,
                                      bool data)
{
    const std::string where =
        std::string(data ? "data" : "design") + " record table at byte " + hex(position);
    if (table.u16(0) != kRecordTableSignature)
        throw FormatError(Fault::Encrypted,
                          "its " + where +
                              " fails its checks: it does not start with a record "
                              "table's signature");
    if (table.u32(6) != firstId)
        throw FormatError(Fault::Encrypted,
                          "its " + where + " fails its checks: it starts at note " +
                              hex(table.u32(6)) + " where the bucket descriptor block says " +
                              hex(firstId));
    const std::size_t count = (table.size() - kRecordTableHeader) / kRecordEntry;
    if (firstId + std::uint64_t{4} * count > 0xFFFFFFFFu)
        damaged("its " + where + " runs past the last note id");
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t a = table.u32(kRecordTableHeader + i * kRecordEntry);
        const std::uint32_t b = table.u32(kRecordTableHeader + i * kRecordEntry + 4);
        NoteRef ref;
        ref.id = firstId + static_cast<std::uint32_t>(4 * i);
        ref.data = data;
        ref.entry = a;
        if (a == 0 || a == 0x7FFFFFFF || a == 0xFFFFFFFF)
            continue; // an unused entry
        if (a & 0x80000000u) {
            const std::uint32_t bucket = a & 0xFFFFFF;
            if (bucket == 0 || bucket == 0xFFFFFF)
                continue;
            ref.bucket = bucket;
            ref.slot = static_cast<std::uint16_t>(b & 0x7FF);
        } else {
            // A database object (an attachment's contents and the like) rather than a note.
            const std::uint64_t at = a * kUnit;
            if (at + 2 <= fileSize()) {
                std::uint8_t signature[2];
                source->read(at, signature);
                if ((signature[0] | signature[1] << 8) == kObjectSignature) {
                    ++objects;
                    continue;
                }
            }
        }
        notes.push_back(ref);
    }
}

void Database::State::readRecordTables(const DescriptorBlock &block)
{
    const ByteView body(block.body, "the bucket descriptor block");
    std::set<std::uint32_t> seen;
    // Tables may not overlap: the entries read stay fewer than the file has bytes / 8.
    std::map<std::uint64_t, std::uint64_t> spans;
    std::uint32_t previous[2] = {0, 0}; // the last table of each kind, in 256-byte units
    bool currentFound = superblock.recordTableSize == 0;
    for (std::size_t i = 0; i < block.recordTables; ++i) {
        const std::uint32_t word = body.u32(8 * i);
        const std::uint32_t firstId = body.u32(8 * i + 4);
        const bool data = (word & 1) == 0;
        const std::uint32_t unit = word & ~1u;
        const std::uint64_t position = unit * kUnit;
        if (unit == 0 || !seen.insert(unit).second)
            damaged("its chain of record tables loops: the table at byte " + hex(position) +
                    " comes twice");
        const auto next = spans.lower_bound(position);
        if ((next != spans.end() && next->first < position + recordTableSize) ||
            (next != spans.begin() && std::prev(next)->second > position))
            damaged("its record table at byte " + hex(position) + " overlaps another");
        spans.emplace(position, position + recordTableSize);
        std::vector<std::uint8_t> copy;
        ByteView table;
        if (data && superblock.recordTableSize != 0 && unit == superblock.recordTablePosition) {
            // The live copy of the current data table is the one in the superblock; the one
            // on disk is not kept up to date.
            table = ByteView(superblock.body, "the superblock")
                        .sub(superblock.recordTableOffset, superblock.recordTableSize,
                             "the superblock's record table");
            currentFound = true;
        } else {
            copy = read(position, recordTableSize, "a record table");
            table = ByteView(copy, "a record table");
        }
        const std::uint32_t link = table.u32(2);
        if (link != previous[data ? 1 : 0]) {
            if (link == unit || seen.count(link))
                damaged("its chain of record tables loops at the table at byte " + hex(position));
            damaged("its record table at byte " + hex(position) +
                    " does not link to the table before it");
        }
        previous[data ? 1 : 0] = unit;
        readRecordTable(table, position, firstId, data);
    }
    if (!currentFound)
        damaged("its superblock's record table at byte " +
                hex(superblock.recordTablePosition * kUnit) +
                " is not among the tables the bucket descriptor block lists");
    std::sort(notes.begin(), notes.end(),
              [](const NoteRef &x, const NoteRef &y) { return x.id < y.id; });
    const auto twice =
        std::adjacent_find(notes.begin(), notes.end(),
                           [](const NoteRef &x, const NoteRef &y) { return x.id == y.id; });
    if (twice != notes.end())
        damaged("two of its record tables list note " + hex(twice->id));
    layout.recordTables = block.recordTables;
}

const CachedBucket &Database::State::bucket(std::uint32_t number) const
{
    ++uses;
    for (CachedBucket &c : cache)
        if (c.number == number) {
            c.lastUse = uses;
            return c;
        }
    if (number > superblock.summaryBuckets)
        damaged("it lies in summary bucket " + std::to_string(number) + " of " +
                std::to_string(superblock.summaryBuckets));
    const ByteView page(superblock.body, "the superblock");
    const std::uint64_t position =
        page.u32(kFirstDescriptor + kDescriptorSize * (number - 1)) * kUnit;
    const std::string what = "summary bucket " + std::to_string(number);
    if (position % kSector != 0)
        unsupported(what + " starts at byte " + hex(position) +
                    ", off a 512-byte boundary, which no database seen so far has");
    const auto head = read(position, kBucketHeader, what);
    const ByteView h(head, "a summary bucket");
    if (h.u16(0) != kBucketSignature || h.u32(2) != number - 1)
        damaged(what + " at byte " + hex(position) + " does not start with its own header");
    const std::uint32_t size = h.u32(6);
    if (size < minBucket || size > maxBucket || size % kSector != 0)
        damaged(what + " has a size of " + std::to_string(size) + " bytes");

    CachedBucket fresh;
    fresh.number = number;
    fresh.lastUse = uses;
    fresh.bytes = read(position, size, what);
    fresh.footer = h.u16(50);
    fresh.slots = h.u16(44);
    // Notes stamps each 512-byte sector with the write that wrote it: the low nibble of the
    // sector's byte 0x42 is replaced, and the nibbles it held are kept in the last bytes of the
    // footer (as one little-endian number, the first sector in its highest nibble).
    const std::size_t sectors = size / kSector;
    const std::size_t nibbleBytes = (sectors + 1) / 2;
    if (fresh.footer < nibbleBytes || fresh.footer > size - kBucketHeader)
        damaged(what + " has a footer of " + std::to_string(fresh.footer) + " bytes");
    std::uint8_t *bytes = fresh.bytes.data();
    const std::uint8_t *saved = bytes + size - nibbleBytes;
    const unsigned stamp = bytes[kStampOffset] & 0xFu;
    for (std::size_t k = 0; k < sectors; ++k) {
        std::uint8_t &b = bytes[k * kSector + kStampOffset];
        if ((b & 0xFu) != stamp)
            damaged(what + " was not written whole: its sectors carry different write stamps");
        const std::size_t nibble = sectors - 1 - k;
        const unsigned original = (saved[nibble / 2] >> (nibble % 2 ? 4 : 0)) & 0xFu;
        b = static_cast<std::uint8_t>((b & 0xF0u) | original);
    }
    if (kBucketHeader + std::size_t{4} * fresh.slots > size - fresh.footer)
        damaged(what + " counts more slots than it holds");

    if (cache.size() < kBucketCache) {
        cache.push_back(std::move(fresh));
        return cache.back();
    }
    auto oldest = std::min_element(cache.begin(), cache.end(), [](const auto &x, const auto &y) {
        return x.lastUse < y.lastUse;
    });
    *oldest = std::move(fresh);
    return *oldest;
}

Database::Database(std::unique_ptr<State> state) : m_state(std::move(state))
{
}
Database::~Database() = default;

std::shared_ptr<Database> Database::open(const std::string &path)
{
    auto source = openFileSource(path);
    const auto slash = path.find_last_of("/\\");
    return openSource(std::move(source),
                      slash == std::string::npos ? path : path.substr(slash + 1));
}

std::shared_ptr<Database> Database::fromBytes(std::vector<std::uint8_t> bytes,
                                              const std::string &name)
{
    return openSource(memorySource(std::move(bytes)), name);
}

std::shared_ptr<Database> Database::openSource(std::unique_ptr<Source> source,
                                               const std::string &name)
{
    auto state = std::make_unique<State>();
    state->source = std::move(source);
    state->name = name;
    try {
        state->readHeader();
        state->chooseSuperblock();
        const DescriptorBlock block = state->chooseDescriptorBlock();
        state->layout.bucketDescriptorWriteCount = block.writeCount;
        state->readNames(block);
        state->readRecordTables(block);
    } catch (const FormatError &e) {
        throw NotesError(sentence(name, e));
    }
    return std::shared_ptr<Database>(new Database(std::move(state)));
}

const std::string &Database::name() const
{
    return m_state->name;
}

unsigned Database::ods() const
{
    return m_state->ods;
}

std::uint32_t Database::headerSize() const
{
    return m_state->headerSize;
}

const std::string &Database::titleBuffer() const
{
    return m_state->titleBuffer;
}

std::string Database::title() const
{
    const std::string &t = m_state->titleBuffer;
    return t.substr(0, t.find('\n'));
}

const std::vector<NoteRef> &Database::notes() const
{
    return m_state->notes;
}

std::size_t Database::objectCount() const
{
    return m_state->objects;
}

const Database::Layout &Database::layout() const
{
    return m_state->layout;
}

Note Database::read(const NoteRef &ref) const
{
    const State &s = *m_state;
    const std::string id = hex(ref.id).substr(2);
    try {
        if (ref.bucket == 0) {
            // Notes stored whole at a file position: not seen among documents so far.
            const std::uint64_t at = ref.entry * kUnit;
            const auto head = s.read(at, 2, "its record");
            unsupported("its record table places it at byte " + hex(at) +
                        ", outside the summary buckets, in a record of type " +
                        hex(static_cast<unsigned>(head[0] | head[1] << 8)));
        }
        const CachedBucket &b = s.bucket(ref.bucket);
        const ByteView bucket(b.bytes, "its summary bucket");
        const std::string where =
            "slot " + std::to_string(ref.slot) + " of summary bucket " + std::to_string(ref.bucket);
        if (ref.slot == 0 || ref.slot > b.slots)
            damaged("it lies in " + where + ", which has " + std::to_string(b.slots) + " slots");
        const std::size_t entry = bucket.size() - b.footer - std::size_t{4} * ref.slot;
        const std::uint16_t offset = bucket.u16(entry);
        const std::uint16_t length = bucket.u16(entry + 2);
        const std::size_t dataEnd = bucket.size() - b.footer - std::size_t{4} * b.slots;
        if (length == 0)
            damaged(where + ", where it should be, is empty");
        if (offset < kBucketHeader || offset > dataEnd || length > dataEnd - offset)
            damaged(where + " points outside the bucket's data");
        return parseNoteRecord(bucket.sub(offset, length, "its record"), ref, s.names);
    } catch (const FormatError &e) {
        throw UnreadableNote(ref.id, sentence(s.name + ": note " + id, e));
    }
}

} // namespace notes::nsf
