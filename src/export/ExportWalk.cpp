// The CSV export over the Notes object model (see ExportWalk.h). Opening the book is all or
// nothing, and nothing is handed to the sink before it is open, so a book that cannot be opened
// leaves no file behind. After that a document that cannot be read is skipped and counted, and
// the walk goes on for as long as the navigator can move.
#include "ExportWalk.h"

#include "CsvFormat.h"
#include "FieldSchema.h"
#include "PeopleView.h"

namespace exportcore {

namespace {

// The document's line; throws NotesError when any ticked item cannot be read, so that a
// half-read document never reaches the file with empty columns that look like real data.
std::string documentLine(notes::NotesDocument &document, const std::vector<std::size_t> &positions,
                         std::vector<std::string> &values)
{
    values.clear();
    for (const std::size_t position : positions)
        values.push_back(
            notes::firstText(document.GetItemValue(notes::kExportColumns[position].item)));
    return csvLine(values);
}

} // namespace

std::string headingLine(const std::vector<std::size_t> &positions)
{
    std::vector<std::string> captions;
    captions.reserve(positions.size());
    for (const std::size_t position : positions)
        captions.emplace_back(notes::kExportColumns[position].caption);
    return csvLine(captions);
}

notes::WalkOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                             const std::vector<std::size_t> &positions, ExportSink &sink)
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
    sink.line(headingLine(positions));
    if (!held.entry) {
        outcome.kind = notes::WalkOutcome::Kind::EmptyView;
        return outcome;
    }

    std::vector<std::string> values;
    values.reserve(positions.size());
    const notes::PeopleView::Walked walked = held.walk(
        [&](notes::NotesDocument &document) {
            sink.line(documentLine(document, positions, values));
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
