// SPDX-License-Identifier: GPL-3.0-or-later
// The Notes client's COM classes behind the object model (see ComClient.h). Every call goes by
// member name through IDispatch; the member names and argument kinds are those of the Notes
// automation classes (NotesSession, NotesDatabase, NotesView, NotesViewNavigator,
// NotesViewEntry, NotesDocument, NotesDocumentCollection, NotesItem).
#include "notes/com/ComClient.h"

#include "notes/NotesError.h"
#include "notes/com/ComValues.h"
#include "notes/com/DispatchPtr.h"

#include <utility>

namespace notes::com {

namespace {

// An item's type word from NotesItem.Type and how many values it holds.
std::string typeWord(std::int64_t type, std::size_t values)
{
    const char *list = values > 1 ? "list" : "";
    switch (type) {
    case 1280: // TEXT
        return std::string("text") + list;
    case 768: // NUMBERS
        return std::string("number") + list;
    case 1024: // DATETIMES
        return std::string("datetime") + list;
    case 1: // RICHTEXT
        return "richtext";
    default:
        return "type " + std::to_string(type);
    }
}

// The IDispatch objects of an array result (NotesDocument.Items).
std::vector<DispatchPtr> objectsFrom(Variant &result, const std::string &member)
{
    std::vector<DispatchPtr> objects;
    const VARIANT &v = result.value();
    if (v.vt == VT_EMPTY || v.vt == VT_NULL)
        return objects;
    if (!(v.vt & VT_ARRAY))
        throw NotesError("Notes " + member + ": the result is not a list of objects");
    for (Variant &element : arrayElements(v, member))
        if (DispatchPtr object = DispatchPtr::fromResult(element, member))
            objects.push_back(std::move(object));
    return objects;
}

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

    std::vector<ItemInfo> Items() override
    {
        Variant result = m_object.property("Items");
        std::vector<ItemInfo> items;
        for (const DispatchPtr &item : objectsFrom(result, "Items")) {
            ItemInfo info;
            info.name = textFrom(item.property("Name").value(), "Name");
            info.values = itemValuesFrom(item.property("Values").value(), "Values");
            info.type =
                typeWord(integerFrom(item.property("Type").value(), "Type"), info.values.size());
            items.push_back(std::move(info));
        }
        return items;
    }

private:
    DispatchPtr m_object;
};

// A view's entry: its document comes from the entry's Document property.
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

// An entry of NotesDatabase.AllDocuments: the document itself.
class ComDocumentEntry final : public NotesViewEntry {
public:
    explicit ComDocumentEntry(DispatchPtr document) : m_object(std::move(document)) {}

    std::unique_ptr<NotesDocument> Document() override
    {
        return std::make_unique<ComDocument>(m_object.shared());
    }

    IDispatch *object() const { return m_object.get(); }

private:
    DispatchPtr m_object;
};

// A NotesViewNavigator, or a NotesDocumentCollection walked the same way (Count,
// GetFirstDocument, GetNextDocument); `Entry` wraps what their calls return.
template <class Entry> class ComNavigator final : public NotesViewNavigator {
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
        const auto *entry = dynamic_cast<const Entry *>(&current);
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
        return std::make_unique<Entry>(std::move(entry));
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
        return std::make_unique<ComNavigator<ComEntry>>(std::move(navigator));
    }

private:
    DispatchPtr m_object;
};

// NotesDatabase.AllDocuments as a view: its navigator is the collection itself.
class ComCollectionView final : public NotesView {
public:
    explicit ComCollectionView(DispatchPtr collection) : m_object(std::move(collection)) {}

    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        return std::make_unique<ComNavigator<ComDocumentEntry>>(m_object.shared());
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
        if (viewName == kEveryDocumentView) {
            Variant result = m_object.property("AllDocuments");
            DispatchPtr collection = DispatchPtr::fromResult(result, "AllDocuments");
            if (!collection)
                throw NotesError("Notes AllDocuments: no collection was returned");
            return std::make_unique<ComCollectionView>(std::move(collection));
        }
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
