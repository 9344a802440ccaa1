// SPDX-License-Identifier: GPL-3.0-or-later
// The export command (see ExportCommand.h).
#include "cli/ExportCommand.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalProgress.h"
#include "export/ExportJob.h"
#include "export/WalkMessages.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

int runExportCommand(exporting::ExportRequest request, const notes::SessionFactory &factory,
                     const Console &console)
{
    // Said before the writers try, which would name a file inside it that cannot be made.
    const QFileInfo folder(request.folder);
    if (!folder.isDir()) {
        const QString place = QDir::toNativeSeparators(request.folder);
        printMessage(console, folder.exists()
                                  ? QStringLiteral("%1 is not a folder.").arg(place)
                                  : QStringLiteral("the folder %1 does not exist.").arg(place));
        return kExitFailed;
    }
    TerminalProgress bar(console);
    const QString book = request.book;
    request.opening = [&bar, &book] { bar.reading(book); };
    request.started = [&bar](std::int64_t count) { bar.started(count); };
    request.progress = [&bar](std::int64_t reached) { bar.progress(reached); };
    const exporting::ExportResult result = exporting::runExportJob(factory, request);
    bar.finish();

    switch (result.failure) {
    case exporting::ExportResult::Failure::Writing:
        printMessage(console, exporting::cannotWrite(result.writtenPath, result.errorText));
        return kExitFailed;
    case exporting::ExportResult::Failure::Book:
        printMessage(console, exporting::cannotOpenBook(request.book, result.outcome));
        return kExitFailed;
    case exporting::ExportResult::Failure::None:
        break;
    }
    // The window's completion message, then the path of what was written on a line of its own.
    printMessage(console, exporting::completion(result.outcome, result.utf8Fallback) +
                              QLatin1Char('\n') + result.writtenPath);
    using Kind = notes::WalkOutcome::Kind;
    return result.outcome.kind == Kind::Completed || result.outcome.kind == Kind::EmptyView
               ? kExitOk
               : kExitSkipped;
}

} // namespace cli
