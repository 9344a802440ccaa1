#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the files tst_roundtrip exported with Python's csv module and compares every field with
what tst_roundtrip says it must hold. Also checks the byte-order mark and that every record ends
with CR LF (line breaks inside quoted values may be anything)."""
import csv
import io
import expected_files
import os
import sys

CAPTIONS = [
    "First Name", "Last Name", "Middle Name", "Name", "E-mail Address", "Home Street",
    "Home City", "Home Postal Code", "Home State", "Home Country/Region", "Home Phone",
    "Home Fax", "Mobile Phone", "Personal Web Page", "Business Street", "Business City",
    "Business Postal Code", "Business State", "Business Country/Region", "Business Web Page",
    "Business Phone", "Business Fax", "Pager", "Company", "Job Title", "Department",
    "Office Location", "Notes",
]


def record_ends(text):
    """The characters that end records: every LF outside quotes must follow a CR."""
    quoted = False
    for i, c in enumerate(text):
        if c == '"':
            quoted = not quoted
        elif c == "\n" and not quoted:
            if i == 0 or text[i - 1] != "\r":
                return "LF without CR at offset %d" % i
        elif c == "\r" and not quoted:
            if i + 1 >= len(text) or text[i + 1] != "\n":
                return "CR without LF at offset %d" % i
    if quoted:
        return "unterminated quote"
    if not text.endswith("\r\n"):
        return "last line does not end with CR LF"
    return None


def check(folder, entry):
    path = os.path.join(folder, entry["file"])
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    has_bom = data.startswith(b"\xef\xbb\xbf")
    if has_bom != entry["bom"]:
        problems.append("byte-order mark %s, expected %s" % (has_bom, entry["bom"]))
    text = data.decode(entry["encoding"])
    ends = record_ends(text)
    if ends:
        problems.append(ends)
    # skipinitialspace: read as an importer that trims the spaces a field begins with, which a
    # value keeps only when it is quoted.
    rows = list(csv.reader(io.StringIO(text, newline=""), strict=True, skipinitialspace=True))
    if not rows or rows[0] != CAPTIONS:
        problems.append("heading %r" % (rows[0] if rows else None))
    expected = entry["rows"]
    data_rows = rows[1:]
    if len(data_rows) != len(expected):
        problems.append("%d data rows, expected %d" % (len(data_rows), len(expected)))
    for r, (got, want) in enumerate(zip(data_rows, expected)):
        if len(got) != len(want):
            problems.append("row %d: %d fields, expected %d" % (r + 1, len(got), len(want)))
            continue
        for c, (g, w) in enumerate(zip(got, want)):
            if g != w:
                problems.append("row %d, %s: %r, expected %r" % (r + 1, CAPTIONS[c], g, w))
    return problems


if __name__ == "__main__":
    sys.exit(expected_files.run(check))
