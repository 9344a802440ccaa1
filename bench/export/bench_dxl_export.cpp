// SPDX-License-Identifier: GPL-3.0-or-later
// bench_dxl_export FILE.dxl OUTPUT.csv: the whole export of a DXL address book as the program
// runs it with all 28 fields ticked (the DXL client, the "$People" order, the export walk, the
// encoding check and the file written through QSaveFile), without the window. Compare with
// bench_bare_parse on the same file: the difference is the cost of the client, the walk and the
// writing.
#include "BenchStats.h"

#include "export/CsvFileWriter.h"
#include "export/format/CsvContactFormat.h"
#include "export/format/ExportWalk.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

class FileSink final : public exportcore::ExportSink {
public:
    FileSink(CsvFileWriter &writer, const bench::BenchStats &stats)
        : m_writer(writer), m_stats(stats)
    {
    }
    void started(std::int64_t) override { m_openedAfter = m_stats.elapsedSeconds(); }
    void line(const std::string &utf8) override
    {
        m_bytes += utf8.size();
        m_writer.writeLine(utf8);
    }
    void progress(std::int64_t) override {}

    CsvFileWriter &m_writer;
    const bench::BenchStats &m_stats;
    double m_openedAfter = 0;
    std::uint64_t m_bytes = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE.dxl OUTPUT.csv\n", argv[0]);
        return 2;
    }
    const bench::BenchStats stats;
    std::vector<std::size_t> all(notes::kExportColumnCount);
    std::iota(all.begin(), all.end(), std::size_t{0});

    CsvFileWriter writer(QString::fromLocal8Bit(argv[2]), QStringConverter::System);
    if (!writer.open()) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], qPrintable(writer.errorString()));
        return 1;
    }
    FileSink sink(writer, stats);
    exportcore::CsvContactFormat format(all);
    const notes::WalkOutcome outcome =
        exportcore::runExport(notes::DxlClient::factory(), argv[1], format, sink);
    if (outcome.kind != notes::WalkOutcome::Kind::Completed) {
        std::fprintf(stderr, "export did not complete: %s\n", outcome.reason.c_str());
        return 1;
    }
    if (!writer.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], qPrintable(writer.errorString()));
        return 1;
    }
    std::printf("%s; opened in %.3f s; %lld contacts of %lld, %llu CSV bytes%s\n",
                stats.report("DXL export", argv[1]).c_str(), sink.m_openedAfter,
                static_cast<long long>(outcome.delivered),
                static_cast<long long>(outcome.entryCount),
                static_cast<unsigned long long>(sink.m_bytes),
                writer.usedUtf8Fallback() ? " (UTF-8 fallback)" : "");
    return 0;
}
