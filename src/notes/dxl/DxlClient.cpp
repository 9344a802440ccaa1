// SPDX-License-Identifier: GPL-3.0-or-later
// The DXL client's objects (see DxlClient.h). Every object holds the parsed book by shared
// pointer, so, as with COM references, releasing one never invalidates another.
#include "notes/dxl/DxlClient.h"

#include "notes/ListedView.h"
#include "notes/dxl/DxlBook.h"

#include <cstddef>
#include <utility>

namespace notes::dxl {

namespace {

using Book = std::shared_ptr<const DxlBook>;

class DxlDocument final : public NotesDocument {
public:
    DxlDocument(Book book, std::size_t document) : m_book(std::move(book)), m_document(document) {}
    std::string UniversalID() override { return m_book->universalId(m_document); }
    std::string NoteID() override { return m_book->noteId(m_document); }
    ItemValues GetItemValue(const std::string &itemName) override
    {
        return m_book->itemValue(m_document, itemName);
    }
    std::vector<ItemInfo> Items() override { return m_book->items(m_document); }

private:
    Book m_book;
    std::size_t m_document = 0;
};

class DxlDatabase final : public NotesDatabase {
public:
    DxlDatabase(Book book, std::string path) : m_book(std::move(book)), m_path(std::move(path)) {}
    std::string Title() override { return m_book->title(); }
    std::unique_ptr<NotesView> GetView(const std::string &viewName) override
    {
        // A DXL export holds documents, not the views' indexes: only the views the program
        // needs are rebuilt from the documents.
        if (viewName == kEveryDocumentView)
            return listedView(m_book->documentCount(), [book = m_book](std::size_t position) {
                return std::make_unique<DxlDocument>(book, position);
            });
        if (requireListedView(viewName, m_path) == ListedKind::Groups)
            return listedView(m_book->groupCount(), [book = m_book](std::size_t position) {
                return std::make_unique<DxlDocument>(book, book->group(position));
            });
        return listedView(m_book->personCount(), [book = m_book](std::size_t position) {
            return std::make_unique<DxlDocument>(book, book->person(position));
        });
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
        requireThisComputer(server);
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

} // namespace notes::dxl
