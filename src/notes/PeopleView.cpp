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
