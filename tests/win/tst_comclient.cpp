// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows Notes client against the stand-in COM server (StandInServer.cpp, registered by
// scripts/windows-tests), under wine: session creation in ProgID order, every value and item of a
// book compared with what the DXL client reads from the file the server serves, no reference kept
// longer than the walk needs it, failures with the server's own description, and the routing of
// DXL paths.
#include "MemoryClient.h"
#include "notes/ItemsWalk.h"
#include "notes/com/ComApartment.h"
#include "notes/com/ComClient.h"
#include "notes/com/DispatchPtr.h"
#include "notes/dxl/DxlClient.h"
#include "notes/sessions/RoutingSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTest>

#include <functional>

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

// A book of this folder (sample.dxl, empty.dxl).
std::string bookPath(const QString &name)
{
    return QDir::toNativeSeparators(QStringLiteral(KT_TEST_DATA "/win/") + name).toStdString();
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

QString valuesText(const notes::ItemValues &values)
{
    QString line;
    for (const notes::ItemValue &value : values)
        line += " [" + valueText(value) + "]";
    return line;
}

// Item names the comparison reads: every item of the sample's people and groups, and one no
// document has.
const char *const kItemNames[] = {
    "FirstName",  "LastName",   "MiddleInitial",   "CompanyName",     "OfficeStreetAddress",
    "Comment",    "Birthday",   "Anniversary",     "Categories",      "OfficePhoneNumber",
    "MiscPhone1", "MiscPhone2", "Spouse",          "MailAddress",     "ListName",
    "Members",    "GroupType",  "ListDescription", "InternetAddress", "NoSuchItem"};

// Opens `path` through `session`, walks "$People", then "Groups", and writes the title, and per
// view its count and per document its ids and every value of each item in kItemNames (kind,
// default text and, for dates, whether it holds a date, a time or both), calling `eachDocument`
// with each document open. Objects are released as the walks release them.
QStringList bookTranscript(notes::NotesSession &session, const std::string &path,
                           const std::function<void()> &eachDocument)
{
    QStringList lines;
    auto database = session.GetDatabase("", path);
    lines << "title " + text(database->Title());
    for (const std::string viewName : {"$People", notes::kGroupsView}) {
        auto view = database->GetView(viewName);
        auto navigator = view->CreateViewNav();
        lines << text(viewName) + " count " + QString::number(navigator->Count());
        auto entry = navigator->GetFirstDocument();
        std::unique_ptr<notes::NotesDocument> document;
        while (entry) {
            document = entry->Document();
            lines << "document " + text(document->UniversalID()) + " " + text(document->NoteID());
            for (const char *item : kItemNames)
                lines << "  " + QString::fromLatin1(item) + " =" +
                             valuesText(document->GetItemValue(item));
            eachDocument();
            entry = navigator->GetNextDocument(*entry);
        }
    }
    return lines;
}

// The items command's walk through NotesDatabase.AllDocuments and NotesDocument.Items: per
// document its ids and Form, and every item's name, type and values; then how the walk ended.
QStringList itemsTranscript(const notes::SessionFactory &factory, const std::string &path)
{
    struct Collect final : notes::ItemsSink {
        QStringList lines;
        void started(std::int64_t count) override { lines << "count " + QString::number(count); }
        void document(const notes::ListedDocument &d) override
        {
            lines << "document " + text(d.universalId) + " " + text(d.noteId) + " " + text(d.form);
            for (const notes::ItemInfo &item : d.items)
                lines << "  " + text(item.name) + " " + text(item.type) + valuesText(item.values);
        }
        void progress(std::int64_t) override {}
    } sink;
    const notes::WalkOutcome outcome = notes::runItems(factory, path, sink);
    return sink.lines << "outcome " + QString::number(static_cast<int>(outcome.kind));
}

// The stand-in server's control object. Serves `book` (a file of this folder) anew on creation,
// and registers both session classes again on leaving.
class ServerControl final {
public:
    explicit ServerControl(const QString &book = QStringLiteral("sample.dxl"))
        : m_control(DispatchPtr::create("KorvantaTest.Control"))
    {
        qputenv("KT_STANDIN_BOOK", QByteArray::fromStdString(bookPath(book)));
        m_control.call("Reset");
    }
    ~ServerControl()
    {
        try {
            setRegistered(notes::kDominoProgId, true);
            setRegistered(notes::kNotesProgId, true);
        } catch (...) {
        }
    }
    ServerControl(const ServerControl &) = delete;
    ServerControl &operator=(const ServerControl &) = delete;

    void failOn(const std::string &member, int nthCall, const std::string &description)
    {
        call("FailOn", {member, std::to_string(nthCall), description});
    }
    void setRegistered(const std::string &progId, bool on)
    {
        call("SetRegistered", {progId, on ? "1" : "0"});
    }
    long creations(const std::string &progId) { return call("Creations", {progId}).value().lVal; }
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

    void sameAsTheDxlClient_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<int>("lines");
        // The title; per view its count, per document its ids and an item a line; and the same
        // for the items walk, over the sample's 3 people and 2 groups and their 30 items, and its
        // outcome.
        QTest::newRow("sample") << QStringLiteral("sample.dxl")
                                << 1 + (1 + 3 * 21) + (1 + 2 * 21) + (1 + 5 + 30 + 1);
        QTest::newRow("empty") << QStringLiteral("empty.dxl") << 5;
    }

    void sameAsTheDxlClient()
    {
        QFETCH(QString, book);
        QFETCH(int, lines);
        ServerControl server(book);
        long mostAlive = 0;
        auto com = notes::com::createComSession(notes::kNotesProgId);
        QStringList viaCom = bookTranscript(*com, "names.nsf", [&server, &mostAlive] {
            mostAlive = std::max(mostAlive, server.liveObjects());
        });
        com.reset();
        viaCom << itemsTranscript(notes::com::comSessionFactory(), "names.nsf");
        QStringList viaDxl =
            bookTranscript(*notes::dxl::DxlClient::createSession(), bookPath(book), [] {});
        viaDxl << itemsTranscript(notes::dxl::DxlClient::factory(), bookPath(book));
        QCOMPARE(viaDxl.size(), qsizetype(lines));
        QCOMPARE(viaCom, viaDxl);
        // Session, database, view, navigator, entry and document: never more than one of each.
        QVERIFY(mostAlive <= 6);
        QCOMPARE(server.liveObjects(), 0L);
    }

    // Failures reach the caller: with the server's own description, and a view Notes answers
    // with Nothing.
    void failures()
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
        try {
            database->GetView("NoSuchView");
            QFAIL("GetView of a missing view returned");
        } catch (const notes::NotesError &e) {
            QVERIFY(contains(e.reason(), "NoSuchView"));
        }
        auto navigator = database->GetView("$People")->CreateViewNav();
        auto document = navigator->GetFirstDocument()->Document();
        QCOMPARE(notes::firstText(document->GetItemValue("FirstName")), std::string("Anna"));
        try {
            document->GetItemValue("LastName");
            QFAIL("the failing GetItemValue returned");
        } catch (const notes::NotesError &e) {
            QCOMPARE(
                text(e.reason()),
                QString::fromUtf8("Notes GetItemValue: Bad item in note \xC3\xA9 (NotesDocument)"));
        }
        // The failure was one call only: the document still answers.
        QCOMPARE(notes::firstText(document->GetItemValue("LastName")), std::string("Cole"));
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
        const auto title = [&created](const char *path) {
            return created.session->GetDatabase("", path)->Title();
        };
        QCOMPARE(title("C:\\Books\\Names.DXL"), std::string("DXL book"));
        QCOMPARE(title("export.xml"), std::string("DXL book"));
        QCOMPARE(title("names.nsf"), std::string("Sample Address Book"));
        QCOMPARE(title("names.dxl.nsf"), std::string("Sample Address Book"));
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
