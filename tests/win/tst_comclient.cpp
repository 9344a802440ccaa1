// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows Notes client against the stand-in COM server (StandInServer.cpp, registered by
// scripts/windows-tests), under wine: session creation in ProgID order, every kind of value
// compared with the in-memory client serving the same book, failures with the server's own
// description, a large book with no leaked references, and the routing of DXL paths.
#include "MemoryClient.h"
#include "SampleBooks.h"
#include "notes/ItemsWalk.h"
#include "notes/com/ComApartment.h"
#include "notes/com/ComClient.h"
#include "notes/com/DispatchPtr.h"
#include "notes/sessions/RoutingSession.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

using namespace wintest;
using notes::com::DispatchPtr;
using notes::com::Variant;

namespace {

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

QString valueText(const notes::ItemValue &value)
{
    switch (value.kind) {
    case notes::ItemValue::Kind::Text:
        return "text:" + text(value.text);
    case notes::ItemValue::Kind::Number:
        return "number:" + text(notes::defaultText(value));
    case notes::ItemValue::Kind::DateTime:
        return QStringLiteral("date") + (value.dateTime.hasDate ? "D" : "") +
               (value.dateTime.hasTime ? "T" : "") + ":" + text(notes::defaultText(value));
    }
    return QStringLiteral("?");
}

// Opens `path` through `session`, walks "$People" and writes the title, the count, and per
// document its ids and every value of each item in `items` (kind, default text and, for dates,
// which parts it has). Objects are released as the walks release them.
QStringList bookTranscript(notes::NotesSession &session, const std::string &path,
                           const std::vector<std::string> &items)
{
    QStringList lines;
    auto database = session.GetDatabase("", path);
    lines << "title " + text(database->Title());
    auto view = database->GetView("$People");
    auto navigator = view->CreateViewNav();
    lines << "count " + QString::number(navigator->Count());
    auto entry = navigator->GetFirstDocument();
    std::unique_ptr<notes::NotesDocument> document;
    while (entry) {
        document = entry->Document();
        lines << "document " + text(document->UniversalID()) + " " + text(document->NoteID());
        for (const std::string &item : items) {
            QString line = "  " + text(item) + " =";
            for (const notes::ItemValue &value : document->GetItemValue(item))
                line += " [" + valueText(value) + "]";
            lines << line;
        }
        entry = navigator->GetNextDocument(*entry);
    }
    entry.reset();
    navigator.reset();
    view.reset();
    document.reset();
    database.reset();
    return lines;
}

// The stand-in server's control object. Resets the server on creation and on leaving, so every
// test starts from the sample book with both session classes registered.
class ServerControl final {
public:
    ServerControl() : m_control(DispatchPtr::create("KorvantaTest.Control")) { reset(); }
    ~ServerControl()
    {
        try {
            setRegistered(notes::kDominoProgId, true);
            setRegistered(notes::kNotesProgId, true);
            reset();
        } catch (...) {
        }
    }
    ServerControl(const ServerControl &) = delete;
    ServerControl &operator=(const ServerControl &) = delete;

    void reset() { m_control.call("Reset"); }
    void selectBook(const std::string &name) { call("SelectBook", {name}); }
    void failOn(const std::string &member, int nthCall, const std::string &description)
    {
        call("FailOn", {member, std::to_string(nthCall), description});
    }
    void setRegistered(const std::string &progId, bool on)
    {
        call("SetRegistered", {progId, on ? "1" : "0"});
    }
    long creations(const std::string &progId) { return call("Creations", {progId}).value().lVal; }
    long calls(const std::string &member) { return call("Calls", {member}).value().lVal; }
    long liveObjects() { return m_control.property("LiveObjects").value().lVal; }

private:
    Variant call(const std::string &member, const std::vector<std::string> &texts)
    {
        std::vector<Variant> args;
        for (const std::string &t : texts)
            args.push_back(Variant::fromText(t));
        return m_control.call(member, args);
    }

    DispatchPtr m_control;
};

// The in-memory client serving the same book as the server.
void serveBook(notes::MemoryClient &client, const std::string &name)
{
    Book book = bookNamed(name);
    client.title = book.title;
    client.people = std::move(book.people);
    client.availableProgIds = {notes::kDominoProgId, notes::kNotesProgId};
}

} // namespace

class TestComClient final : public QObject {
    Q_OBJECT

private slots:
    void progIdOrder()
    {
        ServerControl server;
        const notes::SessionFactory factory = notes::com::comSessionFactory();

        server.setRegistered(notes::kDominoProgId, false);
        notes::SessionResult fallback = notes::createSession(factory);
        QVERIFY(fallback.session != nullptr);
        QVERIFY(fallback.fromFallback);
        QCOMPARE(server.creations(notes::kNotesProgId), 1L);
        QCOMPARE(server.creations(notes::kDominoProgId), 0L);
        fallback.session.reset();

        server.setRegistered(notes::kDominoProgId, true);
        notes::SessionResult preferred = notes::createSession(factory);
        QVERIFY(preferred.session != nullptr);
        QVERIFY(!preferred.fromFallback);
        QCOMPARE(server.creations(notes::kDominoProgId), 1L);
        QCOMPARE(server.creations(notes::kNotesProgId), 1L);
        preferred.session.reset();

        server.setRegistered(notes::kDominoProgId, false);
        server.setRegistered(notes::kNotesProgId, false);
        const notes::SessionResult none = notes::createSession(factory);
        QVERIFY(none.session == nullptr);
        QVERIFY(contains(none.error, notes::kNotesProgId));
        QCOMPARE(server.liveObjects(), 0L);
    }

    void valuesMatchInMemoryClient()
    {
        ServerControl server;
        notes::MemoryClient memory;
        serveBook(memory, "sample");
        const auto items = sampleItemNames();

        auto comSession = notes::com::createComSession(notes::kNotesProgId);
        const auto viaCom = bookTranscript(*comSession, "names.nsf", items);
        comSession.reset();
        auto memorySession = memory.factory()(notes::kNotesProgId);
        const auto viaMemory = bookTranscript(*memorySession, "names.nsf", items);

        QCOMPARE(viaMemory.size(), qsizetype(2 + 3 * (1 + 15)));
        QCOMPARE(viaCom, viaMemory);
        // Spot checks that do not lean on the in-memory client: CR LF arrives as "\n", a
        // multi-valued item keeps its three values.
        const QString joined = viaCom.join(u'\n');
        QVERIFY(!joined.contains(u'\r'));
        QVERIFY(joined.contains(QString::fromUtf8(
            "Categories = [text:Friends] [text:Work] [text:M\xC3\xBCller & Co]")));
        QVERIFY(joined.contains(QString::fromUtf8("Birthday = [dateD:1971-03-04]")));
        QVERIFY(joined.contains(QString::fromUtf8("MiscPhone2 = [dateT:07:05:09]")));
        QCOMPARE(server.liveObjects(), 0L);
    }

    // The items command's walk through NotesDatabase.AllDocuments and NotesDocument.Items:
    // every document, every item by name, type and values, and nothing left alive.
    void itemsOfEveryDocument()
    {
        ServerControl server;
        struct Collect final : notes::ItemsSink {
            std::vector<notes::ListedDocument> documents;
            void started(std::int64_t) override {}
            void document(const notes::ListedDocument &d) override { documents.push_back(d); }
            void progress(std::int64_t) override {}
        } sink;
        const notes::WalkOutcome outcome =
            notes::runItems(notes::com::comSessionFactory(), "names.nsf", sink);
        QCOMPARE(outcome.kind, notes::WalkOutcome::Kind::Completed);
        const Book book = bookNamed("sample");
        QCOMPARE(sink.documents.size(), book.people.size());
        for (std::size_t d = 0; d < book.people.size(); ++d) {
            const auto &expected = book.people[d].items;
            const auto &listed = sink.documents[d].items;
            QCOMPARE(sink.documents[d].universalId, book.people[d].universalId);
            QCOMPARE(listed.size(), expected.size());
            for (std::size_t i = 0; i < listed.size(); ++i) {
                const auto &[name, values] = expected[i];
                QCOMPARE(listed[i].name, name);
                QVERIFY(listed[i].values == values);
                using Kind = notes::ItemValue::Kind;
                const Kind kind = values.empty() ? Kind::Text : values.front().kind;
                const std::string word = kind == Kind::Number     ? "number"
                                         : kind == Kind::DateTime ? "datetime"
                                                                  : "text";
                QCOMPARE(listed[i].type, values.size() > 1 ? word + "list" : word);
            }
        }
        QCOMPARE(server.liveObjects(), 0L);
    }

    void emptyView()
    {
        ServerControl server;
        server.selectBook("empty");
        auto session = notes::com::createComSession(notes::kNotesProgId);
        auto database = session->GetDatabase("", "names.nsf");
        auto view = database->GetView("$People");
        auto navigator = view->CreateViewNav();
        QCOMPARE(navigator->Count(), std::int64_t(0));
        QVERIFY(navigator->GetFirstDocument() == nullptr);
        navigator.reset();
        view.reset();
        database.reset();
        session.reset();
        QCOMPARE(server.liveObjects(), 0L);
    }

    void missingView()
    {
        ServerControl server;
        auto session = notes::com::createComSession(notes::kNotesProgId);
        auto database = session->GetDatabase("", "names.nsf");
        try {
            database->GetView("NoSuchView");
            QFAIL("GetView of a missing view returned");
        } catch (const notes::NotesError &e) {
            QVERIFY(contains(e.reason(), "NoSuchView"));
        }
    }

    void failuresCarryTheServersDescription()
    {
        ServerControl server;
        server.failOn("GetDatabase", 1, "File does not exist");
        auto session = notes::com::createComSession(notes::kNotesProgId);
        try {
            session->GetDatabase("", "missing.nsf");
            QFAIL("GetDatabase returned");
        } catch (const notes::NotesError &e) {
            QCOMPARE(text(e.reason()),
                     QString::fromUtf8("Notes GetDatabase: File does not exist (NotesSession)"));
        }

        server.failOn("GetItemValue", 2, "Bad item in note \xC3\xA9");
        auto database = session->GetDatabase("", "names.nsf");
        auto navigator = database->GetView("$People")->CreateViewNav();
        auto document = navigator->GetFirstDocument()->Document();
        QCOMPARE(text(notes::firstText(document->GetItemValue("FirstName"))),
                 QString::fromUtf8("Zo\xC3\xAB"));
        try {
            document->GetItemValue("LastName");
            QFAIL("the failing GetItemValue returned");
        } catch (const notes::NotesError &e) {
            QCOMPARE(
                text(e.reason()),
                QString::fromUtf8("Notes GetItemValue: Bad item in note \xC3\xA9 (NotesDocument)"));
        }
        // The failure was one call only: the document still answers.
        QCOMPARE(text(notes::firstText(document->GetItemValue("LastName"))),
                 QString::fromUtf8("\xC3\x85ngstr\xC3\xB6m"));
    }

    void largeBookLeaksNothing()
    {
        ServerControl server;
        server.selectBook("large");
        auto session = notes::com::createComSession(notes::kNotesProgId);
        auto database = session->GetDatabase("", "names.nsf");
        auto view = database->GetView("$People");
        auto navigator = view->CreateViewNav();
        QCOMPARE(navigator->Count(), std::int64_t(5000));
        std::unique_ptr<notes::NotesDocument> document;
        long documents = 0;
        long mostAlive = 0;
        std::string last;
        for (auto entry = navigator->GetFirstDocument(); entry;
             entry = navigator->GetNextDocument(*entry)) {
            document = entry->Document();
            last = notes::firstText(document->GetItemValue("FirstName")) + " " +
                   notes::firstText(document->GetItemValue("OfficePhoneNumber"));
            ++documents;
            if (documents % 500 == 0)
                mostAlive = std::max(mostAlive, server.liveObjects());
        }
        QCOMPARE(documents, 5000L);
        QCOMPARE(text(last), QString::fromUtf8("Person4999 5999"));
        // Session, database, view, navigator, entry and document: never more than one of each.
        QVERIFY(mostAlive <= 6);
        navigator.reset();
        view.reset();
        document.reset();
        database.reset();
        session.reset();
        QCOMPARE(server.liveObjects(), 0L);
    }

    void dxlPathsGoToTheDxlClient()
    {
        ServerControl server;
        notes::MemoryClient dxl;
        dxl.title = "DXL book";
        const notes::SessionFactory factory = notes::sessions::RoutingSession::factory(
            notes::com::comSessionFactory(), dxl.factory(), {});

        notes::SessionResult created = notes::createSession(factory);
        QVERIFY(created.session != nullptr);
        QVERIFY(!created.fromFallback);
        QCOMPARE(text(created.session->GetDatabase("", "C:\\Books\\Names.DXL")->Title()),
                 QString::fromUtf8("DXL book"));
        QCOMPARE(text(created.session->GetDatabase("", "export.xml")->Title()),
                 QString::fromUtf8("DXL book"));
        QCOMPARE(text(created.session->GetDatabase("", "names.nsf")->Title()),
                 QString::fromUtf8("Sample Address Book"));
        QCOMPARE(text(created.session->GetDatabase("", "names.dxl.nsf")->Title()),
                 QString::fromUtf8("Sample Address Book"));
        created.session.reset();

        // No Notes client: DXL files still open; an address book of the Notes client fails as Notes
        // being unavailable (the walks report that as not installed), with the reason the Notes
        // client could not start.
        server.setRegistered(notes::kDominoProgId, false);
        server.setRegistered(notes::kNotesProgId, false);
        QVERIFY(factory(notes::kNotesProgId) != nullptr);
        try {
            factory(notes::kDominoProgId);
            QFAIL("Domino.NotesSession was created without its class");
        } catch (const notes::NotesError &) {
        }
        notes::SessionResult dxlOnly = notes::createSession(factory);
        QVERIFY(dxlOnly.session != nullptr);
        QVERIFY(dxlOnly.fromFallback);
        QCOMPARE(text(dxlOnly.session->GetDatabase("", "names.dxl")->Title()),
                 QString::fromUtf8("DXL book"));
        try {
            dxlOnly.session->GetDatabase("", "names.nsf");
            QFAIL("names.nsf opened without a Notes client");
        } catch (const notes::NotesUnavailable &e) {
            QVERIFY(contains(e.reason(), notes::kNotesProgId));
        } catch (const notes::NotesError &) {
            QFAIL("names.nsf without a Notes client is not reported as Notes unavailable");
        }
    }
};

int main(int argc, char *argv[])
{
    notes::com::ComApartment apartment; // before Qt, as in the program
    if (!apartment.ok()) {
        std::fprintf(stderr, "COM could not be initialised\n");
        return 1;
    }
    QCoreApplication app(argc, argv);
    TestComClient test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_comclient.moc"
