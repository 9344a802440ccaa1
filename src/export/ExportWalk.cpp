// The CSV export over the Notes object model (see ExportWalk.h). Opening the book is all or
// nothing, and nothing is handed to the sink before it is open, so a book that cannot be opened
// leaves no file behind. After that a document that cannot be read is skipped and counted, and
// the walk goes on for as long as the navigator can move.
#include "ExportWalk.h"

#include "CsvFormat.h"
#include "ExportFields.h"
#include "PeopleView.h"

#include <memory>
#include <utility>

namespace exportcore {

namespace {

// The document's line; throws NotesError when any ticked item cannot be read, so that a
// half-read document never reaches the file with empty columns that look like real data.
std::string documentLine(notes::NotesDocument &document, const std::vector<std::size_t> &positions,
                         std::vector<std::string> &values)
{
    values.clear();
    for (const std::size_t position : positions)
        values.push_back(notes::firstText(document.GetItemValue(kExportFields[position].item)));
    return csvLine(values);
}

} // namespace

std::string headingLine(const std::vector<std::size_t> &positions)
{
    std::vector<std::string> captions;
    captions.reserve(positions.size());
    for (const std::size_t position : positions)
        captions.emplace_back(kExportFields[position].caption);
    return csvLine(captions);
}

ExportOutcome runExport(const notes::SessionFactory &factory, const std::string &path,
                        const std::vector<std::size_t> &positions, ExportSink &sink)
{
    ExportOutcome outcome;
    notes::PeopleView held;
    switch (held.open(factory, path, false, outcome.reason)) {
    case notes::PeopleView::Opened::Yes:
        break;
    case notes::PeopleView::Opened::NotInstalled:
        outcome.kind = ExportOutcome::Kind::NotInstalled;
        return outcome;
    case notes::PeopleView::Opened::CannotOpen:
        outcome.kind = ExportOutcome::Kind::CannotOpen;
        return outcome;
    }

    try {
        outcome.entryCount = held.navigator->Count();
    } catch (const notes::NotesError &) {
        // The count only scales the progress bar; the walk itself does not need it.
        outcome.entryCount = 0;
    }
    sink.started(outcome.entryCount);
    sink.line(headingLine(positions));

    if (!held.entry) {
        outcome.kind = ExportOutcome::Kind::EmptyView;
        held.release();
        return outcome;
    }

    std::vector<std::string> values;
    values.reserve(positions.size());
    std::int64_t counter = 0;
    while (held.entry) {
        ++counter;
        std::string line;
        bool read = false;
        try {
            held.document = held.entry->Document();
            line = documentLine(*held.document, positions, values);
            read = true;
        } catch (const notes::NotesError &e) {
            if (outcome.skipped == 0)
                outcome.skipReason = e.reason();
            ++outcome.skipped;
        }
        if (read) {
            sink.line(line);
            ++outcome.written;
        }
        sink.progress(counter);

        try {
            held.entry = held.navigator->GetNextDocument(*held.entry);
        } catch (const notes::NotesError &e) {
            outcome.kind = ExportOutcome::Kind::StoppedEarly;
            outcome.reason = e.reason();
            held.release();
            return outcome;
        }
    }

    outcome.kind =
        outcome.skipped == 0 ? ExportOutcome::Kind::Completed : ExportOutcome::Kind::Incomplete;
    held.release();
    return outcome;
}

} // namespace exportcore
