// bench_dxl_vcard FILE.dxl OUTPUT-FOLDER: the vCard export of a DXL address book as the program
// runs it (the DXL client, the "$People" order, the export walk, every card with all 42 fields,
// Contacts.vcf written through QSaveFile), without the window. Compare with bench_bare_parse on
// the same file, as for the CSV export.
#include "BenchStats.h"

#include "DxlClient.h"
#include "ExportFormat.h"
#include "ExportWalk.h"
#include "WriterSink.h"

#include <QFileInfo>
#include <QString>

#include <cstdint>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE.dxl OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const bench::BenchStats stats;
    const std::unique_ptr<ExportWriter> writer = makeExportWriter(
        ExportFormat::VCard, QString::fromLocal8Bit(argv[2]), QStringConverter::System);
    if (!writer->open()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(writer->writtenPath()),
                     qPrintable(writer->errorString()));
        return 1;
    }
    const auto format = makeContactFormat(ExportFormat::VCard, {});
    WriterSink sink(*writer);
    const notes::WalkOutcome outcome =
        exportcore::runExport(notes::DxlClient::factory(), argv[1], *format, sink);
    if (outcome.kind != notes::WalkOutcome::Kind::Completed) {
        std::fprintf(stderr, "export did not complete: %s\n", outcome.reason.c_str());
        return 1;
    }
    if (!writer->commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(writer->writtenPath()),
                     qPrintable(writer->errorString()));
        return 1;
    }
    std::printf("%s; %lld cards of %lld, %llu vCard bytes\n",
                stats.report("DXL vCard export", argv[1]).c_str(),
                static_cast<long long>(outcome.delivered),
                static_cast<long long>(outcome.entryCount),
                static_cast<unsigned long long>(QFileInfo(writer->writtenPath()).size()));
    return 0;
}
