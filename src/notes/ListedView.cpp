// SPDX-License-Identifier: GPL-3.0-or-later
// The view over a listed book (see ListedView.h).
#include "notes/ListedView.h"

#include "notes/Ascii.h"

#include <utility>

namespace notes {

namespace {

struct Listing {
    std::size_t count = 0;
    DocumentAt documentAt;
};

using ListingPtr = std::shared_ptr<const Listing>;

class ListedEntry final : public NotesViewEntry {
public:
    ListedEntry(ListingPtr listing, std::size_t position)
        : m_listing(std::move(listing)), m_position(position)
    {
    }
    std::unique_ptr<NotesDocument> Document() override { return m_listing->documentAt(m_position); }
    const Listing *listing() const { return m_listing.get(); }
    std::size_t position() const { return m_position; }

private:
    ListingPtr m_listing;
    std::size_t m_position = 0;
};

class ListedNavigator final : public NotesViewNavigator {
public:
    explicit ListedNavigator(ListingPtr listing) : m_listing(std::move(listing)) {}
    std::int64_t Count() override { return static_cast<std::int64_t>(m_listing->count); }
    std::unique_ptr<NotesViewEntry> GetFirstDocument() override { return entryAt(0); }
    std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) override
    {
        const auto *entry = dynamic_cast<const ListedEntry *>(&current);
        if (!entry || entry->listing() != m_listing.get())
            throw NotesError("GetNextDocument: the entry does not belong to this view.");
        return entryAt(entry->position() + 1);
    }

private:
    std::unique_ptr<NotesViewEntry> entryAt(std::size_t position) const
    {
        if (position >= m_listing->count)
            return nullptr;
        return std::make_unique<ListedEntry>(m_listing, position);
    }
    ListingPtr m_listing;
};

class ListedView final : public NotesView {
public:
    explicit ListedView(ListingPtr listing) : m_listing(std::move(listing)) {}
    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        return std::make_unique<ListedNavigator>(m_listing);
    }

private:
    ListingPtr m_listing;
};

} // namespace

std::unique_ptr<NotesView> listedView(std::size_t count, DocumentAt documentAt)
{
    return std::make_unique<ListedView>(
        std::make_shared<const Listing>(Listing{count, std::move(documentAt)}));
}

void requireThisComputer(const std::string &server)
{
    if (!server.empty())
        throw NotesError("The server " + server +
                         " cannot be reached: only address books on this computer can be "
                         "opened.");
}

ListedKind requireListedView(const std::string &viewName, const std::string &path)
{
    if (ascii::equalIgnoringCase(viewName, "$People"))
        return ListedKind::People;
    if (ascii::equalIgnoringCase(viewName, kGroupsView))
        return ListedKind::Groups;
    throw NotesError("The view \"" + viewName + "\" does not exist in " + path + ".");
}

} // namespace notes
