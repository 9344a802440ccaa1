// SPDX-License-Identifier: GPL-3.0-or-later
// The DXL client's objects (see DxlClient.h). Every object holds the parsed book by shared
// pointer, so, as with COM references, releasing one never invalidates another.
#include "DxlClient.h"

#include "Ascii.h"

#include "DxlBook.h"

#include <cstddef>
#include <utility>

namespace notes {

namespace {

using Book = std::shared_ptr<const DxlBook>;

class DxlDocument final : public NotesDocument {
public:
    DxlDocument(Book book, std::size_t position) : m_book(std::move(book)), m_position(position) {}
    std::string UniversalID() override { return m_book->universalId(m_position); }
    std::string NoteID() override { return m_book->noteId(m_position); }
    ItemValues GetItemValue(const std::string &itemName) override
    {
        return m_book->itemValue(m_position, itemName);
    }

private:
    Book m_book;
    std::size_t m_position = 0;
};

class DxlEntry final : public NotesViewEntry {
public:
    DxlEntry(Book book, std::size_t position) : m_book(std::move(book)), m_position(position) {}
    std::unique_ptr<NotesDocument> Document() override
    {
        return std::make_unique<DxlDocument>(m_book, m_position);
    }
    const DxlBook *book() const { return m_book.get(); }
    std::size_t position() const { return m_position; }

private:
    Book m_book;
    std::size_t m_position = 0;
};

class DxlNavigator final : public NotesViewNavigator {
public:
    explicit DxlNavigator(Book book) : m_book(std::move(book)) {}
    std::int64_t Count() override { return static_cast<std::int64_t>(m_book->personCount()); }
    std::unique_ptr<NotesViewEntry> GetFirstDocument() override { return entryAt(0); }
    std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) override
    {
        const auto *entry = dynamic_cast<const DxlEntry *>(&current);
        if (!entry || entry->book() != m_book.get())
            throw NotesError("GetNextDocument: the entry does not belong to this view.");
        return entryAt(entry->position() + 1);
    }

private:
    std::unique_ptr<NotesViewEntry> entryAt(std::size_t position) const
    {
        if (position >= m_book->personCount())
            return nullptr;
        return std::make_unique<DxlEntry>(m_book, position);
    }
    Book m_book;
};

class DxlView final : public NotesView {
public:
    explicit DxlView(Book book) : m_book(std::move(book)) {}
    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        return std::make_unique<DxlNavigator>(m_book);
    }

private:
    Book m_book;
};

bool isPeopleView(const std::string &name)
{
    // View names in Notes ignore case.
    return ascii::equalIgnoringCase(name, "$People");
}

class DxlDatabase final : public NotesDatabase {
public:
    DxlDatabase(Book book, std::string path) : m_book(std::move(book)), m_path(std::move(path)) {}
    std::string Title() override { return m_book->title(); }
    std::unique_ptr<NotesView> GetView(const std::string &viewName) override
    {
        // A DXL export holds documents, not the views' indexes: only the one view the program
        // needs is rebuilt from the documents.
        if (!isPeopleView(viewName))
            throw NotesError("The view \"" + viewName + "\" does not exist in " + m_path + ".");
        return std::make_unique<DxlView>(m_book);
    }

private:
    Book m_book;
    std::string m_path;
};

class DxlSession final : public NotesSession {
public:
    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &server,
                                               const std::string &path) override
    {
        if (!server.empty())
            throw NotesError("The server " + server +
                             " cannot be reached: only address books on this computer can be "
                             "opened.");
        return std::make_unique<DxlDatabase>(DxlBook::load(path), path);
    }
};

} // namespace

std::unique_ptr<NotesSession> DxlClient::createSession()
{
    return std::make_unique<DxlSession>();
}

SessionFactory DxlClient::factory()
{
    return [](const std::string &progId) -> std::unique_ptr<NotesSession> {
        if (progId == kNotesProgId)
            return createSession();
        throw NotesError(progId + " is not available: this program reads DXL exports only.");
    };
}

} // namespace notes
