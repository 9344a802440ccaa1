# SPDX-License-Identifier: GPL-3.0-or-later
"""What read_back.py and read_vcards.py share: the test wrote expected.json into the folder
beside the files it exported, one entry a file; each entry is checked and reported."""
import json
import os
import sys


def run(check):
    """Checks every entry of sys.argv[1]/expected.json with check(folder, entry), which returns
    a list of problems; returns the exit status (1 if any entry failed, or there was none)."""
    folder = sys.argv[1]
    with open(os.path.join(folder, "expected.json"), encoding="utf-8") as f:
        entries = json.load(f)
    failed = False
    for entry in entries:
        problems = check(folder, entry)
        print("%s: %s" % (entry["file"], "ok" if not problems else "FAILED"))
        for p in problems:
            print("   " + p)
        failed = failed or bool(problems)
    if not entries:
        print("no files to check")
        failed = True
    return 1 if failed else 0
