// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the scan walk over the in-memory client: which session it takes, how each failing
// operation ends or shortens the walk, what reaches the sink, the order in which the Notes
// objects are released, and where the backup copy goes.
#include "DataRows.h"
#include "TestBooks.h"

#include <QTest>

using notes::MemoryClient;
using notes::WalkOutcome;
using Op = MemoryClient::Op;
using Kind = WalkOutcome::Kind;

Q_DECLARE_METATYPE(MemoryClient::Op)
Q_DECLARE_METATYPE(WalkOutcome::Kind)

namespace {

// Three people; the 42 GetItemValue calls of document k are calls 42k-41 to 42k.
void threePeople(MemoryClient &client)
{
    client.people = {person("1", "Ann", "Abbott"), person("2", "Bruno", "Berg"),
                     person("3", "Carla", "Castillo")};
}

WalkOutcome scan(MemoryClient &client, RecordingScanSink &sink,
                 const std::string &path = "names.nsf")
{
    return notes::runScan(client.factory(), path, sink);
}

QStringList keys(const RecordingScanSink &sink)
{
    QStringList out;
    for (const auto &c : sink.contacts)
        out << QString::fromStdString(c.key);
    return out;
}

QStringList tail(const std::vector<std::string> &log, int n)
{
    QStringList out;
    for (auto i = log.size() >= size_t(n) ? log.size() - size_t(n) : 0; i < log.size(); ++i)
        out << QString::fromStdString(log[i]);
    return out;
}

const QStringList kReleaseOrder = {"entry", "navigator", "view", "document", "database", "session"};

} // namespace

class TestScanWalk final : public QObject {
    Q_OBJECT

private slots:
    void sessionChoice_data()
    {
        QTest::addColumn<QStringList>("available");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("asked");
        const QString domino = "Domino.NotesSession", notesId = "Notes.NotesSession";
        QTest::newRow("neither") << QStringList{} << Kind::NotInstalled
                                 << QStringList{domino, notesId};
        QTest::newRow("Notes only")
            << QStringList{notesId} << Kind::Completed << QStringList{domino, notesId};
        QTest::newRow("Domino only")
            << QStringList{domino} << Kind::Completed << QStringList{domino};
        QTest::newRow("both") << QStringList{domino, notesId} << Kind::Completed
                              << QStringList{domino};
    }
    void sessionChoice()
    {
        QFETCH(QStringList, available);
        MemoryClient client;
        threePeople(client);
        client.availableProgIds.clear();
        for (const QString &id : available)
            client.availableProgIds.insert(id.toStdString());
        QStringList asked;
        const notes::SessionFactory inner = client.factory();
        const notes::SessionFactory spy = [&](const std::string &progId) {
            asked << QString::fromStdString(progId);
            return inner(progId);
        };
        RecordingScanSink sink;
        const WalkOutcome out = notes::runScan(spy, "names.nsf", sink);
        QTEST(out.kind, "kind");
        QTEST(asked, "asked");
        if (out.kind == Kind::NotInstalled) {
            QVERIFY(!out.reason.empty());
            QCOMPARE(sink.started, 0);
        }
        QCOMPARE(sink.contacts.size(), size_t(out.kind == Kind::Completed ? 3 : 0));
        QCOMPARE(client.liveObjects(), 0);
    }

    // Runs that read no document, or end as a whole some other way than by a failing document.
    void outcome_data()
    {
        testdata::addRows("notes/scan-outcomes.rows",
                          {"setup", "op", "kind", "entryCount", "added", "skipped", "steps",
                           "reasonHolds", "released"});
    }

    void outcome()
    {
        QFETCH(QString, setup);
        QFETCH(QString, op);
        QFETCH(QString, kind);
        QFETCH(QString, entryCount);
        QFETCH(QString, added);
        QFETCH(QString, skipped);
        QFETCH(QString, steps);
        QFETCH(QString, reasonHolds);
        QFETCH(QString, released);
        const QStringList releaseLog = released.split(u' ', Qt::SkipEmptyParts);
        MemoryClient client;
        if (setup != "empty")
            threePeople(client);
        if (setup == "missing")
            client.missingPaths.insert("gone.nsf");
        else if (setup == "unavailable")
            client.unavailablePaths.insert("names.nsf");
        else if (setup == "all fail")
            client.failFrom(Op::Document, 1);
        else if (setup == "count 1")
            client.overrideCount = true, client.countValue = 1;
        if (!op.isEmpty())
            client.failOn(testdata::named<Op>(op, MemoryClient::kOpNames), 1);
        RecordingScanSink sink;
        const WalkOutcome out = scan(client, sink, setup == "missing" ? "gone.nsf" : "names.nsf");
        QCOMPARE(out.kind, testdata::named<Kind>(kind, kKindNames));
        QCOMPARE(int(out.delivered), added.toInt());
        QCOMPARE(int(out.skipped), skipped.toInt());
        QCOMPARE(int(out.entryCount), entryCount.toInt());
        const bool opened = out.kind != Kind::CannotOpen && out.kind != Kind::NotInstalled;
        QCOMPARE(sink.started, opened ? 1 : 0);
        if (opened)
            QCOMPARE(int(sink.count), entryCount.toInt());
        QCOMPARE(int(sink.contacts.size()), int(out.delivered));
        QCOMPARE(int(sink.steps.size()), steps.toInt());
        if (steps.toInt() == 0)
            QCOMPARE(client.calls(Op::Document), 0);
        QVERIFY2(reasonHolds.isEmpty() == out.reason.empty(), out.reason.c_str());
        QVERIFY2(QString::fromStdString(out.reason).contains(reasonHolds), out.reason.c_str());
        if (!releaseLog.isEmpty())
            QCOMPARE(tail(client.releaseLog(), opened ? int(releaseLog.size()) : 100), releaseLog);
        QCOMPARE(client.liveObjects(), 0);
    }

    void completed()
    {
        MemoryClient client;
        threePeople(client);
        auto &ann = client.people[0];
        ann.set("MiddleInitial", "J");
        ann.set("Categories",
                {notes::ItemValue::fromText("Red"), notes::ItemValue::fromText("Blue")});
        ann.set("Birthday", {notes::ItemValue::fromDateTime({true, false, 1968, 2, 14, 0, 0, 0})});
        ann.set("OfficeZip", {notes::ItemValue::fromNumber(4711)});
        ann.set("comment", "a|b");
        client.people[1] = person("2", "  bruno", "Berg");
        RecordingScanSink sink;
        const WalkOutcome out = scan(client, sink);
        QCOMPARE(out.kind, Kind::Completed);
        QCOMPARE(out.entryCount, 3);
        QCOMPARE(out.delivered, 3);
        QCOMPARE(out.skipped, 0);
        QCOMPARE(sink.started, 1);
        QCOMPARE(sink.count, 3);
        QCOMPARE(sink.steps, (std::vector<std::int64_t>{1, 2, 3}));
        QCOMPARE(keys(sink), (QStringList{"UNID1-N1", "UNID2-N2", "UNID3-N3"}));
        const notes::ScannedContact &first = sink.contacts[0];
        QCOMPARE(first.displayName, std::string("Ann J Abbott"));
        QCOMPARE(first.groupKey, std::string("A"));
        QCOMPARE(first.record.fields[41], std::string("Red"));
        QCOMPARE(first.record.fields[35], std::string("1968-02-14"));
        QCOMPARE(first.record.fields[10], std::string("4711"));
        QCOMPARE(first.record.fields[37], std::string("a|b"));
        QCOMPARE(first.record.fields[5], std::string()); // absent item
        QCOMPARE(sink.contacts[1].displayName, std::string("bruno Berg"));
        QCOMPARE(sink.contacts[1].groupKey, std::string("B"));
        QCOMPARE(client.calls(Op::GetItemValue), 3 * 42);
        QCOMPARE(tail(client.releaseLog(), 5), kReleaseOrder.mid(1));
        QCOMPARE(client.liveObjects(), 0);
    }

    // One document fails (Incomplete), or the walk breaks off (StoppedEarly).
    void documentFailure_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<int>("call");
        QTest::addColumn<QStringList>("keys");
        const QString k1 = "UNID1-N1", k2 = "UNID2-N2", k3 = "UNID3-N3";
        QTest::newRow("Document, first") << Op::Document << 1 << QStringList{k2, k3};
        QTest::newRow("UniversalID, second") << Op::UniversalID << 2 << QStringList{k1, k3};
        QTest::newRow("NoteID, first") << Op::NoteID << 1 << QStringList{k2, k3};
        QTest::newRow("GetItemValue, first item") << Op::GetItemValue << 1 << QStringList{k2, k3};
        QTest::newRow("GetItemValue, last item of the second")
            << Op::GetItemValue << 84 << QStringList{k1, k3};
        QTest::newRow("GetNextDocument after the first")
            << Op::GetNextDocument << 1 << QStringList{k1};
        QTest::newRow("GetNextDocument after the second")
            << Op::GetNextDocument << 2 << QStringList{k1, k2};
    }
    void documentFailure()
    {
        QFETCH(Op, op);
        QFETCH(int, call);
        QFETCH(QStringList, keys);
        MemoryClient client;
        threePeople(client);
        client.failOn(op, call);
        RecordingScanSink sink;
        const WalkOutcome out = scan(client, sink);
        QCOMPARE(::keys(sink), keys);
        QCOMPARE(out.delivered, keys.size());
        if (op == Op::GetNextDocument) {
            QCOMPARE(out.kind, Kind::StoppedEarly);
            QVERIFY(out.reason.find("GetNextDocument") != std::string::npos);
            QCOMPARE(out.skipped, 0);
            QCOMPARE(int(sink.steps.size()), keys.size());
            QCOMPARE(tail(client.releaseLog(), 6), kReleaseOrder);
        } else {
            QCOMPARE(out.kind, Kind::Incomplete);
            QCOMPARE(out.skipped, 1);
            QCOMPARE(sink.steps, (std::vector<std::int64_t>{1, 2, 3}));
        }
        QCOMPARE(client.liveObjects(), 0);
    }

    // Memory running out while the book opens or while a document is read is a failure of the
    // book, reported with a reason; nothing escapes the walk and nothing is claimed.
    void outOfMemory_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("lengthError"); // else std::bad_alloc
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("added");
        QTest::newRow("session, bad_alloc") << "session" << false << Kind::CannotOpen << 0;
        QTest::newRow("book, bad_alloc") << "book" << false << Kind::CannotOpen << 0;
        QTest::newRow("book, length_error") << "book" << true << Kind::CannotOpen << 0;
        QTest::newRow("second document, bad_alloc") << "read" << false << Kind::StoppedEarly << 1;
        QTest::newRow("second document, length_error") << "read" << true << Kind::StoppedEarly << 1;
    }
    void outOfMemory()
    {
        QFETCH(QString, where);
        QFETCH(bool, lengthError);
        const auto fail = [lengthError] {
            if (lengthError)
                throw std::length_error("too long");
            throw std::bad_alloc();
        };
        class HungrySession final : public notes::NotesSession {
        public:
            std::function<void()> fail;
            std::unique_ptr<notes::NotesDatabase> GetDatabase(const std::string &,
                                                              const std::string &) override
            {
                fail();
                return nullptr;
            }
        };
        class HungrySink final : public notes::ScanSink {
        public:
            std::function<void()> fail;
            int added = 0;
            void scanStarted(std::int64_t) override {}
            void addContact(const notes::ScannedContact &) override
            {
                if (++added == 2)
                    fail();
            }
            void progress(std::int64_t) override {}
        };
        MemoryClient client;
        threePeople(client);
        const notes::SessionFactory inner = client.factory();
        const notes::SessionFactory factory =
            [&](const std::string &progId) -> std::unique_ptr<notes::NotesSession> {
            if (where == "session")
                fail();
            if (where == "book") {
                auto session = std::make_unique<HungrySession>();
                session->fail = fail;
                return session;
            }
            return inner(progId);
        };
        HungrySink sink;
        sink.fail = fail;
        WalkOutcome out;
        try {
            out = notes::runScan(factory, "names.nsf", sink);
        } catch (...) {
            QFAIL("an exception escaped the walk");
        }
        QTEST(out.kind, "kind");
        QTEST(int(out.delivered), "added");
        QVERIFY2(out.reason.find("memory") != std::string::npos, out.reason.c_str());
        QCOMPARE(client.liveObjects(), 0);
    }

    void backupPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        const auto row = [](const char *name, const char *path, const char *backup) {
            QTest::newRow(name) << QString::fromUtf8(path) << QString::fromUtf8(backup);
        };
        row("in a folder", "/data/mail/names.nsf", "/data/mail/names.bak");
        row("no extension", "/data/names", "/data/names.bak");
        row("two dots, long extension", "my.names.dxl2", "my.names.bak");
        row("already bak", "names.bak", "names.bak.bak");
        row("BAK in capitals", "NAMES.BAK", "NAMES.BAK.bak");
        row("dot file", "/home/u/.profile", "/home/u/.profile.bak");
        row("dot in folder only", "/data.d/names", "/data.d/names.bak");
        row("UTF-8 name", "/d/Bücher.nsf", "/d/Bücher.bak");
        row("empty", "", "");
        row("folder", "/data/mail/", "");
        row("dot", ".", "");
        row("dot dot", "/data/..", "");
    }
    void backupPath()
    {
        QFETCH(QString, path);
        QTEST(QString::fromStdString(notes::backupPathFor(path.toStdString())), "backup");
    }
};

QTEST_APPLESS_MAIN(TestScanWalk)
#include "tst_scanwalk.moc"
