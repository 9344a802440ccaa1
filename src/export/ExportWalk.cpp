// The export over the Notes object model (see ExportWalk.h). Opening the book is all or nothing,
// and nothing is handed to the sink before it is open, so a book that cannot be opened leaves no
// file behind. After that a document that cannot be read is skipped and counted, and the walk
// goes on for as long as the navigator can move.
#include "ExportWalk.h"

#include "CsvContactFormat.h"
#include "PeopleView.h"

namespace exportcore {

std::string headingLine(const std::vector<std::size_t> &positions)
{
    return CsvContactFormat(positions).heading();
}

notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             const std::vector<std::size_t> &positions, ExportSink &sink)
{
    CsvContactFormat format(positions);
    return runExport(factory, path, format, sink);
}

notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             ContactFormat &format, ExportSink &sink)
{
    notes::WalkOutcome outcome;
    notes::PeopleView held;
    switch (held.open(factory, path, false, outcome.reason)) {
    case notes::PeopleView::Opened::Yes:
        break;
    case notes::PeopleView::Opened::NotInstalled:
        outcome.kind = notes::WalkOutcome::Kind::NotInstalled;
        return outcome;
    case notes::PeopleView::Opened::CannotOpen:
        outcome.kind = notes::WalkOutcome::Kind::CannotOpen;
        return outcome;
    }

    outcome.entryCount = held.count();
    sink.started(outcome.entryCount);
    const std::string heading = format.heading();
    if (!heading.empty())
        sink.line(heading);
    if (!held.entry) {
        outcome.kind = notes::WalkOutcome::Kind::EmptyView;
        return outcome;
    }

    FormattedContact formatted;
    const notes::PeopleView::Walked walked = held.walk(
        [&](notes::NotesDocument &document) {
            format.format(document, formatted);
            sink.contact(formatted);
        },
        [&sink](std::int64_t reached) { sink.progress(reached); });
    outcome.delivered = walked.read;
    outcome.skipped = walked.skipped;
    outcome.skipReason = walked.skipReason;
    if (walked.stoppedEarly) {
        outcome.kind = notes::WalkOutcome::Kind::StoppedEarly;
        outcome.reason = walked.stopReason;
    } else {
        outcome.kind = outcome.skipped == 0 ? notes::WalkOutcome::Kind::Completed
                                            : notes::WalkOutcome::Kind::Incomplete;
    }
    return outcome;
}

} // namespace exportcore
