#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Loads an LDIF export into a real OpenLDAP server and reads it back (read_ldif.py FILE.ldif
BASE_DN EXPECTED.json): a throw-away slapd on a free loopback port, the base entry made here,
FILE.ldif added through the protocol with ldapadd, everything under BASE_DN read back with
ldapsearch and compared with EXPECTED.json, {dn: {attribute: [values]}}. Attribute names compare
in any case, values as multisets (objectClass as a set), DNs and DN values after decoding their
escapes. Exit 0 when equal, 1 on a difference or a refused file, 2 when the server cannot run."""
import base64
import collections
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

SLAPD = "/usr/sbin/slapd"
ROOTDN_PW = "secret"
DN_VALUED = {"member", "uniquemember", "owner", "seealso", "manager", "secretary", "roleoccupant"}
BASE_CLASSES = {"dc": "domain", "o": "organization", "ou": "organizationalUnit"}


def split_unescaped(text, sep):
    pieces, piece = [], ""
    for token in re.findall(r"\\.|[^\\]", text, re.S):
        if token == sep:
            pieces, piece = pieces + [piece], ""
        else:
            piece += token
    return pieces + [piece]


def unescape(raw):
    raw = raw.lstrip(" ")
    value = raw.rstrip(" ")
    if (len(value) - len(value.rstrip("\\"))) % 2:  # the last space was escaped: keep it
        value += " "
    return re.sub(rb"\\([0-9A-Fa-f]{2}|.)",
                  lambda m: bytes.fromhex(m[1].decode()) if len(m[1]) == 2 else m[1],
                  value.encode(), flags=re.S).decode("utf-8", "replace")


def norm_dn(dn):
    """The DN as RDNs of sorted (type in lower case, value) pairs, escapes decoded."""
    return tuple(tuple(sorted((t.strip().lower(), unescape(v)) for t, _, v in
                              (ava.partition("=") for ava in split_unescaped(rdn, "+"))))
                 for rdn in split_unescaped(dn, ",")) if dn.strip() else ()


def parse_ldif(text):
    """{dn: {attribute in lower case: [values]}} of ldapsearch's output."""
    entries = {}
    for record in re.split(r"\n\s*\n", re.sub(r"\n ", "", text.replace("\r\n", "\n"))):
        lines = [ln for ln in record.split("\n") if ln and not ln.startswith("#")]
        pairs = []
        for line in lines:
            name, sep, value = re.match(r"([^:]*)(::?)\s?(.*)", line).groups()
            pairs.append((name.lower(), base64.b64decode(value).decode("utf-8")
                          if sep == "::" else value))
        if pairs and pairs[0][0] == "dn":
            attrs = entries.setdefault(pairs[0][1], {})
            for name, value in pairs[1:]:
                attrs.setdefault(name, []).append(value)
    return entries


def comparable(name, values):
    if name == "objectclass":
        return {v.lower() for v in values}
    return collections.Counter(norm_dn(v) if name in DN_VALUED else v for v in values)


def compare(expected, actual):
    """The differences as lines of text, none when equal."""
    diff = []
    got = {norm_dn(dn): (dn, attrs) for dn, attrs in actual.items()}
    for dn, attrs in expected.items():
        if norm_dn(dn) not in got:
            diff.append(f"missing entry: {dn}")
            continue
        _, have = got.pop(norm_dn(dn))
        want = {k.lower(): v if isinstance(v, list) else [v] for k, v in attrs.items()}
        for name in sorted(set(want) | set(have)):
            w, h = want.get(name, []), have.get(name, [])
            if comparable(name, w) != comparable(name, h):
                diff.append(f"{dn}: {name}: expected {sorted(w)}, got {sorted(h)}")
    diff += [f"extra entry: {dn} {attrs}" for dn, attrs in got.values()]
    return diff


def run(*args, stdin=None):
    return subprocess.run(args, input=stdin, capture_output=True, text=True)


def fail(code, message):
    print(f"read_ldif.py: {message}", file=sys.stderr)
    sys.exit(code)


def main(ldif, base, expected_json):
    for program in (SLAPD, shutil.which("ldapadd"), shutil.which("ldapsearch")):
        if not program or not os.access(program, os.X_OK):
            fail(2, "slapd or ldap-utils is not installed (scripts/setup --wine installs them)")
    with open(expected_json, encoding="utf-8") as f:
        expected = json.load(f)
    rootdn = f"cn=admin,{base}"
    with tempfile.TemporaryDirectory(prefix="read_ldif-") as tmp:
        os.mkdir(os.path.join(tmp, "db"))
        schemas = "".join(f"include /etc/ldap/schema/{s}.schema\n"
                          for s in ("core", "cosine", "inetorgperson", "nis"))
        with open(os.path.join(tmp, "slapd.conf"), "w", encoding="utf-8") as f:
            f.write(f"{schemas}modulepath /usr/lib/ldap\nmoduleload back_mdb\n"
                    f"database mdb\nsuffix \"{base}\"\nrootdn \"{rootdn}\"\n"
                    f"rootpw {ROOTDN_PW}\ndirectory \"{tmp}/db\"\nsizelimit unlimited\n")
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            url = f"ldap://127.0.0.1:{s.getsockname()[1]}"
        log = open(os.path.join(tmp, "slapd.log"), "w+", encoding="utf-8")
        slapd = subprocess.Popen([SLAPD, "-d", "none", "-h", url, "-f", f"{tmp}/slapd.conf"],
                                 stdout=log, stderr=subprocess.STDOUT)
        try:
            bind = ("-x", "-H", url, "-D", rootdn, "-w", ROOTDN_PW)
            for _ in range(100):
                if slapd.poll() is not None:
                    log.seek(0)
                    fail(2, f"slapd did not start:\n{log.read()}")
                if run("ldapsearch", *bind, "-b", "", "-s", "base").returncode == 0:
                    break
                time.sleep(0.1)
            else:
                fail(2, "slapd did not answer within 10 s")
            kind, _, value = split_unescaped(base, ",")[0].partition("=")
            kind = kind.strip().lower()
            if kind not in BASE_CLASSES:
                fail(2, f"a base DN starting with {kind}= is not supported")
            made = run("ldapadd", *bind, stdin=f"dn: {base}\nobjectClass: {BASE_CLASSES[kind]}\n"
                       f"{kind}: {unescape(value)}\n")
            if made.returncode:
                fail(2, f"the base entry {base} was refused:\n{made.stderr}")
            added = run("ldapadd", "-c", *bind, "-f", ldif)
            if added.returncode:
                fail(1, f"ldapadd refused {ldif}:\n{added.stdout}{added.stderr}")
            found = run("ldapsearch", *bind, "-LLL", "-o", "ldif-wrap=no", "-b", base)
            if found.returncode:
                fail(2, f"ldapsearch failed:\n{found.stderr}")
        finally:
            slapd.terminate()
            try:
                slapd.wait(10)
            except subprocess.TimeoutExpired:
                slapd.kill()
                slapd.wait()
            log.close()
    actual = {dn: a for dn, a in parse_ldif(found.stdout).items() if norm_dn(dn) != norm_dn(base)}
    diff = compare(expected, actual)
    print("\n".join(diff) or f"{ldif}: {len(actual)} entries as expected")
    return 1 if diff else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        fail(2, "usage: read_ldif.py FILE.ldif BASE_DN EXPECTED.json")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))  # so that slapd is stopped too
    sys.exit(main(*sys.argv[1:]))
