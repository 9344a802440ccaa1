// The export walk's sink that hands everything to an ExportWriter: what the command line, the
// tests and the benchmarks feed a writer with. The window is a sink of its own, as it also moves
// its progress bar. Progress goes to an optional callback.
#pragma once

#include "ExportWalk.h"
#include "ExportWriter.h"

#include <cstdint>
#include <functional>

class WriterSink final : public exportcore::ExportSink {
public:
    using Progress = std::function<void(std::int64_t)>;

    // `started` gets the navigator's count, `progress` the number of each document reached.
    explicit WriterSink(ExportWriter &writer, Progress started = {}, Progress progress = {})
        : m_writer(writer), m_started(std::move(started)), m_progress(std::move(progress))
    {
    }

    void started(std::int64_t entryCount) override
    {
        if (m_started)
            m_started(entryCount);
    }
    void line(const std::string &utf8) override { m_writer.writeLine(utf8); }
    void contact(const exportcore::FormattedContact &formatted) override
    {
        m_writer.writeContact(formatted);
    }
    void progress(std::int64_t documentNumber) override
    {
        if (m_progress)
            m_progress(documentNumber);
    }

private:
    ExportWriter &m_writer;
    Progress m_started;
    Progress m_progress;
};
