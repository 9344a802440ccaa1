// SPDX-License-Identifier: GPL-3.0-or-later
// make_test_nsf BOOK.dxl OUT.nsf: the documents of a DXL export written as a database file by the
// tests' writer (see NsfWriter.h), to compare the two ways of reading one book by hand or in a
// benchmark.
#include "NsfWriter.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_test_nsf BOOK.dxl OUT.nsf\n");
        return 64;
    }
    try {
        testnsf::writeDatabaseOfDxl(argv[1], argv[2]);
    } catch (const notes::NotesError &e) {
        std::fprintf(stderr, "make_test_nsf: %s\n", e.what());
        return 1;
    }
    return 0;
}
