// SPDX-License-Identifier: GPL-3.0-or-later
// The export job (see ExportJob.h). The writer is opened before the book, so that a destination
// that cannot be written is told before a long walk; and a book that cannot be opened leaves the
// writer without commit, so nothing is written then.
#include "export/ExportJob.h"

#include "export/ExportWriter.h"
#include "export/format/ExportWalk.h"

namespace exporting {

namespace {

// Hands the walk's lines and contacts to the writer and its progress to the request's callbacks.
class WriterSink final : public formats::ExportSink {
public:
    WriterSink(ExportWriter &writer, const ExportRequest &request)
        : m_writer(writer), m_request(request)
    {
    }

    void started(std::int64_t entryCount) override
    {
        if (m_request.started)
            m_request.started(entryCount);
    }
    void line(const std::string &utf8) override { m_writer.writeLine(utf8); }
    void contact(const formats::FormattedContact &formatted) override
    {
        m_writer.writeContact(formatted);
    }
    void progress(std::int64_t documentNumber) override
    {
        if (m_request.progress)
            m_request.progress(documentNumber);
    }

private:
    ExportWriter &m_writer;
    const ExportRequest &m_request;
};

} // namespace

ExportResult runExportJob(const notes::SessionFactory &factory, const ExportRequest &request)
{
    ExportResult result;
    const std::unique_ptr<ExportWriter> writer =
        makeExportWriter(request.format, request.folder, request.codePage);
    const auto failed = [&result, &writer] {
        result.failure = ExportResult::Failure::Writing;
        result.writtenPath = writer->writtenPath();
        result.errorText = writer->errorString();
        return result;
    };
    if (!writer->open())
        return failed();
    const std::unique_ptr<formats::ContactFormat> format =
        makeContactFormat(request.format, request.positions, request.ldif);

    if (request.opening)
        request.opening();
    WriterSink sink(*writer, request);
    result.outcome = formats::runExport(factory, request.book.toStdString(), *format, sink);

    using Kind = notes::WalkOutcome::Kind;
    if (result.outcome.kind == Kind::NotInstalled || result.outcome.kind == Kind::CannotOpen) {
        result.failure = ExportResult::Failure::Book;
        result.writtenPath = writer->writtenPath();
        return result; // the writer goes without commit
    }
    if (!writer->commit())
        return failed();
    result.writtenPath = writer->writtenPath();
    result.utf8Fallback = writer->usedUtf8Fallback();
    return result;
}

} // namespace exporting
