// Tests of the scan walk over the in-memory client: which session it takes, how each failing
// operation ends or shortens the walk, what reaches the sink, the order in which the Notes
// objects are released, and where the backup copy goes.
#include "MemoryClient.h"
#include "ScanWalk.h"

#include <QTest>

#include <string>
#include <vector>

using notes::MemoryClient;
using notes::ScanOutcome;
using Op = MemoryClient::Op;
using Kind = ScanOutcome::Kind;

Q_DECLARE_METATYPE(MemoryClient::Op)
Q_DECLARE_METATYPE(ScanOutcome::Kind)

namespace {

class RecordingSink final : public notes::ScanSink {
public:
    void scanStarted(std::int64_t entryCount) override
    {
        ++started;
        count = entryCount;
    }
    void addContact(const notes::ScannedContact &contact) override { contacts.push_back(contact); }
    void progress(std::int64_t scanCounter) override { steps.push_back(scanCounter); }

    QStringList keys() const
    {
        QStringList out;
        for (const auto &c : contacts)
            out << QString::fromStdString(c.key);
        return out;
    }

    int started = 0;
    std::int64_t count = -1;
    std::vector<notes::ScannedContact> contacts;
    std::vector<std::int64_t> steps;
};

notes::MemoryDocument person(const std::string &id, const std::string &first,
                             const std::string &last)
{
    notes::MemoryDocument d;
    d.universalId = "UNID" + id;
    d.noteId = "N" + id;
    d.set("FirstName", first).set("LastName", last);
    return d;
}

// Three people; the 42 GetItemValue calls of document k are calls 42k-41 to 42k.
void threePeople(MemoryClient &client)
{
    client.people = {person("1", "Ann", "Abbott"), person("2", "Bruno", "Berg"),
                     person("3", "Carla", "Castillo")};
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
        QTest::newRow("neither") << QStringList{} << Kind::NotInstalled
                                 << QStringList{"Domino.NotesSession", "Notes.NotesSession"};
        QTest::newRow("Notes only") << QStringList{"Notes.NotesSession"} << Kind::Completed
                                    << QStringList{"Domino.NotesSession", "Notes.NotesSession"};
        QTest::newRow("Domino only") << QStringList{"Domino.NotesSession"} << Kind::Completed
                                     << QStringList{"Domino.NotesSession"};
        QTest::newRow("both") << QStringList{"Domino.NotesSession", "Notes.NotesSession"}
                              << Kind::Completed << QStringList{"Domino.NotesSession"};
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
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(spy, "names.nsf", sink);
        QTEST(out.kind, "kind");
        QTEST(asked, "asked");
        if (out.kind == Kind::NotInstalled) {
            QVERIFY(!out.reason.empty());
            QCOMPARE(sink.started, 0);
            QVERIFY(sink.contacts.empty());
        } else {
            QCOMPARE(sink.contacts.size(), size_t(3));
        }
        QCOMPARE(client.liveObjects(), 0);
    }

    void openFailure_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QStringList>("released");
        QTest::newRow("GetDatabase") << Op::GetDatabase << QStringList{"session"};
        QTest::newRow("Title") << Op::Title << QStringList{"database", "session"};
        QTest::newRow("GetView") << Op::GetView << QStringList{"database", "session"};
        QTest::newRow("CreateViewNav")
            << Op::CreateViewNav << QStringList{"view", "database", "session"};
        QTest::newRow("GetFirstDocument")
            << Op::GetFirstDocument << QStringList{"navigator", "view", "database", "session"};
    }
    void openFailure()
    {
        QFETCH(Op, op);
        QFETCH(QStringList, released);
        MemoryClient client;
        threePeople(client);
        client.failOn(op, 1);
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::CannotOpen);
        QVERIFY2(out.reason.find("failed") != std::string::npos, out.reason.c_str());
        QCOMPARE(sink.started, 0);
        QVERIFY(sink.contacts.empty());
        QVERIFY(sink.steps.empty());
        QCOMPARE(client.calls(Op::Document), 0);
        QCOMPARE(tail(client.releaseLog(), 10), released);
        QCOMPARE(client.liveObjects(), 0);
    }

    void missingBook()
    {
        MemoryClient client;
        threePeople(client);
        client.missingPaths.insert("gone.nsf");
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "gone.nsf", sink);
        QCOMPARE(out.kind, Kind::CannotOpen);
        QVERIFY(out.reason.find("gone.nsf") != std::string::npos);
    }

    void notesClientUnavailable()
    {
        // A session that reads DXL exports only, asked for a book of the Notes client: that is
        // Notes missing, not a bad file.
        MemoryClient client;
        threePeople(client);
        client.unavailablePaths.insert("names.nsf");
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::NotInstalled);
        QVERIFY(!out.reason.empty());
        QCOMPARE(sink.started, 0);
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
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Completed);
        QCOMPARE(out.entryCount, 3);
        QCOMPARE(out.added, 3);
        QCOMPARE(out.skipped, 0);
        QCOMPARE(sink.started, 1);
        QCOMPARE(sink.count, 3);
        QCOMPARE(sink.steps, (std::vector<std::int64_t>{1, 2, 3}));
        QCOMPARE(sink.keys(), (QStringList{"UNID1-N1", "UNID2-N2", "UNID3-N3"}));
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

    void documentFailure_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<int>("call");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("Document, first")
            << Op::Document << 1 << QStringList{"UNID2-N2", "UNID3-N3"};
        QTest::newRow("Document, third")
            << Op::Document << 3 << QStringList{"UNID1-N1", "UNID2-N2"};
        QTest::newRow("UniversalID, first")
            << Op::UniversalID << 1 << QStringList{"UNID2-N2", "UNID3-N3"};
        QTest::newRow("UniversalID, second")
            << Op::UniversalID << 2 << QStringList{"UNID1-N1", "UNID3-N3"};
        QTest::newRow("NoteID, first") << Op::NoteID << 1 << QStringList{"UNID2-N2", "UNID3-N3"};
        QTest::newRow("NoteID, third") << Op::NoteID << 3 << QStringList{"UNID1-N1", "UNID2-N2"};
        QTest::newRow("GetItemValue, first item")
            << Op::GetItemValue << 1 << QStringList{"UNID2-N2", "UNID3-N3"};
        QTest::newRow("GetItemValue, last item of the second")
            << Op::GetItemValue << 84 << QStringList{"UNID1-N1", "UNID3-N3"};
        QTest::newRow("GetItemValue, inside the third")
            << Op::GetItemValue << 84 + 20 << QStringList{"UNID1-N1", "UNID2-N2"};
    }
    void documentFailure()
    {
        QFETCH(Op, op);
        QFETCH(int, call);
        MemoryClient client;
        threePeople(client);
        client.failOn(op, call);
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Incomplete);
        QCOMPARE(out.added, 2);
        QCOMPARE(out.skipped, 1);
        QTEST(sink.keys(), "keys");
        QCOMPARE(sink.steps, (std::vector<std::int64_t>{1, 2, 3}));
        QCOMPARE(client.liveObjects(), 0);
    }

    void everyDocumentFails()
    {
        MemoryClient client;
        threePeople(client);
        client.failFrom(Op::Document, 1);
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Incomplete);
        QCOMPARE(out.added, 0);
        QCOMPARE(out.skipped, 3);
        QCOMPARE(sink.steps.size(), size_t(3));
        QCOMPARE(client.liveObjects(), 0);
    }

    void navigatorFailure_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<int>("added");
        QTest::newRow("after the first") << 1 << 1;
        QTest::newRow("after the second") << 2 << 2;
    }
    void navigatorFailure()
    {
        QFETCH(int, call);
        QFETCH(int, added);
        MemoryClient client;
        threePeople(client);
        client.failOn(Op::GetNextDocument, call);
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::StoppedEarly);
        QVERIFY(out.reason.find("GetNextDocument") != std::string::npos);
        QCOMPARE(out.added, added);
        QCOMPARE(out.skipped, 0);
        QCOMPARE(int(sink.contacts.size()), added);
        QCOMPARE(int(sink.steps.size()), added);
        QCOMPARE(tail(client.releaseLog(), 6), kReleaseOrder);
        QCOMPARE(client.liveObjects(), 0);
    }

    void countFailure()
    {
        MemoryClient client;
        threePeople(client);
        client.failOn(Op::Count, 1);
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Completed);
        QCOMPARE(out.entryCount, 0);
        QCOMPARE(sink.started, 1);
        QCOMPARE(sink.count, 0);
        QCOMPARE(out.added, 3);
    }

    void countDiffersFromBook()
    {
        MemoryClient client;
        threePeople(client);
        client.overrideCount = true;
        client.countValue = 1;
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Completed);
        QCOMPARE(out.entryCount, 1);
        QCOMPARE(out.added, 3);
    }

    void emptyView()
    {
        MemoryClient client;
        RecordingSink sink;
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::EmptyView);
        QVERIFY(sink.contacts.empty());
        QVERIFY(sink.steps.empty());
        QCOMPARE(client.calls(Op::Document), 0);
        QCOMPARE(tail(client.releaseLog(), 4),
                 (QStringList{"navigator", "view", "database", "session"}));
        QCOMPARE(client.liveObjects(), 0);
    }

    // More documents than a 16-bit counter holds: every one is read.
    void largeBook()
    {
        MemoryClient client;
        const int n = 40000;
        client.people.reserve(n);
        for (int i = 0; i < n; ++i)
            client.people.push_back(person(std::to_string(i), "P", "Q"));
        std::int64_t lastStep = 0;
        std::int64_t added = 0;
        class CountingSink final : public notes::ScanSink {
        public:
            CountingSink(std::int64_t &added, std::int64_t &lastStep)
                : m_added(added), m_lastStep(lastStep)
            {
            }
            void scanStarted(std::int64_t) override {}
            void addContact(const notes::ScannedContact &) override { ++m_added; }
            void progress(std::int64_t n) override { m_lastStep = n; }

        private:
            std::int64_t &m_added;
            std::int64_t &m_lastStep;
        } sink(added, lastStep);
        const ScanOutcome out = notes::runScan(client.factory(), "names.nsf", sink);
        QCOMPARE(out.kind, Kind::Completed);
        QCOMPARE(out.added, n);
        QCOMPARE(added, n);
        QCOMPARE(lastStep, n);
        QCOMPARE(out.entryCount, n);
    }

    void backupPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("nsf") << "names.nsf"
                             << "names.bak";
        QTest::newRow("in a folder") << "/data/mail/names.nsf"
                                     << "/data/mail/names.bak";
        QTest::newRow("no extension") << "/data/names"
                                      << "/data/names.bak";
        QTest::newRow("long extension") << "book.dxl2"
                                        << "book.bak";
        QTest::newRow("two dots") << "my.names.nsf"
                                  << "my.names.bak";
        QTest::newRow("already bak") << "names.bak"
                                     << "names.bak.bak";
        QTest::newRow("BAK in capitals") << "NAMES.BAK"
                                         << "NAMES.BAK.bak";
        QTest::newRow("dot file") << "/home/u/.profile"
                                  << "/home/u/.profile.bak";
        QTest::newRow("dot in folder only") << "/data.d/names"
                                            << "/data.d/names.bak";
        QTest::newRow("short name") << "a.b"
                                    << "a.bak";
        QTest::newRow("UTF-8 name")
            << QString::fromUtf8("/d/Bücher.nsf") << QString::fromUtf8("/d/Bücher.bak");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("folder") << "/data/mail/"
                                << "";
        QTest::newRow("dot") << "."
                             << "";
        QTest::newRow("dot dot") << "/data/.."
                                 << "";
    }
    void backupPath()
    {
        QFETCH(QString, path);
        const std::string source = path.toStdString();
        const std::string backup = notes::backupPathFor(source);
        QTEST(QString::fromStdString(backup), "backup");
        if (!backup.empty())
            QVERIFY(backup != source);
    }
};

QTEST_APPLESS_MAIN(TestScanWalk)
#include "tst_scanwalk.moc"
