// SPDX-License-Identifier: GPL-3.0-or-later
// The database file client's objects (see NsfClient.h). Opening reads every data note once to
// find the Person documents and their sort keys; a document is read again from the file when it
// is taken, so the book holds ids and keys only. Every object holds the book by shared pointer,
// so releasing one never invalidates another.
#include "NsfClient.h"

#include "Ascii.h"
#include "Database.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace notes::nsf {

namespace {

int compareFolded(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(ascii::lower(a[i]));
        const auto y = static_cast<unsigned char>(ascii::lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool isPerson(const Note &note)
{
    for (const Item &item : note.items) {
        if (!ascii::equalIgnoringCase(item.name, "form") &&
            !ascii::equalIgnoringCase(item.name, "type"))
            continue;
        for (const std::string &text : item.value.texts)
            if (ascii::equalIgnoringCase(ascii::trimmed(text), "person"))
                return true;
    }
    return false;
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

struct Book {
    std::shared_ptr<Database> database;
    std::vector<NoteRef> view; // the people in view order, then the unreadable notes

    explicit Book(std::shared_ptr<Database> db) : database(std::move(db))
    {
        struct Person {
            NoteRef ref;
            std::string last;
            std::string first;
        };
        std::vector<Person> people;
        std::vector<NoteRef> unreadable;
        for (const NoteRef &ref : database->notes()) {
            if (!ref.data)
                continue;
            try {
                const Note note = database->read(ref);
                if (note.isDocument() && isPerson(note))
                    people.push_back(
                        {ref, firstValueText(note, "LastName"), firstValueText(note, "FirstName")});
            } catch (const UnreadableNote &) {
                unreadable.push_back(ref);
            }
        }
        std::stable_sort(people.begin(), people.end(), [](const Person &a, const Person &b) {
            const int byLast = compareFolded(a.last, b.last);
            return byLast != 0 ? byLast < 0 : compareFolded(a.first, b.first) < 0;
        });
        for (const Person &p : people)
            view.push_back(p.ref);
        view.insert(view.end(), unreadable.begin(), unreadable.end());
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

private:
    BookPtr m_book;
    Note m_note;
};

class NsfEntry final : public NotesViewEntry {
public:
    NsfEntry(BookPtr book, std::size_t position) : m_book(std::move(book)), m_position(position) {}
    std::unique_ptr<NotesDocument> Document() override
    {
        return std::make_unique<NsfDocument>(m_book,
                                             m_book->database->read(m_book->view[m_position]));
    }
    const Book *book() const { return m_book.get(); }
    std::size_t position() const { return m_position; }

private:
    BookPtr m_book;
    std::size_t m_position = 0;
};

class NsfNavigator final : public NotesViewNavigator {
public:
    explicit NsfNavigator(BookPtr book) : m_book(std::move(book)) {}
    std::int64_t Count() override { return static_cast<std::int64_t>(m_book->view.size()); }
    std::unique_ptr<NotesViewEntry> GetFirstDocument() override { return entryAt(0); }
    std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) override
    {
        const auto *entry = dynamic_cast<const NsfEntry *>(&current);
        if (!entry || entry->book() != m_book.get())
            throw NotesError("GetNextDocument: the entry does not belong to this view.");
        return entryAt(entry->position() + 1);
    }

private:
    std::unique_ptr<NotesViewEntry> entryAt(std::size_t position) const
    {
        if (position >= m_book->view.size())
            return nullptr;
        return std::make_unique<NsfEntry>(m_book, position);
    }
    BookPtr m_book;
};

class NsfView final : public NotesView {
public:
    explicit NsfView(BookPtr book) : m_book(std::move(book)) {}
    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        return std::make_unique<NsfNavigator>(m_book);
    }

private:
    BookPtr m_book;
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
        // The views' indexes are not read: only the one view the program needs is rebuilt
        // from the documents, once.
        if (!ascii::equalIgnoringCase(viewName, "$People"))
            throw NotesError("The view \"" + viewName + "\" does not exist in " + m_path + ".");
        if (!m_book)
            m_book = std::make_shared<const Book>(m_database);
        return std::make_unique<NsfView>(m_book);
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
        if (!server.empty())
            throw NotesError("The server " + server +
                             " cannot be reached: only address books on this computer can be "
                             "opened.");
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
