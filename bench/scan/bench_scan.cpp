// SPDX-License-Identifier: GPL-3.0-or-later
// bench_scan FILE: the whole scan of an address book as the program runs it (the client the
// program picks for the file: DXL or the database file reader here; the "$People" order, 42
// items per contact, the contact record), into a sink that only counts. On a DXL book, the
// difference to bench_bare_parse is the cost of the client and the walk.
#include "BenchStats.h"

#include "notes/ScanWalk.h"
#include "notes/sessions/DefaultSessionFactory.h"

#include <cstdint>
#include <cstdio>

namespace {

class CountingSink final : public notes::ScanSink {
public:
    explicit CountingSink(const bench::BenchStats &stats) : m_stats(stats) {}
    void scanStarted(std::int64_t entryCount) override
    {
        m_entryCount = entryCount;
        m_openedAfter = m_stats.elapsedSeconds(); // the book is parsed and sorted by now
    }
    void addContact(const notes::ScannedContact &contact) override
    {
        ++m_contacts;
        m_bytes += contact.record.encode().size(); // as the tree stores it
    }
    void progress(std::int64_t) override {}

    const bench::BenchStats &m_stats;
    double m_openedAfter = 0;
    std::int64_t m_entryCount = 0;
    std::int64_t m_contacts = 0;
    std::uint64_t m_bytes = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const bench::BenchStats stats;
    CountingSink sink(stats);
    const notes::WalkOutcome outcome =
        notes::runScan(notes::sessions::defaultSessionFactory(), argv[1], sink);
    std::printf("%s; opened in %.3f s; %lld contacts of %lld, %llu record bytes\n",
                stats.report("scan", argv[1]).c_str(), sink.m_openedAfter,
                static_cast<long long>(sink.m_contacts), static_cast<long long>(sink.m_entryCount),
                static_cast<unsigned long long>(sink.m_bytes));
    if (outcome.kind != notes::WalkOutcome::Kind::Completed) {
        std::fprintf(stderr, "scan did not complete: %s\n", outcome.reason.c_str());
        return 1;
    }
    return 0;
}
