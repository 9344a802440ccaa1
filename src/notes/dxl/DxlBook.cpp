// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a DXL address book (see DxlBook.h). expat streams the file; the handlers below keep a
// little state about where in the document tree the parser is and copy only the text of item
// values into the arena. Every document is kept (the items command lists them all); the
// "$People" view holds the Person documents, "Groups" the Group documents.
#include "notes/dxl/DxlBook.h"

#include "notes/Ascii.h"

#include "notes/KeepAlive.h"

#include "notes/DxlDateTime.h"
#include "notes/NotesError.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace notes::dxl {

namespace {

using ascii::trimmed;

// The local part of an element name, should an export carry a namespace prefix.
std::string_view localName(const XML_Char *name)
{
    std::string_view n(name);
    const auto colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

const XML_Char *attribute(const XML_Char **attributes, std::string_view wanted)
{
    for (int i = 0; attributes[i]; i += 2)
        if (localName(attributes[i]) == wanted)
            return attributes[i + 1];
    return nullptr;
}

enum class Element {
    Database,
    Document,
    NoteInfo,
    Item,
    Text,
    Number,
    DateTime,
    ValueList, // textlist, numberlist, datetimelist: only hold values
    DateTimePair,
    RichText,
    Par,
    Break,
    Embedded, // pictures and attachments inside rich text: no readable text
    Object,   // an attached file or OLE object as an item's value: data, never shown
    Other,
};

Element elementOf(std::string_view name)
{
    static const std::pair<std::string_view, Element> table[] = {
        {"text", Element::Text},
        {"item", Element::Item},
        {"textlist", Element::ValueList},
        {"number", Element::Number},
        {"datetime", Element::DateTime},
        {"break", Element::Break},
        {"par", Element::Par},
        {"document", Element::Document},
        {"noteinfo", Element::NoteInfo},
        {"numberlist", Element::ValueList},
        {"datetimelist", Element::ValueList},
        {"datetimepair", Element::DateTimePair},
        {"richtext", Element::RichText},
        {"database", Element::Database},
        {"picture", Element::Embedded},
        {"attachmentref", Element::Embedded},
        {"objectref", Element::Embedded},
        {"object", Element::Object},
        {"filedata", Element::Object},
    };
    for (const auto &[n, e] : table)
        if (n == name)
            return e;
    return Element::Other;
}

} // namespace

// Fills a DxlBook from expat's callbacks.
class DxlBookBuilder final {
public:
    DxlBookBuilder(DxlBook &book, std::string name) : m_book(book), m_name(std::move(name))
    {
        m_parser = XML_ParserCreate(nullptr);
        if (!m_parser)
            throw NotesError(m_name + " cannot be read: out of memory.");
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, &DxlBookBuilder::onStart, &DxlBookBuilder::onEnd);
        XML_SetCharacterDataHandler(m_parser, &DxlBookBuilder::onText);
        // Address book exports declare no entities of their own; a file that does is refused
        // before any of them is expanded, and nothing outside the file is ever read (the
        // external DTD that real exports name is not fetched).
        XML_SetEntityDeclHandler(m_parser, &DxlBookBuilder::onEntityDecl);
        XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
        // Behind the handler stays expat's own guard against expansion (on by default since
        // expat 2.4: an amplification above 100 past the first 8 MiB stops the parse), which
        // nothing here switches off.
        m_formName = internName("form");
        m_typeName = internName("type");
        m_noType = spellingId("", false);
    }
    ~DxlBookBuilder() { XML_ParserFree(m_parser); }

    // Room for the items and values of a file of `bytes`, so that the tables do not grow by
    // copying. An item takes at least some 40 bytes of DXL; room not used is never touched,
    // so it costs address space, not memory.
    void reserveFor(std::uintmax_t bytes)
    {
        const auto items = static_cast<std::size_t>(bytes / 40);
        m_book.m_items.reserve(items);
        m_book.m_values.reserve(items);
        // The text kept never outgrows the file, now that entities are refused.
        m_book.m_arena.sizeFirstBlock(static_cast<std::size_t>(
            std::min<std::uintmax_t>(bytes + 64, std::numeric_limits<std::size_t>::max())));
    }
    DxlBookBuilder(const DxlBookBuilder &) = delete;
    DxlBookBuilder &operator=(const DxlBookBuilder &) = delete;

    // expat's own buffer, filled by the caller and handed back through parseBuffer().
    char *buffer(int size)
    {
        void *b = XML_GetBuffer(m_parser, size);
        if (!b)
            throw NotesError(m_name + " cannot be read: out of memory.");
        return static_cast<char *>(b);
    }
    void parseBuffer(int size, bool final)
    {
        check(XML_ParseBuffer(m_parser, size, final ? XML_TRUE : XML_FALSE));
    }

private:
    void check(XML_Status status)
    {
        if (m_exception)
            std::rethrow_exception(m_exception);
        if (!m_error.empty())
            throw NotesError(m_error);
        if (status != XML_STATUS_OK) {
            const XML_Error code = XML_GetErrorCode(m_parser);
            throw NotesError(m_name + " is not a valid DXL file: " + XML_ErrorString(code) +
                             " at line " + std::to_string(XML_GetCurrentLineNumber(m_parser)) +
                             ".");
        }
    }

    void fail(std::string reason)
    {
        m_error = std::move(reason);
        XML_StopParser(m_parser, XML_FALSE);
    }

    std::uint32_t internName(std::string_view name)
    {
        ascii::lowerInto(name, m_folded);
        const auto found = m_book.m_itemNames.find(m_folded);
        if (found != m_book.m_itemNames.end())
            return found->second;
        const auto id = static_cast<std::uint32_t>(m_book.m_itemNames.size());
        m_book.m_itemNames.emplace(m_folded, id);
        return id;
    }

    // An item name as written (`itemName`) or a value's element, kept once; an item name's
    // folded form is interned the first time the spelling is met.
    std::uint32_t spellingId(std::string_view spelling, bool itemName)
    {
        const auto found = m_book.m_spellingIds.find(spelling);
        if (found != m_book.m_spellingIds.end())
            return found->second;
        const auto id = static_cast<std::uint32_t>(m_book.m_spellings.size());
        m_book.m_spellings.emplace_back(spelling);
        m_book.m_foldedName.push_back(itemName ? internName(spelling) : UINT32_MAX);
        m_book.m_spellingIds.emplace(std::string(spelling), id);
        return id;
    }

    // expat is C: nothing may be thrown through it, so the handlers park the exception.
    template <typename F> static void guarded(void *userData, F &&f)
    {
        auto *self = static_cast<DxlBookBuilder *>(userData);
        try {
            f(*self);
        } catch (...) {
            self->m_exception = std::current_exception();
            XML_StopParser(self->m_parser, XML_FALSE);
        }
    }
    static void XMLCALL onStart(void *userData, const XML_Char *name, const XML_Char **atts)
    {
        guarded(userData, [&](DxlBookBuilder &b) { b.start(name, atts); });
    }
    static void XMLCALL onEnd(void *userData, const XML_Char *name)
    {
        guarded(userData, [&](DxlBookBuilder &b) { b.end(name); });
    }
    static void XMLCALL onEntityDecl(void *userData, const XML_Char *, int, const XML_Char *, int,
                                     const XML_Char *, const XML_Char *, const XML_Char *,
                                     const XML_Char *)
    {
        auto *self = static_cast<DxlBookBuilder *>(userData);
        self->fail(self->m_name +
                   " declares its own XML entities, which address book exports never do.");
    }
    static void XMLCALL onText(void *userData, const XML_Char *text, int length)
    {
        auto *self = static_cast<DxlBookBuilder *>(userData);
        if (self->m_capture)
            guarded(userData, [&](DxlBookBuilder &b) {
                b.m_book.m_arena.append(text, static_cast<std::size_t>(length));
            });
    }

    void start(const XML_Char *rawName, const XML_Char **atts)
    {
        ++m_depth;
        if (m_skipDepth)
            return;
        const std::string_view name = localName(rawName);
        const Element element = elementOf(name);

        if (m_depth == 1) {
            if (element == Element::Database) {
                if (const XML_Char *title = attribute(atts, "title"))
                    m_book.m_title = title;
            } else if (element == Element::Document) {
                startDocument(atts);
            } else {
                fail(m_name + " is not a DXL file: its root element is <" + std::string(name) +
                     ">, not <database>.");
            }
            return;
        }
        if (!m_docDepth) {
            if (element == Element::Document && m_depth == 2)
                startDocument(atts);
            return; // design notes, ACL and the like
        }
        if (!m_itemDepth) {
            if (element == Element::Document)
                m_skipDepth = m_depth; // a response nested in its parent: not a contact
            else if (m_depth == m_docDepth + 1 && element == Element::NoteInfo)
                readNoteInfo(atts);
            else if (m_depth == m_docDepth + 1 && element == Element::Item)
                startItem(atts);
            return;
        }
        if (m_valueDepth) {
            switch (element) {
            case Element::Break:
                m_book.m_arena.append('\n');
                break;
            case Element::Par:
                if (m_richText) {
                    if (m_parDepth == 0 && m_parCount++ > 0)
                        m_book.m_arena.append('\n');
                    ++m_parDepth;
                    m_capture = true;
                }
                break;
            case Element::Embedded:
            case Element::Object:
                if (m_richText) {
                    m_skipDepth = m_depth;
                    m_capture = false;
                }
                break;
            default:
                break;
            }
            return;
        }
        if (m_depth == m_itemDepth + 1 && m_itemType == m_noType)
            m_itemType = spellingId(name, false);
        switch (element) {
        case Element::ValueList:
            break;
        case Element::Object:
            m_skipDepth = m_depth; // its data would cost memory and is never read
            break;
        case Element::DateTimePair:
            m_pairDepth = m_depth;
            m_pairTaken = false;
            break;
        case Element::Text:
            beginValue(DxlBook::ValueKind::Text, false);
            break;
        case Element::Number:
            beginValue(DxlBook::ValueKind::Number, false);
            break;
        case Element::DateTime:
            if (m_pairDepth && m_pairTaken) {
                m_skipDepth = m_depth; // a pair stands for its first date-time
            } else {
                m_pairTaken = m_pairDepth != 0;
                beginValue(DxlBook::ValueKind::DateTime, false);
            }
            break;
        case Element::RichText:
            beginValue(DxlBook::ValueKind::Text, true);
            break;
        default:
            if (m_depth == m_itemDepth + 1)
                beginValue(DxlBook::ValueKind::Text, false); // any other kind: its plain text
            else
                m_skipDepth = m_depth;
            break;
        }
    }

    void end(const XML_Char *rawName)
    {
        const int depth = m_depth--;
        if (m_skipDepth) {
            if (depth == m_skipDepth) {
                m_skipDepth = 0;
                if (m_richText && m_parDepth > 0)
                    m_capture = true;
            }
            return;
        }
        if (m_valueDepth) {
            if (depth == m_valueDepth)
                endValue();
            else if (m_richText && elementOf(localName(rawName)) == Element::Par) {
                --m_parDepth;
                m_capture = m_parDepth > 0;
            }
        } else if (depth == m_pairDepth) {
            m_pairDepth = 0;
        } else if (depth == m_itemDepth) {
            endItem();
        } else if (depth == m_docDepth) {
            endDocument();
        }
    }

    void startDocument(const XML_Char **atts)
    {
        m_docDepth = m_depth;
        m_docFirstItem = m_book.m_items.size();
        const XML_Char *form = attribute(atts, "form");
        m_form = form ? formNamed(trimmed(form)) : DxlBook::Form::Other;
        const XML_Char *unid = attribute(atts, "unid");
        m_universalId = unid ? unid : "";
        m_noteId.clear();
    }

    void readNoteInfo(const XML_Char **atts)
    {
        if (const XML_Char *noteId = attribute(atts, "noteid")) {
            m_noteId = noteId;
            for (char &c : m_noteId)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
        }
        if (const XML_Char *unid = attribute(atts, "unid"))
            m_universalId = unid;
    }

    static DxlBook::Form formNamed(std::string_view name)
    {
        if (ascii::equalIgnoringCase(name, "person"))
            return DxlBook::Form::Person;
        if (ascii::equalIgnoringCase(name, "group"))
            return DxlBook::Form::Group;
        return DxlBook::Form::Other;
    }

    // A Person document when its form attribute, a Form item or a Type item names Person, else
    // a Group document when one names Group: a document is in one view at most.
    void endDocument()
    {
        m_docDepth = 0;
        DxlBook &b = m_book;
        DxlBook::Form form = m_form;
        for (std::size_t i = m_docFirstItem; i < b.m_items.size() && form != DxlBook::Form::Person;
             ++i) {
            const DxlBook::Item &item = b.m_items[i];
            const std::uint32_t folded = b.m_foldedName[item.spelling];
            if (folded != m_formName && folded != m_typeName)
                continue;
            for (std::uint32_t v = 0; v < item.valueCount && form != DxlBook::Form::Person; ++v) {
                const DxlBook::Form named =
                    formNamed(trimmed(b.m_arena.view(b.m_values[item.firstValue + v].text)));
                if (named != DxlBook::Form::Other)
                    form = named;
            }
        }
        DxlBook::Document doc;
        doc.form = form;
        doc.universalId = b.m_arena.store(m_universalId);
        doc.noteId = b.m_arena.store(m_noteId);
        doc.firstItem = m_docFirstItem;
        doc.itemCount = static_cast<std::uint32_t>(b.m_items.size() - m_docFirstItem);
        b.m_documents.push_back(doc);
    }

    void startItem(const XML_Char **atts)
    {
        const XML_Char *name = attribute(atts, "name");
        if (!name) {
            m_skipDepth = m_depth;
            return;
        }
        m_itemDepth = m_depth;
        m_itemSpelling = spellingId(name, true);
        m_itemType = m_noType;
        m_itemFirstValue = m_book.m_values.size();
        m_pairDepth = 0;
    }

    void endItem()
    {
        m_itemDepth = 0;
        const std::size_t count = m_book.m_values.size() - m_itemFirstValue;
        if (m_itemFirstValue > UINT32_MAX || count > UINT32_MAX)
            throw NotesError(m_name + " holds more values than this program can keep.");
        m_book.m_items.push_back({m_itemSpelling, m_itemType,
                                  static_cast<std::uint32_t>(m_itemFirstValue),
                                  static_cast<std::uint32_t>(count)});
    }

    void beginValue(DxlBook::ValueKind kind, bool richText)
    {
        m_book.m_arena.begin();
        m_valueDepth = m_depth;
        m_valueKind = kind;
        m_richText = richText;
        m_parDepth = 0;
        m_parCount = 0;
        m_capture = !richText;
    }

    void endValue()
    {
        m_book.m_values.push_back({m_book.m_arena.end(), m_valueKind});
        m_valueDepth = 0;
        m_richText = false;
        m_capture = false;
    }

    DxlBook &m_book;
    std::string m_name;
    XML_Parser m_parser = nullptr;
    std::string m_error;
    std::exception_ptr m_exception;
    std::string m_folded;
    std::uint32_t m_formName = 0;
    std::uint32_t m_noType = 0;
    std::uint32_t m_typeName = 0;

    int m_depth = 0;
    int m_skipDepth = 0;
    int m_docDepth = 0;
    int m_itemDepth = 0;
    int m_valueDepth = 0;
    int m_pairDepth = 0;
    bool m_pairTaken = false;
    bool m_capture = false;
    bool m_richText = false;
    int m_parDepth = 0;
    int m_parCount = 0;
    DxlBook::ValueKind m_valueKind = DxlBook::ValueKind::Text;

    std::size_t m_docFirstItem = 0;
    DxlBook::Form m_form = DxlBook::Form::Other;
    std::string m_universalId;
    std::string m_noteId;
    std::uint32_t m_itemSpelling = 0;
    std::uint32_t m_itemType = 0;
    std::size_t m_itemFirstValue = 0;
};

namespace {

std::string displayName(const std::filesystem::path &path)
{
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

bool looksBinary(const char *data, std::size_t size)
{
    // XML in UTF-16 holds NUL bytes too, but starts with a byte-order mark.
    if (size >= 2 && ((static_cast<unsigned char>(data[0]) == 0xFF &&
                       static_cast<unsigned char>(data[1]) == 0xFE) ||
                      (static_cast<unsigned char>(data[0]) == 0xFE &&
                       static_cast<unsigned char>(data[1]) == 0xFF)))
        return false;
    return std::memchr(data, '\0', size) != nullptr;
}

} // namespace

std::shared_ptr<const DxlBook> DxlBook::load(const std::string &path)
{
    namespace fs = std::filesystem;
    const fs::path file(std::u8string(path.begin(), path.end()));
    const std::string name = displayName(file);
    std::error_code ec;
    if (path.empty() || !fs::exists(file, ec))
        throw NotesError("The file " + path + " does not exist.");
    if (fs::is_directory(file, ec))
        throw NotesError(path + " is a folder, not an address book.");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw NotesError(name + " cannot be opened for reading.");

    std::shared_ptr<DxlBook> book(new DxlBook);
    DxlBookBuilder builder(*book, name);
    const std::uintmax_t size = fs::file_size(file, ec);
    builder.reserveFor(ec ? 0 : size);
    // expat holds a buffer the size of a chunk: a small book needs no large one.
    const int chunk = ec || size >= (1u << 20) ? 1 << 20 : static_cast<int>(size) + 1;
    bool first = true;
    for (;;) {
        char *buffer = builder.buffer(chunk);
        in.read(buffer, chunk);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (in.bad())
            throw NotesError(name + " cannot be read.");
        if (first) {
            if (got == 0)
                throw NotesError(name + " is empty.");
            if (looksBinary(buffer, got))
                throw NotesError(name + " is not a DXL file: it holds binary data. A Notes "
                                        "database (.nsf) opens only through the Notes client; "
                                        "without one, export the address book to DXL first.");
            first = false;
        }
        const bool final = got < static_cast<std::size_t>(chunk);
        builder.parseBuffer(static_cast<int>(got), final);
        if (final)
            break;
        keepAlive();
    }
    book->sortView();
    return book;
}

const DxlBook::Item *DxlBook::findItem(const Document &doc, std::string_view foldedName) const
{
    const auto id = m_itemNames.find(foldedName);
    if (id == m_itemNames.end())
        return nullptr;
    for (std::uint32_t i = 0; i < doc.itemCount; ++i) {
        const Item &item = m_items[doc.firstItem + i];
        if (m_foldedName[item.spelling] == id->second)
            return &item; // Notes reads the first of two items that differ only in case
    }
    return nullptr;
}

void DxlBook::sortView()
{
    // A person's last and first name; a group's list name alone.
    struct Key {
        std::string_view last;
        std::string_view first;
    };
    std::vector<Key> keys(m_documents.size());
    const auto firstValue = [this](const Document &doc, std::string_view name) {
        const Item *item = findItem(doc, name);
        return item && item->valueCount ? m_arena.view(m_values[item->firstValue].text)
                                        : std::string_view();
    };
    m_viewOrder.clear();
    m_groupOrder.clear();
    for (std::size_t i = 0; i < m_documents.size(); ++i) {
        const Document &doc = m_documents[i];
        if (doc.form == Form::Person) {
            keys[i] = {firstValue(doc, "lastname"), firstValue(doc, "firstname")};
            m_viewOrder.push_back(static_cast<std::uint32_t>(i));
        } else if (doc.form == Form::Group) {
            keys[i] = {firstValue(doc, "listname"), {}};
            m_groupOrder.push_back(static_cast<std::uint32_t>(i));
        }
    }
    const auto byKey = [&keys](std::uint32_t a, std::uint32_t b) {
        const int byLast = ascii::compareIgnoringCase(keys[a].last, keys[b].last);
        if (byLast != 0)
            return byLast < 0;
        return ascii::compareIgnoringCase(keys[a].first, keys[b].first) < 0;
    };
    std::stable_sort(m_viewOrder.begin(), m_viewOrder.end(), byKey);
    std::stable_sort(m_groupOrder.begin(), m_groupOrder.end(), byKey);
}

std::string DxlBook::universalId(std::size_t document) const
{
    return std::string(m_arena.view(m_documents.at(document).universalId));
}

std::string DxlBook::noteId(std::size_t document) const
{
    return std::string(m_arena.view(m_documents.at(document).noteId));
}

ItemValues DxlBook::itemValue(std::size_t document, std::string_view itemName) const
{
    const Document &doc = m_documents.at(document);
    std::string folded;
    ascii::lowerInto(itemName, folded);
    const Item *item = findItem(doc, folded);
    if (!item || item->valueCount == 0)
        return {ItemValue::fromText({})};
    return valuesOf(*item);
}

std::vector<ItemInfo> DxlBook::items(std::size_t document) const
{
    const Document &doc = m_documents.at(document);
    std::vector<ItemInfo> items;
    items.reserve(doc.itemCount);
    for (std::uint32_t i = 0; i < doc.itemCount; ++i) {
        const Item &item = m_items[doc.firstItem + i];
        items.push_back({m_spellings[item.spelling], m_spellings[item.type],
                         item.valueCount ? valuesOf(item) : ItemValues{ItemValue::fromText({})}});
    }
    return items;
}

ItemValues DxlBook::valuesOf(const Item &item) const
{
    ItemValues values;
    values.reserve(item.valueCount);
    for (std::uint32_t i = 0; i < item.valueCount; ++i) {
        const Value &value = m_values[item.firstValue + i];
        const std::string_view text = m_arena.view(value.text);
        if (value.kind == ValueKind::Number) {
            std::string_view digits = trimmed(text);
            if (!digits.empty() && digits.front() == '+')
                digits.remove_prefix(1);
            double number = 0;
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
            if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty()) {
                values.push_back(ItemValue::fromNumber(number));
                continue;
            }
        } else if (value.kind == ValueKind::DateTime) {
            DateTime dt;
            if (parseDxlDateTime(text, dt)) {
                values.push_back(ItemValue::fromDateTime(dt));
                continue;
            }
        }
        values.push_back(ItemValue::fromText(std::string(text))); // unreadable: as written
    }
    return values;
}

} // namespace notes::dxl
