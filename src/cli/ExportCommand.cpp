// The export command (see ExportCommand.h).
#include "ExportCommand.h"

#include "CommandLine.h"
#include "ExportMessages.h"
#include "ExportWalk.h"
#include "TerminalProgress.h"
#include "WriterSink.h"

namespace cli {

namespace {

void say(const Console &console, const QString &text)
{
    console.err->write(text.toUtf8() + '\n');
}

} // namespace

int runExportCommand(const ExportRequest &request, const notes::SessionFactory &factory,
                     const Console &console)
{
    const std::unique_ptr<ExportWriter> writer =
        makeExportWriter(request.format, request.folder, QStringConverter::System);
    if (!writer->open()) {
        say(console, exportmessages::cannotWrite(writer->writtenPath(), writer->errorString()));
        return kExitFailed;
    }
    const std::unique_ptr<exportcore::ContactFormat> format =
        makeContactFormat(request.format, request.positions);

    TerminalProgress bar(console);
    WriterSink sink(
        *writer, [&bar](std::int64_t count) { bar.started(count); },
        [&bar](std::int64_t reached) { bar.progress(reached); });
    const notes::WalkOutcome outcome =
        exportcore::runExport(factory, request.book.toStdString(), *format, sink);
    bar.finish();

    using Kind = notes::WalkOutcome::Kind;
    if (outcome.kind == Kind::NotInstalled || outcome.kind == Kind::CannotOpen) {
        say(console, exportmessages::cannotOpen(outcome));
        return kExitFailed; // the writer goes without commit: nothing is written
    }
    if (!writer->commit()) {
        say(console, exportmessages::cannotWrite(writer->writtenPath(), writer->errorString()));
        return kExitFailed;
    }
    say(console, exportmessages::completion(outcome, writer->usedUtf8Fallback()));
    say(console, writer->writtenPath());
    return outcome.kind == Kind::Completed || outcome.kind == Kind::EmptyView ? kExitOk
                                                                              : kExitSkipped;
}

} // namespace cli
