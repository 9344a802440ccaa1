// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and releasing the "$People" view of an address book (see PeopleView.h).
#include "notes/PeopleView.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace notes {

namespace {

// A book can be too big for the memory at hand (or hold a value too long for the reader): that
// is a failure of the book like any other, never an exception that escapes the walk.
const char *const kOutOfMemory =
    "There is not enough memory to read this address book: it is too large, or it holds a value "
    "too long for this program.";

} // namespace

PeopleView::Opened PeopleView::open(const SessionFactory &factory, const std::string &path,
                                    bool readTitle, std::string &reason,
                                    const std::string &viewName)
{
    try {
        return openView(factory, path, readTitle, reason, viewName);
    } catch (const std::bad_alloc &) {
    } catch (const std::length_error &) {
    }
    reason = kOutOfMemory;
    release();
    return Opened::CannotOpen;
}

PeopleView::Opened PeopleView::openView(const SessionFactory &factory, const std::string &path,
                                        bool readTitle, std::string &reason,
                                        const std::string &viewName)
{
    SessionResult created = createSession(factory);
    if (!created.session) {
        reason = std::move(created.error);
        return Opened::NotInstalled;
    }
    session = std::move(created.session);
    try {
        database = session->GetDatabase("", path);
        if (readTitle)
            database->Title();
        view = database->GetView(viewName);
        navigator = view->CreateViewNav();
        entry = navigator->GetFirstDocument();
    } catch (const NotesUnavailable &e) {
        reason = e.reason();
        release();
        return Opened::NotInstalled;
    } catch (const NotesError &e) {
        reason = e.reason();
        release();
        return Opened::CannotOpen;
    }
    return Opened::Yes;
}

std::int64_t PeopleView::count()
{
    try {
        return navigator->Count();
    } catch (const NotesError &) {
        return 0;
    }
}

PeopleView::Walked PeopleView::walk(const std::function<void(NotesDocument &)> &read,
                                    const std::function<void(std::int64_t)> &reached)
{
    Walked walked;
    try {
        walkEntries(read, reached, walked);
    } catch (const std::bad_alloc &) {
        walked.stoppedEarly = true;
        walked.stopReason = kOutOfMemory;
    } catch (const std::length_error &) {
        walked.stoppedEarly = true;
        walked.stopReason = kOutOfMemory;
    }
    return walked;
}

void PeopleView::walkEntries(const std::function<void(NotesDocument &)> &read,
                             const std::function<void(std::int64_t)> &reached, Walked &walked)
{
    std::int64_t counter = 0;
    while (entry) {
        try {
            document = entry->Document();
            read(*document);
            ++walked.read;
        } catch (const NotesError &e) {
            if (walked.skipped++ == 0)
                walked.skipReason = e.reason();
        }
        reached(++counter);

        try {
            entry = navigator->GetNextDocument(*entry);
        } catch (const NotesError &e) {
            walked.stoppedEarly = true;
            walked.stopReason = e.reason();
            break;
        }
    }
}

void PeopleView::release()
{
    entry.reset();
    navigator.reset();
    view.reset();
    document.reset();
    database.reset();
    session.reset();
}

namespace {

WalkOutcome walk(const SessionFactory &factory, const std::string &path, bool readTitle,
                 const std::string &viewName, const Prepare &prepare,
                 const std::function<void(std::int64_t)> &started,
                 const std::function<void(NotesDocument &)> &read,
                 const std::function<void(std::int64_t)> &reached)
{
    WalkOutcome outcome;
    PeopleView held;
    switch (held.open(factory, path, readTitle, outcome.reason, viewName)) {
    case PeopleView::Opened::Yes:
        break;
    case PeopleView::Opened::NotInstalled:
        outcome.kind = WalkOutcome::Kind::NotInstalled;
        return outcome;
    case PeopleView::Opened::CannotOpen:
        outcome.kind = WalkOutcome::Kind::CannotOpen;
        return outcome;
    }

    if (prepare) {
        try {
            prepare(*held.database, *held.view);
        } catch (const NotesError &e) {
            outcome.reason = e.reason();
        } catch (const std::bad_alloc &) {
            outcome.reason = kOutOfMemory;
        } catch (const std::length_error &) {
            outcome.reason = kOutOfMemory;
        }
        if (!outcome.reason.empty()) {
            held.release();
            outcome.kind = WalkOutcome::Kind::CannotOpen;
            return outcome;
        }
    }
    outcome.entryCount = held.count();
    started(outcome.entryCount);
    if (!held.entry) {
        outcome.kind = WalkOutcome::Kind::EmptyView;
        return outcome;
    }

    const PeopleView::Walked walked = held.walk(read, reached);
    outcome.delivered = walked.read;
    outcome.skipped = walked.skipped;
    outcome.skipReason = walked.skipReason;
    if (walked.stoppedEarly) {
        outcome.kind = WalkOutcome::Kind::StoppedEarly;
        outcome.reason = walked.stopReason;
    } else {
        outcome.kind =
            outcome.skipped == 0 ? WalkOutcome::Kind::Completed : WalkOutcome::Kind::Incomplete;
    }
    return outcome;
}

} // namespace

WalkOutcome walkPeople(const SessionFactory &factory, const std::string &path, bool readTitle,
                       const std::function<void(std::int64_t)> &started,
                       const std::function<void(NotesDocument &)> &read,
                       const std::function<void(std::int64_t)> &reached)
{
    return walk(factory, path, readTitle, "$People", {}, started, read, reached);
}

WalkOutcome walkPeople(const SessionFactory &factory, const std::string &path, bool readTitle,
                       const Prepare &prepare, const std::function<void(std::int64_t)> &started,
                       const std::function<void(NotesDocument &)> &read,
                       const std::function<void(std::int64_t)> &reached)
{
    return walk(factory, path, readTitle, "$People", prepare, started, read, reached);
}

WalkOutcome walkView(const SessionFactory &factory, const std::string &path,
                     const std::string &viewName, const std::function<void(std::int64_t)> &started,
                     const std::function<void(NotesDocument &)> &read,
                     const std::function<void(std::int64_t)> &reached)
{
    return walk(factory, path, false, viewName, {}, started, read, reached);
}

} // namespace notes
