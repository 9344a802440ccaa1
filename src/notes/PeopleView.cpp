// Opening and releasing the "$People" view of an address book (see PeopleView.h).
#include "PeopleView.h"

#include <utility>

namespace notes {

PeopleView::Opened PeopleView::open(const SessionFactory &factory, const std::string &path,
                                    bool readTitle, std::string &reason)
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
        view = database->GetView("$People");
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
    return walked;
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

} // namespace notes
