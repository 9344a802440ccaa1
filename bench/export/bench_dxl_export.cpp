// SPDX-License-Identifier: GPL-3.0-or-later
// bench_dxl_export FILE.dxl OUTPUT-FOLDER [csv|vcard|vcard-files|ldif]: the export of a DXL address
// book as the program runs it, through the export job the window and the command line call (the DXL
// client, the "$People" order, the export walk, the encoding check, the output written and put
// in place), without the window: the CSV with all 28 fields ticked (the default), Contacts.vcf,
// one vCard file per contact, every card with all 42 fields, or Contacts.ldif (Thunderbird's form).
// Compare with bench_bare_parse on the same file: the difference is the cost of the client, the
// walk and the writing.
#include "BenchStats.h"

#include "export/ExportJob.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <numeric>

namespace {

// The bytes written: the file, or every file of the folder.
qint64 bytesIn(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return info.size();
    qint64 bytes = 0;
    for (QDirIterator it(path, QDir::Files); it.hasNext();)
        bytes += it.nextFileInfo().size();
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    // The formats by the names the command line gives them.
    const QString formatName = QString::fromLatin1(argc == 4 ? argv[3] : "csv");
    exporting::ExportRequest request;
    bool known = false;
    for (const exporting::ExportFormat format : exporting::kExportFormats) {
        if (formatName == exporting::exportFormatName(format)) {
            request.format = format;
            known = true;
        }
    }
    if (argc < 3 || argc > 4 || !known) {
        std::fprintf(stderr, "usage: %s FILE.dxl OUTPUT-FOLDER [csv|vcard|vcard-files|ldif]\n",
                     argv[0]);
        return 2;
    }
    const bench::BenchStats stats;
    request.book = QString::fromLocal8Bit(argv[1]);
    request.folder = QString::fromLocal8Bit(argv[2]);
    request.positions.resize(notes::kExportColumnCount);
    std::iota(request.positions.begin(), request.positions.end(), std::size_t{0});
    double openedAfter = 0;
    request.started = [&](std::int64_t) { openedAfter = stats.elapsedSeconds(); };

    const exporting::ExportResult result =
        exporting::runExportJob(notes::dxl::DxlClient::factory(), request);
    const notes::WalkOutcome &outcome = result.outcome;
    if (result.failure == exporting::ExportResult::Failure::Writing) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(result.writtenPath),
                     qPrintable(result.errorText));
        return 1;
    }
    if (outcome.kind != notes::WalkOutcome::Kind::Completed) {
        std::fprintf(stderr, "export did not complete: %s\n", outcome.reason.c_str());
        return 1;
    }
    std::printf("%s; opened in %.3f s; %lld contacts of %lld, %lld bytes%s\n",
                stats.report("DXL export " + formatName.toStdString(), argv[1]).c_str(),
                openedAfter, static_cast<long long>(outcome.delivered),
                static_cast<long long>(outcome.entryCount),
                static_cast<long long>(bytesIn(result.writtenPath)),
                result.utf8Fallback ? " (UTF-8 fallback)" : "");
    return 0;
}
