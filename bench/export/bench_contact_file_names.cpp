// SPDX-License-Identifier: GPL-3.0-or-later
// bench_contact_file_names [COUNT]: the file names of the one-vCard-per-contact export, taken for
// COUNT contacts (20,000 unless told) of one name ("Anna Lee", "Anna Lee (2)", ...) and for COUNT
// contacts of as many different names. A book where thousands of people share a name should cost
// no more than one where every name differs; the two lines show whether it does. The names are
// made before the clock starts, and every name taken is checked to be new, so that a fast run
// cannot be a wrong one.
#include "BenchStats.h"

#include "export/ContactFileNames.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

bool run(const char *label, const QStringList &contacts)
{
    exporting::ContactFileNames names;
    QStringList taken;
    taken.reserve(contacts.size());
    const bench::BenchStats stats;
    for (const QString &contact : contacts)
        taken << names.take(contact);
    const double seconds = stats.elapsedSeconds();

    QSet<QString> distinct;
    for (const QString &name : std::as_const(taken))
        distinct.insert(name.toCaseFolded());
    std::printf("%s: %lld names in %.3f s (%.2f us each), peak RSS %.1f MiB\n", label,
                static_cast<long long>(contacts.size()), seconds,
                contacts.isEmpty() ? 0.0 : seconds * 1e6 / double(contacts.size()),
                bench::BenchStats::peakRssMiB());
    if (distinct.size() != taken.size()) {
        std::fprintf(stderr, "%s: %lld names given twice\n", label,
                     static_cast<long long>(taken.size() - distinct.size()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    if (argc > 2 || count <= 0) {
        std::fprintf(stderr, "usage: %s [COUNT]\n", argv[0]);
        return 2;
    }
    QStringList same;
    QStringList different;
    for (long i = 0; i < count; ++i) {
        same << QStringLiteral("Anna Lee");
        different << QStringLiteral("Anna Lee %1").arg(i);
    }
    const bool ok = run("one name", same) && run("different names", different);
    return ok ? 0 : 1;
}
