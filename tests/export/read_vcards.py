#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads exported files with readers independent of the program, Python's csv module and vobject,
and compares them with FOLDER/expected.json, one entry a file (read_vcards.py FOLDER): the
golden files of the export tests, whose expected.json is kept beside them, and the files of the
end-to-end test, which writes it. Also checks the file form itself: a CSV's byte-order mark and
records that end with CR LF (line breaks inside quoted values may be anything); a vCard's
physical lines that end with CR LF, hold at most 75 octets and are valid UTF-8 on their own (a
fold never splits a character, nor comes before white space that it can avoid)."""
import csv
import io
import json
import os
import re
import sys

import vobject

# The CSV's captions, and where each of the contact's items must land, kept apart from the
# program's own table so that a swap in the program shows (vcard-items.json): (property, part),
# the part a name or address component, an index into ORG, the TEL types in order, "" for the
# whole value, or "NOTE:<label>" for a "Label: value" line.
with open(os.path.join(os.path.dirname(__file__), "vcard-items.json"), encoding="utf-8") as f:
    TABLES = json.load(f)
CAPTIONS = TABLES["captions"]
ITEMS = {item: [(prop, tuple(part) if isinstance(part, list) else part) for prop, part in places]
         for item, places in TABLES["items"].items()}


def physical_lines(data):
    """Problems of the file form: line ends, length, UTF-8 of each physical line."""
    problems = []
    if not data.endswith(b"\r\n"):
        problems.append("the file does not end with CR LF")
    for n, line in enumerate(data.split(b"\r\n")[:-1], 1):
        if b"\r" in line or b"\n" in line:
            problems.append("line %d: a bare CR or LF" % n)
        if len(line) > 75:
            problems.append("line %d: %d octets" % (n, len(line)))
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            problems.append("line %d: not UTF-8 by itself (a fold inside a character)" % n)
    # Some readers unfold by dropping all the white space after a line break. Only a run of white
    # space that a continuation cannot hold with the character before it (74 octets, up to four of
    # them that character's) must be folded inside.
    greedy = re.sub(rb"\r\n[ \t][ \t\v\f]*", b"", data).split(b"\r\n")
    for line, other in zip(re.sub(rb"\r\n[ \t]", b"", data).split(b"\r\n"), greedy):
        if line != other and not re.search(rb"[ \t\v\f]{71}", line):
            problems.append("white space after a fold in %r" % line[:30])
    return problems


def abbreviated(value):
    """A Notes name in canonical form (CN=.../O=...) as Notes shows it; other values as they are."""
    if not re.match(r"(?i)CN=[^/]", value):
        return value
    return "/".join(part.partition("=")[2] for part in value.split("/"))


def common_name(value):
    return abbreviated(value).split("/")[0] if re.match(r"(?i)CN=", value) else value


def read_cards(path):
    """The cards of a file, the problems of its form, and its content lines as written. Group
    cards are left out; each group's name joins the CATEGORIES expected of its members."""
    with open(path, "rb") as f:
        data = f.read()
    problems = physical_lines(data)
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        return [], problems + ["not UTF-8: %s" % error], []
    cards = list(vobject.readComponents(text))
    GROUPS.update({c.fn.value: [m.value[len("urn:uuid:"):] for m in
                                c.contents.get("x-addressbookserver-member", [])]
                   for c in cards if "x-addressbookserver-kind" in c.contents})
    cards = [c for c in cards if "x-addressbookserver-kind" not in c.contents]
    for card in cards:
        if card.contents["version"][0].value != "3.0":
            problems.append("VERSION is not 3.0")
    return cards, problems, re.sub(r"\r\n[ \t]", "", text).split("\r\n")


def values_of(card, prop, part):
    """Every value the card holds in (prop, part), as a list of strings."""
    name, _, adr_type = prop.partition(":")
    lines = card.contents.get(name, [])
    out = []
    for line in lines:
        types = {t.upper() for t in line.params.get("TYPE", [])}
        value = line.value
        if name == "adr":
            if adr_type not in types:
                continue
            value = getattr(value, part)
        elif name == "n":
            value = getattr(value, part)
        elif name == "org":
            value = value[part] if part < len(value) else ""
        elif name == "tel":
            if tuple(t.upper() for t in line.params.get("TYPE", [])) != part:
                continue
        elif name == "note" and part is not None:
            prefix = part + ": "
            out += [l[len(prefix):] for l in value.split("\n") if l.startswith(prefix)]
            continue
        elif name == "note":
            value = value.split("\n\n")[0]
        if isinstance(value, list):
            out += value
        elif value != "":
            out.append(value)
    return out


DATE = re.compile(r"\d{4}-\d\d-\d\d( \d\d:\d\d:\d\d)?$")


def placed(item, texts):
    """Where an item's values go: {(prop, part): [values]}. A birthday or anniversary that is a
    date goes to its properties as YYYY-MM-DD (only the first); any other value of them to a NOTE
    line under its label."""
    targets = ITEMS[item]
    if item not in ("Birthday", "Anniversary"):
        return {target: texts for target in targets}
    dates = [t[:10] for t in texts if DATE.match(t)]
    rest = [t for t in texts if not DATE.match(t)]
    if len(dates) > 1:
        rest = [t for t in texts if not DATE.match(t) or t[:10] != dates[0]]
        dates = dates[:1]
    out = {target: dates for target in targets}
    out[("note", item)] = rest
    return out


GROUPS = {}


def check_items(card, values, uid):
    """Every item of a contact (values: item -> its texts, none where left out) against where
    the table sends it."""
    problems = []
    values = {item: [abbreviated(t) for t in texts] for item, texts in values.items()}
    values["Categories"] = values.get("Categories", []) + [
        name for name, members in GROUPS.items() if uid in members]
    if set(values) - set(ITEMS):
        problems.append("items without an expectation: %s" % sorted(set(values) - set(ITEMS)))
    for item in ITEMS:
        texts = values.get(item, [])
        if item == "Comment":
            # NOTE starts with the comment; labelled lines may follow after an empty line.
            note = card.note.value if "note" in card.contents else ""
            want = "\n".join(texts)
            if want and note != want and not note.startswith(want + "\n\n"):
                problems.append("NOTE %r does not start with the comment %r" % (note, want))
            continue
        for (prop, part), want in placed(item, texts).items():
            got = values_of(card, prop, part)
            if got != want:
                problems.append("%s in %s %s: %r, expected %r" % (item, prop, part, got, want))
    if card.uid.value != uid:
        problems.append("UID %r" % card.uid.value)
    first, middle, last = ((values.get(i) or [""])[0] for i in
                           ("FirstName", "MiddleInitial", "LastName"))
    fn = (first + " " + (middle + " " if middle else "") + last).strip(" ")
    for fallback in ("CompanyName", "MailAddress"):
        if not fn and values.get(fallback):
            fn = values[fallback][0]
    if card.fn.value != fn:
        problems.append("FN %r, expected %r" % (card.fn.value, fn))
    return problems


def check_card(lines, card, expected):
    """A card of a few items: "PROPERTY:..." a content line as written (unfolded), and
    "property=value" or "property.part=value" each value vobject reads, in order."""
    problems = ["no line %r" % e for e in expected if e[:1].isupper() and e not in lines]
    for prop in dict.fromkeys(e.partition("=")[0] for e in expected if not e[:1].isupper()):
        want = [e.partition("=")[2] for e in expected if e.partition("=")[0] == prop]
        name, _, part = prop.partition(".")
        got = [getattr(l.value, part) if part else l.value for l in card.contents.get(name, [])]
        if got != want:
            problems.append("%s: %r, expected %r" % (prop, got, want))
    return problems


def check_contacts(cards, lines, contacts):
    """Cards of a whole book against the book's contacts, matched by UID: each all its items
    ("values"), or a few content lines and values ("lines")."""
    problems = []
    by_uid = {}
    for card in cards:
        uid = card.uid.value if "uid" in card.contents else None
        if uid in by_uid:
            problems.append("two cards with UID %s" % uid)
        by_uid[uid] = card
    if set(by_uid) != {c["uid"] for c in contacts}:
        problems.append("UIDs %s, expected those of the %d contacts" % (sorted(map(str, by_uid)),
                                                                       len(contacts)))
        return problems
    for c in contacts:
        card = by_uid[c["uid"]]
        found = (check_card(lines, card, c["lines"]) if "lines" in c
                 else check_items(card, c["values"], c["uid"]))
        problems += ["%s: %s" % (c["uid"], p) for p in found]
    return problems


def record_ends(text):
    """What is wrong with the ends of the records: outside quotes, only CR LF ends a line."""
    outside = re.sub(r'"[^"]*"', "", text)
    if '"' in outside:
        return "unterminated quote"
    if re.search(r"\r(?!\n)|(?<!\r)\n", outside):
        return "a bare CR or LF outside quotes"
    return None if text.endswith("\r\n") else "last line does not end with CR LF"


def check_csv(path, entry):
    """A CSV file against its encoding, byte-order mark and rows, field by field."""
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    if data.startswith(b"\xef\xbb\xbf") != entry["bom"]:
        problems.append("byte-order mark %s, expected %s" % (not entry["bom"], entry["bom"]))
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
    if len(rows) - 1 != len(expected):
        problems.append("%d data rows, expected %d" % (len(rows) - 1, len(expected)))
    name = CAPTIONS.index("Name")
    expected = [want[:name] + [common_name(want[name])] + want[name + 1:] for want in expected]
    for r, (got, want) in enumerate(zip(rows[1:], expected), 1):
        if len(got) != len(want):
            problems.append("row %d: %d fields, expected %d" % (r, len(got), len(want)))
            continue
        problems += ["row %d, %s: %r, expected %r" % (r, CAPTIONS[c], g, w)
                     for c, (g, w) in enumerate(zip(got, want)) if g != w]
    return problems


def check(folder, entry):
    path = os.path.join(folder, entry["file"])
    if "rows" in entry:
        return check_csv(path, entry)
    if entry["kind"] == "files":
        cards, problems, lines = [], [], []
        for name in sorted(os.listdir(path)):
            if not name.endswith(".vcf"):
                problems.append("%s is not a .vcf file" % name)
                continue
            got, form, more = read_cards(os.path.join(path, name))
            problems += ["%s: %s" % (name, p) for p in form]
            if len(got) != (0 if name[:-4] in GROUPS else 1):
                problems.append("%s holds %d cards" % (name, len(got)))
            cards += got
            lines += more
        return problems + check_contacts(cards, lines, entry["contacts"])
    cards, problems, lines = read_cards(path)
    if [c.uid.value for c in cards] != [c["uid"] for c in entry["contacts"]]:
        problems.append("the cards are not those of the $People view, in its order")
    return problems + check_contacts(cards, lines, entry["contacts"])


def main():
    """Checks every entry of FOLDER/expected.json; the exit status is 1 if any entry failed, or
    there was none."""
    folder = sys.argv[1]
    with open(os.path.join(folder, "expected.json"), encoding="utf-8") as f:
        entries = json.load(f)
    failed = not entries
    for entry in entries:
        problems = check(folder, entry)
        print("%s: %s" % (entry["file"], "ok" if not problems else "FAILED"))
        for p in problems:
            print("   " + p)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
