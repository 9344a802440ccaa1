#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes samples/names.dxl: a small invented address book in DXL form for trying the program
and for the tests. Besides ordinary contacts it holds the awkward cases a real book has:
multi-valued items, dates and numbers, empty and absent items, first names that start with a
digit, with spaces, with an accented or a CJK letter, values with commas, quotes, line breaks,
"|" and an emoji, plus a Group and a Connection document that are not contacts.

Usage: make_sample_names.py OUT.dxl   (the output is the same on every run)"""
import random
import sys
from xml.sax.saxutils import escape, quoteattr

rng = random.Random(1038)

FIRST = ["Ann", "Bruno", "Carla", "Dmitri", "Elena", "Farid", "Greta", "Hiro", "Ines", "Jonas",
         "Katya", "Lars", "Mina", "Nuno", "Olga", "Pavel", "Quinn", "Rosa", "Sven", "Tomasz",
         "Ulla", "Viktor", "Wanda", "Yusuf", "Zora", "Ada", "Boris", "Chloe", "Derya", "Emil"]
LAST = ["Abbott", "Berg", "Castillo", "Dahl", "Eriksen", "Ferreira", "Gupta", "Holm", "Ivanova",
        "Jansen", "Kowalski", "Lindqvist", "Moreau", "Nakamura", "Okafor", "Petrov", "Rossi",
        "Schmidt", "Tanaka", "Varga", "Weber", "Yilmaz", "Zimmer"]
COMPANY = ["Brightwater Instruments", "Calloway & Finch", "Dunmore Logistics", "Elmstead Foods",
           "Fernhill Software", "Glasswing Media"]
CITY = ["Riverton", "Lakeside", "Northwick", "Easton", "Millbrook", "Ashford"]


def text_item(name, value):
    if value is None:
        return ""
    if isinstance(value, list):
        inner = "".join("<text>%s</text>" % v for v in value)
        return "<item name=%s><textlist>%s</textlist></item>\n" % (quoteattr(name), inner)
    if value == "":
        return "<item name=%s><text/></item>\n" % quoteattr(name)
    return "<item name=%s><text>%s</text></item>\n" % (quoteattr(name), value)


def person(n, fields, extra=""):
    unid = "%032X" % rng.getrandbits(128)
    out = ["<document form='Person'>\n",
           "<noteinfo noteid='%x' unid='%s' sequence='%d'>\n" % (0x8F6 + 4 * n, unid, 1 + n % 5),
           "<created><datetime>2019%02d%02dT%02d1500,00+01</datetime></created>\n"
           % (1 + n % 12, 1 + n % 28, 8 + n % 10),
           "</noteinfo>\n"]
    out.append(text_item("Form", escape("Person")))
    out.append(text_item("Type", escape("Person")))
    for name, value in fields:
        if name.startswith("<"):
            out.append(value)
        else:
            out.append(text_item(name, value))
    out.append(extra)
    out.append("</document>\n")
    return "".join(out)


def ordinary(n):
    first = FIRST[n % len(FIRST)]
    last = LAST[(n * 7) % len(LAST)]
    user = "%s.%s" % (first.lower(), last.lower())
    company = COMPANY[n % len(COMPANY)]
    return [
        ("FirstName", escape(first)),
        ("MiddleInitial", chr(ord("A") + n % 26) if n % 3 == 0 else ""),
        ("LastName", escape(last)),
        ("FullName", ["CN=%s %s/O=Example" % (first, last), "%s %s" % (first, last)]),
        ("MailAddress", "%s@example.com" % user),
        ("CompanyName", escape(company)),
        ("JobTitle", ["Engineer", "Buyer", "Designer", "Consultant"][n % 4]),
        ("OfficeStreetAddress", "%d Commerce Way" % (10 + n)),
        ("OfficeCity", CITY[n % len(CITY)]),
        ("OfficeZip", "%05d" % (10000 + 37 * n)),
        ("OfficeCountry", "Examplia"),
        ("WebSite", "https://www.example.org/%s" % user),
        ("OfficePhoneNumber", "+1 555 01%02d" % n),
        ("CellPhoneNumber", "+1 555 02%02d" % n),
        ("City", CITY[(n + 2) % len(CITY)]),
        ("PhoneNumber", "+1 555 03%02d" % n),
        ("<birthday>", "<item name='Birthday'><datetime>19%02d%02d%02d</datetime></item>\n"
         % (50 + n % 45, 1 + n % 12, 1 + n % 28) if n % 2 == 0 else ""),
        ("Categories", ["Customers", "Press"] if n % 5 == 0 else "Customers"),
    ]


def special():
    """The hard cases, each a list of fields (FirstName first)."""
    return [
        # Every contact field filled; multi-valued items; dates; a number.
        [("FirstName", "Harriet"), ("MiddleInitial", "Q"), ("LastName", "Albright"),
         ("Suffix", "Jr."), ("Title", "Dr."),
         ("FullName", ["CN=Harriet Q Albright/O=Example", "Harriet Albright", "hqa"]),
         ("MailAddress", "harriet.albright@example.com"),
         ("CompanyName", "Albright, Boyle &amp; Partners"), ("JobTitle", "Managing Partner"),
         ("OfficeStreetAddress", "1 Quay Street<break/>Floor 3"), ("OfficeCity", "Riverton"),
         ("OfficeZip", "10001"), ("OfficeState", "NA"), ("OfficeCountry", "Examplia"),
         ("Location", "HQ"), ("WebSite", "https://albright.example.org"),
         ("Department", "Board"), ("Manager", "CN=Board/O=Example"), ("Assistant", "Ben Otto"),
         ("OfficePhoneNumber", "+1 555 0100"), ("OfficeFAXPhoneNumber", "+1 555 0101"),
         ("CellPhoneNumber", "+1 555 0102"), ("PhoneNumber_6", "+1 555 0103"),
         ("MiscPhone1", "h.albright@example.org"), ("MiscPhone2", "harriet@example.net"),
         ("MiscPhone3", "ha@example.com"), ("StreetAddress", "22 Elm Street"),
         ("City", "Lakeside"), ("Zip", "10002"), ("State", "NA"), ("Country", "Examplia"),
         ("Spouse", "Morris"), ("Children", "Ivy, Oscar"), ("PhoneNumber", "+1 555 0104"),
         ("HomeFAXPhoneNumber", "+1 555 0105"), ("PersPager", "+1 555 0106"),
         ("<dates>", "<item name='Birthday'><datetime>19680214</datetime></item>\n"
                     "<item name='Anniversary'><datetimelist><datetime>19940618T153000,00+02"
                     "</datetime><datetime>20190618</datetime></datetimelist></item>\n"),
         ("Comment", "Prefers letters; says &quot;never&quot; to calls, ever."),
         ("ShortName", "halbright"), ("AltFullNameSort", "Albright Harriet"),
         ("MailDomain", "EXAMPLE"),
         ("Categories", ["VIP", "Customers", "Board"]),
         ("<number>", "<item name='Extension'><number>4711</number></item>\n"
                      "<item name='Floors'><numberlist><number>3</number><number>4.5</number>"
                      "</numberlist></item>\n")],
        # A first name that starts with a digit.
        [("FirstName", "2nd Shift Desk"), ("LastName", "Operations"),
         ("MailAddress", "ops@example.com"), ("CompanyName", "Dunmore Logistics")],
        # Leading spaces before the first name.
        [("FirstName", "  anna"), ("LastName", "Lee"), ("MailAddress", "anna.lee@example.com")],
        # Accented and CJK first names.
        [("FirstName", "Élodie"), ("LastName", "Marchand"),
         ("MailAddress", "elodie.marchand@example.org"), ("City", "Montréal-Nord")],
        [("FirstName", "美咲"), ("LastName", "Sato"), ("MailAddress", "misaki.sato@example.com"),
         ("AltFullNameSort", "さとう みさき")],
        # No first name at all, and a first name of spaces only.
        [("LastName", "Smith"), ("MailAddress", "smith@example.com")],
        [("FirstName", "   "), ("LastName", "Blank"), ("MailAddress", "blank@example.com")],
        # Values holding a comma, quotes, a line break, "|" and an emoji.
        [("FirstName", "Pipe"), ("LastName", "Tester"),
         ("CompanyName", "Left|Right Ltd"), ("JobTitle", "Head of A|B tests"),
         ("Comment", "First line<break/>Second line, with &quot;quotes&quot; and a | bar 🎉"),
         ("Categories", ["Friends 🎉", "Tests"])],
        # Items written in another case (the first of two wins), and an empty item.
        [("firstname", "Oskar"), ("FirstName", "Shadowed"), ("lastname", "Lowe"),
         ("MAILADDRESS", "oskar.lowe@example.com"), ("MiddleInitial", ""), ("Comment", "")],
        # Only a company name: a contact without a person's name.
        [("CompanyName", "Ironbark Mining"), ("MailAddress", "info@example.com")],
    ]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    docs = []
    n = 0
    for fields in special():
        docs.append(person(n, fields))
        n += 1
    while n < 50:
        docs.append(person(n, ordinary(n)))
        n += 1
    # Not contacts: a group and a connection document sit among the people.
    docs.insert(7, "<document form='Group'>\n<noteinfo noteid='%x' unid='%032X'/>\n"
                   "<item name='Form'><text>Group</text></item>\n"
                   "<item name='Type'><text>Group</text></item>\n"
                   "<item name='ListName'><text>Sales Team</text></item>\n"
                   "<item name='FirstName'><text>Group</text></item>\n"
                   "<item name='Members'><textlist><text>CN=Ann Abbott/O=Example</text>"
                   "<text>CN=Bruno Berg/O=Example</text></textlist></item>\n</document>\n"
                % (0x2000, rng.getrandbits(128)))
    docs.insert(20, "<document form='Connection'>\n<noteinfo noteid='%x' unid='%032X'/>\n"
                    "<item name='Form'><text>Connection</text></item>\n"
                    "<item name='Type'><text>Connection</text></item>\n"
                    "<item name='Destination'><text>CN=Mail1/O=Example</text></item>\n"
                    "<item name='LastName'><text>Aaron</text></item>\n</document>\n"
                 % (0x2004, rng.getrandbits(128)))
    with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as out:
        out.write("<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE database>\n")
        out.write("<database xmlns='http://www.lotus.com/dxl' version='8.5' "
                  "replicaid='85257A3B00C0FFEE' path='names.nsf' "
                  "title='Example Company Directory'>\n")
        out.write("<databaseinfo dbid='85257A3B00C0FFEE' odsversion='51'/>\n")
        out.write("".join(docs))
        out.write("</database>\n")


if __name__ == "__main__":
    main()
