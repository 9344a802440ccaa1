// SPDX-License-Identifier: GPL-3.0-or-later
// The "$People" view of one address book, opened through a session of its own, with every Notes
// object a walk holds. The scan and the export both open the book this way and release the
// objects in the order the Notes client expects (entry, navigator, view, document, database,
// session), on every way out of the walk, exceptions included.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace notes {

class PeopleView final {
public:
    enum class Opened {
        Yes,
        NotInstalled, // no session under either ProgID, or none that reaches the Notes client
        CannotOpen,   // a session, but the book or its "$People" view could not be opened
    };

    PeopleView() = default;
    PeopleView(const PeopleView &) = delete;
    PeopleView &operator=(const PeopleView &) = delete;
    ~PeopleView() { release(); }

    // Creates the session and opens the view down to its first entry (null for an empty view).
    // `readTitle`: touch the database's title first, as the scan does. On failure `reason` says
    // why (running out of memory included) and every object is already released.
    Opened open(const SessionFactory &factory, const std::string &path, bool readTitle,
                std::string &reason, const std::string &viewName = "$People");

    void release();

    // The navigator's count, or 0 when it cannot say: the count only scales progress, the walk
    // does not need it.
    std::int64_t count();

    struct Walked {
        std::int64_t read = 0;
        std::int64_t skipped = 0;
        std::string skipReason; // why the first skipped document could not be read
        bool stoppedEarly = false;
        std::string stopReason; // why the navigator could not go on
    };

    // Walks from the current entry to the last. `read` takes each document; a NotesError from it
    // (or from getting the document) skips that document, and the walk goes on while the
    // navigator can move. `reached` gets the 1-based number of every document, read or skipped.
    // Running out of memory stops the walk early, with a reason.
    Walked walk(const std::function<void(NotesDocument &)> &read,
                const std::function<void(std::int64_t)> &reached);

    std::unique_ptr<NotesSession> session;
    std::unique_ptr<NotesDatabase> database;
    std::unique_ptr<NotesView> view;
    std::unique_ptr<NotesViewNavigator> navigator;
    std::unique_ptr<NotesViewEntry> entry;
    std::unique_ptr<NotesDocument> document;

private:
    Opened openView(const SessionFactory &factory, const std::string &path, bool readTitle,
                    std::string &reason, const std::string &viewName);
    void walkEntries(const std::function<void(NotesDocument &)> &read,
                     const std::function<void(std::int64_t)> &reached, Walked &walked);
};

// The whole walk of the scan and the export: opens the view of the book at `path`, hands its
// entry count to `started` (not called when the book cannot be opened), then every document to
// `read` and every document number to `reached`, as PeopleView::walk does. The outcome says how
// it ended; `readTitle` as for PeopleView::open.
WalkOutcome walkPeople(const SessionFactory &factory, const std::string &path, bool readTitle,
                       const std::function<void(std::int64_t)> &started,
                       const std::function<void(NotesDocument &)> &read,
                       const std::function<void(std::int64_t)> &reached);

// The same walk, with `prepare` run once the book and its "$People" view are open and before
// `started`: it reads what the walk needs to know first (the book's groups, the names of its
// people) through the open database and view. A NotesError from it, or running out of memory,
// ends the walk as a book that cannot be opened, with nothing handed on.
using Prepare = std::function<void(NotesDatabase &, NotesView &)>;
WalkOutcome walkPeople(const SessionFactory &factory, const std::string &path, bool readTitle,
                       const Prepare &prepare, const std::function<void(std::int64_t)> &started,
                       const std::function<void(NotesDocument &)> &read,
                       const std::function<void(std::int64_t)> &reached);

// The same walk over another view of the book (kEveryDocumentView: every document).
WalkOutcome walkView(const SessionFactory &factory, const std::string &path,
                     const std::string &viewName, const std::function<void(std::int64_t)> &started,
                     const std::function<void(NotesDocument &)> &read,
                     const std::function<void(std::int64_t)> &reached);

} // namespace notes
