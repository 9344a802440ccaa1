// The export command (see ExportCommand.h).
#include "ExportCommand.h"

#include "CommandLine.h"
#include "ExportMessages.h"
#include "ExportWalk.h"
#include "TerminalProgress.h"
#include "WriterSink.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

int runExportCommand(const ExportRequest &request, const notes::SessionFactory &factory,
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
    const std::unique_ptr<ExportWriter> writer =
        makeExportWriter(request.format, request.folder, QStringConverter::System);
    if (!writer->open()) {
        printMessage(console,
                     exportmessages::cannotWrite(writer->writtenPath(), writer->errorString()));
        return kExitFailed;
    }
    const std::unique_ptr<exportcore::ContactFormat> format =
        makeContactFormat(request.format, request.positions);

    TerminalProgress bar(console);
    bar.reading(request.book);
    WriterSink sink(
        *writer, [&bar](std::int64_t count) { bar.started(count); },
        [&bar](std::int64_t reached) { bar.progress(reached); });
    const notes::WalkOutcome outcome =
        exportcore::runExport(factory, request.book.toStdString(), *format, sink);
    bar.finish();

    using Kind = notes::WalkOutcome::Kind;
    if (outcome.kind == Kind::NotInstalled || outcome.kind == Kind::CannotOpen) {
        printMessage(console, cannotOpenBook(request.book, outcome));
        return kExitFailed; // the writer goes without commit: nothing is written
    }
    if (!writer->commit()) {
        printMessage(console,
                     exportmessages::cannotWrite(writer->writtenPath(), writer->errorString()));
        return kExitFailed;
    }
    // The window's completion message, then the path of what was written on a line of its own.
    printMessage(console, exportmessages::completion(outcome, writer->usedUtf8Fallback()) +
                              QLatin1Char('\n') + writer->writtenPath());
    return outcome.kind == Kind::Completed || outcome.kind == Kind::EmptyView ? kExitOk
                                                                              : kExitSkipped;
}

} // namespace cli
