// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory Notes client (see MemoryClient.h).
#include "MemoryClient.h"

#include "notes/Ascii.h"

#include <new>
#include <stdexcept>

namespace notes {

struct MemoryClient::State {
    MemoryClient *owner = nullptr;
    std::map<Op, int> calls;
    std::map<Op, std::set<int>> failAt;
    std::map<Op, int> failFromCall;
    int live = 0;
    std::vector<std::string> releases;

    void call(Op op, const char *name)
    {
        const int n = ++calls[op];
        const auto from = failFromCall.find(op);
        if (!failAt[op].count(n) && (from == failFromCall.end() || n < from->second))
            return;
        if (owner->throws == "bad_alloc")
            throw std::bad_alloc();
        if (owner->throws == "length_error")
            throw std::length_error(name);
        throw NotesError(std::string(name) + " failed (call " + std::to_string(n) + ")");
    }
};

namespace {

using State = MemoryClient::State;
using Op = MemoryClient::Op;

// Counts live objects and logs releases, so tests can check for leaks and release order.
class Tracked {
public:
    Tracked(std::shared_ptr<State> state, const char *kind)
        : m_state(std::move(state)), m_kind(kind)
    {
        ++m_state->live;
    }
    Tracked(const Tracked &) = delete;
    Tracked &operator=(const Tracked &) = delete;
    ~Tracked()
    {
        --m_state->live;
        m_state->releases.emplace_back(m_kind);
    }

protected:
    std::shared_ptr<State> m_state;

private:
    const char *m_kind;
};

class MemDocument final : public NotesDocument, private Tracked {
public:
    MemDocument(std::shared_ptr<State> s, size_t index)
        : Tracked(std::move(s), "document"), m_index(index)
    {
    }
    std::string UniversalID() override
    {
        m_state->call(Op::UniversalID, "UniversalID");
        return doc().universalId;
    }
    std::string NoteID() override
    {
        m_state->call(Op::NoteID, "NoteID");
        return doc().noteId;
    }
    ItemValues GetItemValue(const std::string &itemName) override
    {
        m_state->call(Op::GetItemValue, "GetItemValue");
        for (const auto &[name, values] : doc().items)
            if (ascii::equalIgnoringCase(name, itemName))
                return values.empty() ? ItemValues{ItemValue::fromText({})} : values;
        return {ItemValue::fromText({})};
    }

private:
    const MemoryDocument &doc() const { return m_state->owner->people.at(m_index); }
    size_t m_index;
};

class MemEntry final : public NotesViewEntry, private Tracked {
public:
    MemEntry(std::shared_ptr<State> s, size_t index)
        : Tracked(std::move(s), "entry"), m_index(index)
    {
    }
    std::unique_ptr<NotesDocument> Document() override
    {
        m_state->call(Op::Document, "Document");
        return std::make_unique<MemDocument>(m_state, m_index);
    }
    size_t index() const { return m_index; }

private:
    size_t m_index;
};

class MemNavigator final : public NotesViewNavigator, private Tracked {
public:
    explicit MemNavigator(std::shared_ptr<State> s) : Tracked(std::move(s), "navigator") {}
    std::int64_t Count() override
    {
        m_state->call(Op::Count, "Count");
        const MemoryClient &c = *m_state->owner;
        return c.overrideCount ? c.countValue : static_cast<std::int64_t>(c.people.size());
    }
    std::unique_ptr<NotesViewEntry> GetFirstDocument() override
    {
        m_state->call(Op::GetFirstDocument, "GetFirstDocument");
        return entryAt(0);
    }
    std::unique_ptr<NotesViewEntry> GetNextDocument(NotesViewEntry &current) override
    {
        m_state->call(Op::GetNextDocument, "GetNextDocument");
        auto *entry = dynamic_cast<MemEntry *>(&current);
        if (!entry)
            throw NotesError("GetNextDocument: the entry is not of this view");
        return entryAt(entry->index() + 1);
    }

private:
    std::unique_ptr<NotesViewEntry> entryAt(size_t index)
    {
        if (index >= m_state->owner->people.size())
            return nullptr;
        return std::make_unique<MemEntry>(m_state, index);
    }
};

class MemView final : public NotesView, private Tracked {
public:
    explicit MemView(std::shared_ptr<State> s) : Tracked(std::move(s), "view") {}
    std::unique_ptr<NotesViewNavigator> CreateViewNav() override
    {
        m_state->call(Op::CreateViewNav, "CreateViewNav");
        return std::make_unique<MemNavigator>(m_state);
    }
};

class MemDatabase final : public NotesDatabase, private Tracked {
public:
    explicit MemDatabase(std::shared_ptr<State> s) : Tracked(std::move(s), "database") {}
    std::string Title() override
    {
        m_state->call(Op::Title, "Title");
        return m_state->owner->title;
    }
    std::unique_ptr<NotesView> GetView(const std::string &viewName) override
    {
        m_state->call(Op::GetView, "GetView");
        if (viewName != "$People")
            throw NotesError("The view \"" + viewName + "\" does not exist.");
        return std::make_unique<MemView>(m_state);
    }
};

class MemSession final : public NotesSession, private Tracked {
public:
    explicit MemSession(std::shared_ptr<State> s) : Tracked(std::move(s), "session") {}
    std::unique_ptr<NotesDatabase> GetDatabase(const std::string &,
                                               const std::string &path) override
    {
        m_state->call(Op::GetDatabase, "GetDatabase");
        if (m_state->owner->unavailablePaths.count(path))
            throw NotesUnavailable("The Notes client is not installed.");
        if (m_state->owner->missingPaths.count(path))
            throw NotesError("The file " + path + " does not exist.");
        return std::make_unique<MemDatabase>(m_state);
    }
};

} // namespace

MemoryDocument &MemoryDocument::set(const std::string &name, ItemValues values)
{
    items.emplace_back(name, std::move(values));
    return *this;
}

MemoryDocument &MemoryDocument::set(const std::string &name, const std::string &text)
{
    return set(name, ItemValues{ItemValue::fromText(text)});
}

MemoryClient::MemoryClient() : availableProgIds{kNotesProgId}, m_state(std::make_shared<State>())
{
    m_state->owner = this;
}

void MemoryClient::failOn(Op op, int nthCall)
{
    m_state->failAt[op].insert(nthCall);
}
void MemoryClient::failFrom(Op op, int nthCall)
{
    m_state->failFromCall[op] = nthCall;
}

int MemoryClient::calls(Op op) const
{
    return m_state->calls[op];
}

int MemoryClient::liveObjects() const
{
    return m_state->live;
}
const std::vector<std::string> &MemoryClient::releaseLog() const
{
    return m_state->releases;
}

SessionFactory MemoryClient::factory()
{
    std::shared_ptr<State> state = m_state;
    return [state](const std::string &progId) -> std::unique_ptr<NotesSession> {
        if (!state->owner->availableProgIds.count(progId))
            throw NotesError("The class " + progId + " is not registered.");
        state->call(Op::CreateSession, "CreateSession");
        return std::make_unique<MemSession>(state);
    };
}

} // namespace notes
