#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of fuzz_nsf_file: small Notes databases (a few KiB, under the 64 KiB
the fuzzer's inputs may take) rebuilt from the public samples, with every structure the reader
checks: header, two superblock copies, the bucket descriptor block, a design record table, a
database object and one summary bucket holding the documents and a few design notes. The
samples' superblock and descriptor block are decompressed, cut down (no bitmaps, logs or hash
table; 256-byte record tables) and compressed again with a small CX encoder.
    fuzz/nsf_seeds.py ../shared/nsf-samples fuzz/corpus/nsf_file
"""
import os
import struct
import sys

UNIT = 256


def u16(d, o):
    return struct.unpack_from('<H', d, o)[0]


def u32(d, o):
    return struct.unpack_from('<I', d, o)[0]


class BitReader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def bit(self):
        b = (self.data[self.pos >> 3] >> (self.pos & 7)) & 1
        self.pos += 1
        return b

    def bits(self, n):
        return sum(self.bit() << i for i in range(n))

    def run(self):
        zeros = 0
        while zeros < 8 and self.bit() == 0:
            zeros += 1
        if zeros == 8:
            self.bit()
        return (1 << (zeros + 1)) - 1 + self.bits(zeros + 1)


def cx_decode(stream):
    r, out = BitReader(stream), bytearray()
    r.pos = 3
    while True:
        if r.bit() == 0:
            out.append(r.bits(8))
            continue
        length = 2 if r.bit() else r.run() + 2
        if length >= 0x102:
            return bytes(out)
        high = r.run() if length > 2 and r.bit() == 0 else 0
        offset = high << 8 | r.bits(8)
        for _ in range(length):
            out.append(out[-offset])


class BitWriter:
    def __init__(self):
        self.out, self.n = bytearray([4]), 3  # mode 4 in the low 3 bits

    def bit(self, b):
        if self.n % 8 == 0:
            self.out.append(0)
        self.out[-1] |= b << (self.n % 8)
        self.n += 1

    def bits(self, v, n):
        for i in range(n):
            self.bit(v >> i & 1)

    def run(self, v):
        width = (v + 1).bit_length() - 1  # 2^w - 1 <= v < 2^(w+1) - 1
        for _ in range(width - 1):
            self.bit(0)
        if width - 1 < 8:
            self.bit(1)
        else:
            self.bit(0)
        self.bits(v - ((1 << width) - 1), width)


def cx_encode(data):
    """Greedy LZ77 into CX tokens; one segment with its u32 length."""
    w, i, last = BitWriter(), 0, {}
    while i < len(data):
        best, where = 0, 0
        for j in reversed(last.get(data[i:i + 3], [])[-32:]):
            if i - j > (1022 << 8 | 255):
                break
            n = 0
            while i + n < len(data) and n < 0x101 and data[j + n] == data[i + n]:
                n += 1
            if n > best:
                best, where = n, j
        if best < 3 and i >= 1 and i + 1 < len(data):
            for j in range(max(0, i - 255), i):
                if data[j:j + 2] == data[i:i + 2]:
                    best, where = 2, j
        if best < 2:
            w.bit(0)
            w.bits(data[i], 8)
            step = 1
        else:
            offset = i - where
            w.bit(1)
            if best == 2:
                w.bit(1)
            else:
                w.bit(0)
                w.run(best - 2)
                if offset >> 8:
                    w.bit(0)
                    w.run(offset >> 8)
                else:
                    w.bit(1)
            w.bits(offset & 0xFF, 8)
            step = best
        for k in range(i, i + step):
            last.setdefault(data[k:k + 3], []).append(k)
        i += step
    w.bit(1)
    w.bit(0)
    w.run(0x100)  # a length of 0x102 ends the stream
    stream = bytes(w.out)
    assert cx_decode(stream) == data
    return struct.pack('<I', len(stream)) + stream


def best_copy(d, slots, header_size, signature, wc_at, stored_at, head):
    best = None
    for pos, size in slots:
        if size and pos + head <= len(d) and u16(d, pos) == signature:
            if best is None or u32(d, pos + wc_at) > u32(d, best + wc_at):
                best = pos
    stored = u32(d, best + stored_at)
    return best, cx_decode(d[best + header_size + 4:best + stored - 12])


def build(d, keep_design, record_size=256):
    header_size = u32(d, 2)
    header = bytearray(d[:header_size])
    sb_slots = [(u32(d, 560 + 8 * k) * UNIT, u32(d, 564 + 8 * k)) for k in range(4)]
    sb_pos, sb_body = best_copy(d, sb_slots, 100, 0x0E, 60, 64, 100)
    sb_head = bytearray(d[sb_pos:sb_pos + 100])
    bdb_slots = [(u32(d, 628 + 8 * k) * UNIT, u32(d, 624 + 8 * k)) for k in range(2)]
    bdb_pos, bdb_body = best_copy(d, bdb_slots, 66, 0x01, 10, 14, 66)
    bdb_head = bytearray(d[bdb_pos:bdb_pos + 66])

    # The notes to keep, read as the reader reads them (stamps restored).
    old_rrv = u16(d, 6 + 70)
    pages = (8206 if u32(sb_head, 70) else 0) + (8198 if u32(sb_head, 74) else 0)
    rrv_at = pages + 20 * u32(sb_head, 22)
    n_rrv, n_unk, text = u32(bdb_head, 38), u32(bdb_head, 26), u32(bdb_head, 34)
    tables = [struct.unpack_from('<II', bdb_body, 8 * i) for i in range(n_rrv)]
    buckets = {}

    def bucket(k):
        if k not in buckets:
            pos = u32(sb_body, 224 + 14 * (k - 1)) * UNIT
            size, footer = u32(d, pos + 6), u16(d, pos + 50)
            b = bytearray(d[pos:pos + size])
            sectors = size // 512
            saved = int.from_bytes(b[size - (sectors + 1) // 2:], 'little')
            for s in range(sectors):
                nib = saved >> 4 * (sectors - 1 - s) & 15
                b[s * 512 + 0x42] = b[s * 512 + 0x42] & 0xF0 | nib
            buckets[k] = (b, footer)
        return buckets[k]

    notes = {True: [], False: []}
    objects = []
    for word, first in tables:
        data = not word & 1
        table = (sb_body[rrv_at:rrv_at + old_rrv] if data and (word & ~1) == u32(sb_head, 30)
                 else d[(word & ~1) * UNIT:(word & ~1) * UNIT + old_rrv])
        for i in range((old_rrv - 32) // 8):
            a, b = struct.unpack_from('<II', table, 32 + 8 * i)
            if a & 0x80000000 and a & 0xFFFFFF not in (0, 0xFFFFFF):
                bk, footer = bucket(a & 0xFFFFFF)
                size = len(bk)
                off, ln = struct.unpack_from('<HH', bk, size - footer - 4 * (b & 0x7FF))
                notes[data].append((first + 4 * i, bytes(bk[off:off + ln])))
            elif not a & 0x80000000 and a not in (0, 0x7FFFFFFF) and not data:
                objects.append(first + 4 * i)
    design = sorted(notes[False], key=lambda n: len(n[1]))[:keep_design]
    kept = sorted(notes[True] + design)

    # The new file: header, superblock twice, descriptor block, design record table, an
    # object, the summary bucket.
    records = b''.join(r for _, r in kept)
    footer = 64  # room for the nibbles of up to 128 sectors
    bucket_size = (66 + len(records) + 4 * len(kept) + footer + 511) // 512 * 512
    sectors = bucket_size // 512
    layout = {}
    at = header_size

    def place(name, size, align=UNIT):
        nonlocal at
        at = (at + align - 1) // align * align
        layout[name] = at
        at += size

    # Sizes of the compressed blocks are known only once their contents are: lay out the
    # fixed-size parts after them, with room to spare.
    place('sb1', 0x1800)
    place('sb2', 0x1800)
    place('bdb', 0x1000)
    place('design', record_size, 512)  # bit 0 of a table's position marks design tables
    place('data', record_size, 512)
    place('object', UNIT)
    place('bucket', bucket_size, 512)

    def rrv_table(data, first, link):
        t = bytearray(b'\xff' * record_size)
        t[0:32] = bytes(32)
        struct.pack_into('<HII', t, 0, 0x2006, link, first)
        for k, (nid, rec) in enumerate(kept):
            is_data = (nid, rec) in notes[True]
            if is_data != data:
                continue
            i = (nid - first) // 4
            if 32 + 8 * i + 8 <= record_size:
                struct.pack_into('<II', t, 32 + 8 * i, 0x80000001, k + 1)
        if not data and objects:
            i = (objects[0] - first) // 4
            if 32 + 8 * i + 8 <= record_size:
                struct.pack_into('<II', t, 32 + 8 * i, layout['object'] // UNIT, 0)
        return bytes(t)

    design_first = next(f for w, f in tables if w & 1)
    data_first = next((f for w, f in tables if not w & 1), 0x8F6)
    design_table = rrv_table(False, design_first, 0)
    data_table = rrv_table(True, data_first, 0)

    # Superblock: the summary page with the one bucket, the bitmap header, the data table.
    page = bytearray(sb_body[:8206])
    page[224:] = bytes(8206 - 224)
    struct.pack_into('<I', page, 224, layout['bucket'] // UNIT)
    page[228:236] = sb_head[2:10]
    body = bytes(page) + sb_body[pages:pages + 20] + data_table
    sb = bytearray(sb_head)
    struct.pack_into('<IIIII', sb, 10, len(body), 1, 0, 1, record_size)
    struct.pack_into('<I', sb, 30, layout['data'] // UNIT)
    struct.pack_into('<IIIII', sb, 42, 0, 0, 0, 0, 0)
    struct.pack_into('<HI', sb, 68, 1, 1)
    struct.pack_into('<I', sb, 74, 0)
    packed = cx_encode(body)
    struct.pack_into('<I', sb, 64, 100 + len(packed) + 12)
    superblocks = []
    for wc in (u32(sb_head, 60), u32(sb_head, 60) - 1):
        struct.pack_into('<I', sb, 60, wc)
        superblocks.append(bytes(sb) + packed + bytes(sb[2:10]) + b'\0\0\0\0')

    # Descriptor block: two tables (design, then data), the names, no hash table.
    names = bdb_body[8 * n_rrv:8 * n_rrv + 10 * n_unk + 4 + text]
    body = struct.pack('<IIII', layout['design'] // UNIT | 1, design_first,
                       layout['data'] // UNIT, data_first) + names
    bdb = bytearray(bdb_head)
    packed = cx_encode(body)
    struct.pack_into('<I', bdb, 6, len(body))
    struct.pack_into('<I', bdb, 14, 66 + len(packed) + 12)
    struct.pack_into('<I', bdb, 38, 2)
    struct.pack_into('<I', bdb, 42, 0)
    bdb = bytes(bdb) + packed + bytes(bdb[18:26]) + b'\0\0\0\0'

    # The bucket: records from byte 66, the slot table, the footer with the saved nibbles.
    b = bytearray(bucket_size)
    b[:66] = bytes(66)
    struct.pack_into('<HII', b, 0, 0x4202, 0, bucket_size)
    struct.pack_into('<H', b, 44, len(kept))
    struct.pack_into('<H', b, 50, footer)
    b[10:18] = sb_head[2:10]
    off = 66
    for k, (_, rec) in enumerate(kept):
        b[off:off + len(rec)] = rec
        struct.pack_into('<HH', b, bucket_size - footer - 4 * (k + 1), off, len(rec))
        off += len(rec)
    saved = 0
    for s in range(sectors):
        saved |= (b[s * 512 + 0x42] & 15) << 4 * (sectors - 1 - s)
        b[s * 512 + 0x42] = b[s * 512 + 0x42] & 0xF0 | 0x5
    b[bucket_size - (sectors + 1) // 2:] = saved.to_bytes((sectors + 1) // 2, 'little')

    out = bytearray(at)
    out[:header_size] = header
    for name, blob in (('sb1', superblocks[0]), ('sb2', superblocks[1]), ('bdb', bdb),
                       ('design', design_table), ('object', b'\x1b\x00' + bytes(UNIT - 2)),
                       ('bucket', bytes(b))):
        assert name == 'bucket' or len(blob) <= 0x1800 - (name == 'bdb') * 0x800
        out[layout[name]:layout[name] + len(blob)] = blob
    struct.pack_into('<I', out, 6 + 14, layout['design'] // UNIT)
    struct.pack_into('<I', out, 6 + 56, layout['data'] // UNIT)
    struct.pack_into('<H', out, 6 + 70, record_size)
    for k in range(4):
        pos, size = ((layout['sb1'], 0x1800), (layout['sb2'], 0x1800), (0, 0), (0, 0))[k]
        struct.pack_into('<II', out, 560 + 8 * k, pos // UNIT, size)
    struct.pack_into('<IIII', out, 624, 0x1000, layout['bdb'] // UNIT, 0, 0)
    struct.pack_into('<I', out, 600, 512)
    return bytes(out)


def main():
    samples, corpus = sys.argv[1], sys.argv[2]
    for name, design in (('knowndt', 3), ('sample', 2), ('signeddoc', 2)):
        data = open(os.path.join(samples, name + '.nsf'), 'rb').read()
        seed = build(data, design)
        open(os.path.join(corpus, name + '-small.nsf'), 'wb').write(seed)
        print(name, len(seed), 'bytes')


if __name__ == '__main__':
    main()
