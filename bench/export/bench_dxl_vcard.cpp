// SPDX-License-Identifier: GPL-3.0-or-later
// bench_dxl_vcard FILE.dxl OUTPUT-FOLDER: the vCard export of a DXL address book as the program
// runs it (the DXL client, the "$People" order, the export job, every card with all 42 fields,
// Contacts.vcf written through QSaveFile), without the window. Compare with bench_bare_parse on
// the same file, as for the CSV export.
#include "BenchStats.h"

#include "export/ExportJob.h"
#include "notes/dxl/DxlClient.h"

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
    ExportRequest request;
    request.book = QString::fromLocal8Bit(argv[1]);
    request.format = ExportFormat::VCard;
    request.folder = QString::fromLocal8Bit(argv[2]);
    const ExportResult result = runExportJob(notes::DxlClient::factory(), request);
    const notes::WalkOutcome &outcome = result.outcome;
    if (result.failure == ExportResult::Failure::Writing) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(result.writtenPath),
                     qPrintable(result.errorText));
        return 1;
    }
    if (outcome.kind != notes::WalkOutcome::Kind::Completed) {
        std::fprintf(stderr, "export did not complete: %s\n", outcome.reason.c_str());
        return 1;
    }
    std::printf("%s; %lld cards of %lld, %llu vCard bytes\n",
                stats.report("DXL vCard export", argv[1]).c_str(),
                static_cast<long long>(outcome.delivered),
                static_cast<long long>(outcome.entryCount),
                static_cast<unsigned long long>(QFileInfo(result.writtenPath).size()));
    return 0;
}
