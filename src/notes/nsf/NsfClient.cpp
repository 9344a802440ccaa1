// SPDX-License-Identifier: GPL-3.0-or-later
// The database file client's objects (see NsfClient.h). Opening reads every data note once to
// find the Person and Group documents and their sort keys; a document is read again from the
// file when it is taken, so the book holds ids and keys only. Every object holds the book by
// shared pointer, so releasing one never invalidates another.
#include "notes/nsf/NsfClient.h"

#include "notes/Ascii.h"
#include "notes/ListedView.h"
#include "notes/nsf/Database.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace notes::nsf {

namespace {

// A Person document when a Form or Type item names Person, else a Group document when one
// names Group: a document is in one view at most.
std::optional<ListedKind> viewOf(const Note &note)
{
    std::optional<ListedKind> kind;
    for (const Item &item : note.items) {
        if (!ascii::equalIgnoringCase(item.name, "form") &&
            !ascii::equalIgnoringCase(item.name, "type"))
            continue;
        for (const std::string &text : item.value.texts) {
            const std::string_view name = ascii::trimmed(text);
            if (ascii::equalIgnoringCase(name, "person"))
                return ListedKind::People;
            if (ascii::equalIgnoringCase(name, "group"))
                kind = ListedKind::Groups;
        }
    }
    return kind;
}

std::string firstValueText(const Note &note, std::string_view name)
{
    const Item *item = note.item(name);
    if (!item)
        return {};
    try {
        return firstText(itemValues(*item));
    } catch (const NotesError &) {
        return {}; // sorted as if empty; reading the item itself reports it
    }
}

// The type of an item's value as a word, for the items command.
std::string typeWord(const Item &item)
{
    switch (item.value.kind) {
    case Value::Kind::Text:
        return "text";
    case Value::Kind::TextList:
        return "textlist";
    case Value::Kind::Number:
        return "number";
    case Value::Kind::NumberRange:
        return "numberlist";
    case Value::Kind::Time:
        return "datetime";
    case Value::Kind::TimeRange:
        return "datetimelist";
    case Value::Kind::Other:
        break;
    case Value::Kind::NotInSummary: {
        // Rich text (1) and attachments (0x400) are the usual ones kept outside the summary.
        const char *what = item.type == 0x0001 ? "richtext" : "outside the summary";
        return std::string(what) + ", not read";
    }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", unsigned(item.type));
    return std::string("type 0x") + hex + ", not read";
}

struct Book {
    std::shared_ptr<Database> database;
    // In view order, then the unreadable notes, which may be either.
    std::vector<NoteRef> people;
    std::vector<NoteRef> groups;
    std::vector<NoteRef> everyDocument; // in the file's order, then the unreadable notes

    explicit Book(std::shared_ptr<Database> db) : database(std::move(db))
    {
        // A person's last and first name; a group's list name alone.
        struct Keyed {
            NoteRef ref;
            std::string last;
            std::string first;
        };
        std::vector<Keyed> keyedPeople;
        std::vector<Keyed> keyedGroups;
        std::vector<NoteRef> unreadable;
        for (const NoteRef &ref : database->notes()) {
            if (!ref.data)
                continue;
            try {
                const Note note = database->read(ref);
                if (!note.isDocument())
                    continue;
                everyDocument.push_back(ref);
                const std::optional<ListedKind> kind = viewOf(note);
                if (kind == ListedKind::People)
                    keyedPeople.push_back(
                        {ref, firstValueText(note, "LastName"), firstValueText(note, "FirstName")});
                else if (kind == ListedKind::Groups)
                    keyedGroups.push_back({ref, firstValueText(note, "ListName"), {}});
            } catch (const UnreadableNote &) {
                unreadable.push_back(ref);
            }
        }
        const auto listed = [&unreadable](std::vector<Keyed> &keyed, std::vector<NoteRef> &view) {
            std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
                const int byLast = ascii::compareIgnoringCase(a.last, b.last);
                return byLast != 0 ? byLast < 0 : ascii::compareIgnoringCase(a.first, b.first) < 0;
            });
            for (const Keyed &k : keyed)
                view.push_back(k.ref);
            view.insert(view.end(), unreadable.begin(), unreadable.end());
        };
        listed(keyedPeople, people);
        listed(keyedGroups, groups);
        everyDocument.insert(everyDocument.end(), unreadable.begin(), unreadable.end());
    }
};

using BookPtr = std::shared_ptr<const Book>;

class NsfDocument final : public NotesDocument {
public:
    NsfDocument(BookPtr book, Note note) : m_book(std::move(book)), m_note(std::move(note)) {}
    std::string UniversalID() override { return m_note.universalId(); }
    std::string NoteID() override { return m_note.noteIdText(); }
    ItemValues GetItemValue(const std::string &itemName) override
    {
        const Item *item = m_note.item(itemName);
        if (!item)
            return {ItemValue::fromText({})};
        try {
            return itemValues(*item);
        } catch (const NotesError &e) {
            throw NotesError(m_book->database->name() + ", document " + m_note.noteIdText() + ": " +
                             e.what());
        }
    }

    std::vector<ItemInfo> Items() override
    {
        std::vector<ItemInfo> items;
        for (const Item &item : m_note.items) {
            ItemInfo info{item.name, typeWord(item), {}};
            if (item.value.kind != Value::Kind::Other &&
                item.value.kind != Value::Kind::NotInSummary)
                info.values = itemValues(item);
            items.push_back(std::move(info));
        }
        return items;
    }

private:
    BookPtr m_book;
    Note m_note;
};

class NsfDatabase final : public NotesDatabase {
public:
    NsfDatabase(std::shared_ptr<Database> db, std::string path)
        : m_database(std::move(db)), m_path(std::move(path))
    {
    }
    std::string Title() override { return m_database->title(); }
    std::unique_ptr<NotesView> GetView(const std::string &viewName) override
    {
        // The views' indexes are not read: only the views the program needs are rebuilt from
        // the documents, all at once.
        const bool every = viewName == kEveryDocumentView;
        const ListedKind kind = every ? ListedKind::People : requireListedView(viewName, m_path);
        if (!m_book)
            m_book = std::make_shared<const Book>(m_database);
        const std::vector<NoteRef> &notes = every                        ? m_book->everyDocument
                                            : kind == ListedKind::Groups ? m_book->groups
                                                                         : m_book->people;
        return listedView(notes.size(), [book = m_book, &notes](std::size_t position) {
            return std::make_unique<NsfDocument>(book, book->database->read(notes[position]));
        });
    }

private:
    std::shared_ptr<Database> m_database;
    std::string m_path;
    BookPtr m_book;
};

class NsfSession final : public NotesSession {
public:
    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                               const std::string &path) override
    {
        requireThisComputer(server);
        return std::make_unique<NsfDatabase>(Database::open(path), path);
    }
};

} // namespace

std::unique_ptr<NotesSession> NsfClient::createSession()
{
    return std::make_unique<NsfSession>();
}

SessionFactory NsfClient::factory()
{
    return [](const std::string &progId) -> std::unique_ptr<NotesSession> {
        if (progId == kNotesProgId)
            return createSession();
        throw NotesError(progId + " is not available: this program reads database files only.");
    };
}

} // namespace notes::nsf
