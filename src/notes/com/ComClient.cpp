// SPDX-License-Identifier: GPL-3.0-or-later
// The Notes client's COM classes behind the object model (see ComClient.h). Every call goes by
// member name through IDispatch; the member names and argument kinds are those of the Notes
// automation classes (NotesSession, NotesDatabase, NotesView, NotesViewNavigator,
// NotesViewEntry, NotesDocument).
#include "notes/com/ComClient.h"

#include "notes/NotesError.h"
#include "notes/com/ComValues.h"
#include "notes/com/DispatchPtr.h"

#include <utility>

namespace notes::com {

namespace {

class ComDocument final : public NotesDocument {
public:
    explicit ComDocument(DispatchPtr object) : m_object(std::move(object)) {}

    std::string UniversalID() override
    {
        return textFrom(m_object.property("UniversalID").value(), "UniversalID");
    }

    std::string NoteID() override
    {
        return textFrom(m_object.property("NoteID").value(), "NoteID");
    }

    ItemValues GetItemValue(const std::string &itemName) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::fromText(itemName));
        return itemValuesFrom(m_object.call("GetItemValue", args).value(), "GetItemValue");
    }

private:
    DispatchPtr m_object;
};

class ComEntry final : public NotesViewEntry {
public:
    explicit ComEntry(DispatchPtr object) : m_object(std::move(object)) {}

    std::unique_ptr<NotesDocument> Document() override
    {
        Variant result = m_object.property("Document");
        DispatchPtr document = DispatchPtr::fromResult(result, "Document");
        if (!document)
            throw NotesError("Notes Document: the entry has no document");
        return std::make_unique<ComDocument>(std::move(document));
    }

    IDispatch *object() const { return m_object.get(); }

private:
    DispatchPtr m_object;
};

class ComNavigator final : public NotesViewNavigator {
public:
    explicit ComNavigator(DispatchPtr object) : m_object(std::move(object)) {}

    std::int64_t Count() override
    {
        return integerFrom(m_object.property("Count").value(), "Count");
    }

    std::unique_ptr<NotesViewEntry> GetFirstDocument() override
    {
        Variant result = m_object.call("GetFirstDocument");
        return entryFrom(result, "GetFirstDocument");
    }

    std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) override
    {
        const auto *entry = dynamic_cast<const ComEntry *>(&current);
        if (!entry)
            throw NotesError("Notes GetNextDocument: the entry does not come from this client");
        std::vector<Variant> args;
        args.push_back(Variant::fromObject(entry->object()));
        Variant result = m_object.call("GetNextDocument", args);
        return entryFrom(result, "GetNextDocument");
    }

private:
    static std::unique_ptr<NotesViewEntry> entryFrom(Variant &result, const std::string &member)
    {
        DispatchPtr entry = DispatchPtr::fromResult(result, member);
        if (!entry)
            return nullptr;
        return std::make_unique<ComEntry>(std::move(entry));
    }

    DispatchPtr m_object;
};

class ComView final : public NotesView {
public:
    explicit ComView(DispatchPtr object) : m_object(std::move(object)) {}

    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        Variant result = m_object.call("CreateViewNav");
        DispatchPtr navigator = DispatchPtr::fromResult(result, "CreateViewNav");
        if (!navigator)
            throw NotesError("Notes CreateViewNav: no navigator was created");
        return std::make_unique<ComNavigator>(std::move(navigator));
    }

private:
    DispatchPtr m_object;
};

class ComDatabase final : public NotesDatabase {
public:
    explicit ComDatabase(DispatchPtr object) : m_object(std::move(object)) {}

    std::string Title() override { return textFrom(m_object.property("Title").value(), "Title"); }

    std::unique_ptr<NotesView> GetView(const std::string &viewName) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::fromText(viewName));
        Variant result = m_object.call("GetView", args);
        DispatchPtr view = DispatchPtr::fromResult(result, "GetView");
        // Notes answers a view name it does not know with Nothing.
        if (!view)
            throw NotesError("Notes GetView: the address book has no view \"" + viewName + "\"");
        return std::make_unique<ComView>(std::move(view));
    }

private:
    DispatchPtr m_object;
};

class ComSession final : public NotesSession {
public:
    explicit ComSession(DispatchPtr object) : m_object(std::move(object)) {}

    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                               const std::string &path) override
    {
        std::vector<Variant> args;
        args.push_back(Variant::fromText(server));
        args.push_back(Variant::fromText(path));
        Variant result = m_object.call("GetDatabase", args);
        DispatchPtr database = DispatchPtr::fromResult(result, "GetDatabase");
        if (!database)
            throw NotesError("Notes GetDatabase: " + path + " could not be opened");
        return std::make_unique<ComDatabase>(std::move(database));
    }

private:
    DispatchPtr m_object;
};

} // namespace

std::unique_ptr<NotesSession> createComSession(const std::string &progId)
{
    return std::make_unique<ComSession>(DispatchPtr::create(progId));
}

SessionFactory comSessionFactory()
{
    return [](const std::string &progId) { return createComSession(progId); };
}

} // namespace notes::com
