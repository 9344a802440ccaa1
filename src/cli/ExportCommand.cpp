// The export command (see ExportCommand.h).
#include "ExportCommand.h"

#include "CommandLine.h"
#include "ExportMessages.h"
#include "ExportWalk.h"
#include "TerminalProgress.h"

namespace cli {

namespace {

class WriterSink final : public exportcore::ExportSink {
public:
    WriterSink(ExportWriter &writer, TerminalProgress &bar) : m_writer(writer), m_bar(bar) {}

    void started(std::int64_t entryCount) override { m_bar.started(entryCount); }
    void line(const std::string &utf8) override { m_writer.writeLine(utf8); }
    void contact(const exportcore::FormattedContact &formatted) override
    {
        m_writer.writeContact(formatted);
    }
    void progress(std::int64_t documentNumber) override { m_bar.progress(documentNumber); }

private:
    ExportWriter &m_writer;
    TerminalProgress &m_bar;
};

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
    WriterSink sink(*writer, bar);
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
