// SPDX-License-Identifier: GPL-3.0-or-later
// Records of what a client delivers (see WalkRecords.h).
#include "WalkRecords.h"

namespace wintest {

namespace {

std::string valueText(const notes::ItemValue &value)
{
    switch (value.kind) {
    case notes::ItemValue::Kind::Text:
        return "text:" + value.text;
    case notes::ItemValue::Kind::Number:
        return "number:" + notes::defaultText(value);
    case notes::ItemValue::Kind::DateTime:
        return std::string("date") + (value.dateTime.hasDate ? "D" : "") +
               (value.dateTime.hasTime ? "T" : "") + ":" + notes::defaultText(value);
    }
    return "?";
}

} // namespace

std::vector<std::string> bookTranscript(notes::NotesSession &session, const std::string &path,
                                        const std::vector<std::string> &items)
{
    std::vector<std::string> lines;
    auto database = session.GetDatabase("", path);
    lines.push_back("title " + database->Title());
    auto view = database->GetView("$People");
    auto navigator = view->CreateViewNav();
    lines.push_back("count " + std::to_string(navigator->Count()));
    auto entry = navigator->GetFirstDocument();
    std::unique_ptr<notes::NotesDocument> document;
    while (entry) {
        document = entry->Document();
        lines.push_back("document " + document->UniversalID() + " " + document->NoteID());
        for (const std::string &item : items) {
            std::string line = "  " + item + " =";
            for (const notes::ItemValue &value : document->GetItemValue(item))
                line += " [" + valueText(value) + "]";
            lines.push_back(line);
        }
        entry = navigator->GetNextDocument(*entry);
    }
    entry.reset();
    navigator.reset();
    view.reset();
    document.reset();
    database.reset();
    return lines;
}

void ScanRecorder::scanStarted(std::int64_t entryCount)
{
    lines.push_back("started " + std::to_string(entryCount));
}

void ScanRecorder::addContact(const notes::ScannedContact &contact)
{
    lines.push_back("contact " + contact.key + " [" + contact.displayName + "] " +
                    contact.groupKey + " " + contact.record.encode());
}

void ScanRecorder::progress(std::int64_t scanCounter)
{
    lines.push_back("progress " + std::to_string(scanCounter));
}

void ExportRecorder::started(std::int64_t entryCount)
{
    lines.push_back("started " + std::to_string(entryCount));
}

void ExportRecorder::line(const std::string &utf8)
{
    lines.push_back("line " + utf8);
}

void ExportRecorder::progress(std::int64_t documentNumber)
{
    lines.push_back("progress " + std::to_string(documentNumber));
}

std::string describe(const notes::WalkOutcome &outcome)
{
    return "kind " + std::to_string(static_cast<int>(outcome.kind)) + " count " +
           std::to_string(outcome.entryCount) + " delivered " + std::to_string(outcome.delivered) +
           " skipped " + std::to_string(outcome.skipped);
}

std::string firstDifference(const std::vector<std::string> &actual,
                            const std::vector<std::string> &expected)
{
    for (std::size_t i = 0; i < actual.size() || i < expected.size(); ++i) {
        const std::string a = i < actual.size() ? actual[i] : "(nothing)";
        const std::string e = i < expected.size() ? expected[i] : "(nothing)";
        if (a != e)
            return "line " + std::to_string(i + 1) + ": \"" + a + "\", expected \"" + e + "\"";
    }
    return {};
}

} // namespace wintest
