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

QStringList tail(const std::vector<std::string> &log, int n)
{
    QStringList out;
    for (auto i = log.size() >= size_t(n) ? log.size() - size_t(n) : 0; i < log.size(); ++i)
        out << QString::fromStdString(log[i]);
    return out;
}

} // namespace

class TestScanWalk final : public QObject {
    Q_OBJECT

private slots:
    void outcome_data()
    {
        testdata::addRows("notes/scan-outcomes.rows",
                          {"setup", "progIds", "asked", "op", "call", "kind", "entryCount", "keys",
                           "skipped", "steps", "reasonHolds", "released"});
    }

    void outcome()
    {
        QFETCH(QString, setup);
        QFETCH(QString, progIds);
        QFETCH(QString, asked);
        QFETCH(QString, op);
        QFETCH(QString, call);
        QFETCH(QString, kind);
        QFETCH(QString, entryCount);
        QFETCH(QString, keys);
        QFETCH(QString, skipped);
        QFETCH(QString, steps);
        QFETCH(QString, reasonHolds);
        QFETCH(QString, released);
        const QStringList releaseLog = released.split(u' ', Qt::SkipEmptyParts);
        MemoryClient client;
        if (setup != "empty")
            threePeople(client);
        if (!progIds.isEmpty())
            client.availableProgIds.clear();
        for (const QString &id : progIds.split(u' ', Qt::SkipEmptyParts))
            if (id != "none")
                client.availableProgIds.insert(id.toStdString() + ".NotesSession");
        if (setup == "missing")
            client.missingPaths.insert("gone.nsf");
        else if (setup == "unavailable")
            client.unavailablePaths.insert("names.nsf");
        else if (setup == "all fail")
            client.failFrom(Op::Document, 1);
        else if (setup == "count 1")
            client.overrideCount = true, client.countValue = 1;
        if (!op.isEmpty())
            client.failOn(testdata::named<Op>(op, MemoryClient::kOpNames),
                          std::max(1, call.toInt()));
        QStringList askedFor;
        const notes::SessionFactory inner = client.factory();
        const notes::SessionFactory spy = [&](const std::string &progId) {
            askedFor << QString::fromStdString(progId);
            return inner(progId);
        };
        RecordingScanSink sink;
        const WalkOutcome out =
            notes::runScan(spy, setup == "missing" ? "gone.nsf" : "names.nsf", sink);
        QCOMPARE(out.kind, testdata::named<Kind>(kind, kKindNames));
        QStringList delivered;
        for (const auto &c : sink.contacts)
            delivered << QString::fromStdString(c.key);
        QCOMPARE(delivered.join(u' '), keys);
        QCOMPARE(int(out.delivered), delivered.size());
        QCOMPARE(int(out.skipped), skipped.toInt());
        QCOMPARE(int(out.entryCount), entryCount.toInt());
        const bool opened = out.kind != Kind::CannotOpen && out.kind != Kind::NotInstalled;
        QCOMPARE(sink.started, opened ? 1 : 0);
        if (opened)
            QCOMPARE(int(sink.count), entryCount.toInt());
        QCOMPARE(int(sink.steps.size()), steps.toInt());
        for (size_t i = 0; i < sink.steps.size(); ++i)
            QCOMPARE(sink.steps[i], std::int64_t(i + 1));
        if (steps.toInt() == 0)
            QCOMPARE(client.calls(Op::Document), 0);
        QVERIFY2(reasonHolds.isEmpty() == out.reason.empty(), out.reason.c_str());
        QVERIFY2(QString::fromStdString(out.reason).contains(reasonHolds), out.reason.c_str());
        if (!asked.isEmpty())
            QCOMPARE(askedFor.join(u' '), asked);
        if (!releaseLog.isEmpty())
            QCOMPARE(tail(client.releaseLog(), opened ? int(releaseLog.size()) : 100), releaseLog);
        QCOMPARE(client.liveObjects(), 0);
    }

    // What a document's record holds: the first value of a list, dates and numbers as text, a
    // bar kept, an absent item empty; the names shown and the group, each item read once.
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
        QCOMPARE(scan(client, sink).kind, Kind::Completed);
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
    }

    // Memory running out while the book opens or while a document is read is a failure of the
    // book, reported with a reason; nothing escapes the walk and nothing is claimed.
    void outOfMemory_data()
    {
        QTest::addColumn<bool>("opening");     // else while the second document is read
        QTest::addColumn<bool>("lengthError"); // else std::bad_alloc
        QTest::newRow("opening, bad_alloc") << true << false;
        QTest::newRow("opening, length_error") << true << true;
        QTest::newRow("second document, bad_alloc") << false << false;
        QTest::newRow("second document, length_error") << false << true;
    }
    void outOfMemory()
    {
        QFETCH(bool, opening);
        QFETCH(bool, lengthError);
        const auto fail = [lengthError] {
            if (lengthError)
                throw std::length_error("too long");
            throw std::bad_alloc();
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
        const notes::SessionFactory factory = [&](const std::string &progId) {
            if (opening)
                fail();
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
        QCOMPARE(out.kind, opening ? Kind::CannotOpen : Kind::StoppedEarly);
        QCOMPARE(out.delivered, opening ? 0 : 1);
        QVERIFY2(out.reason.find("memory") != std::string::npos, out.reason.c_str());
        QCOMPARE(client.liveObjects(), 0);
    }

    void backupPath_data() { testdata::addRows("notes/backup-paths.rows", {"path", "backup"}); }
    void backupPath()
    {
        QFETCH(QString, path);
        QTEST(QString::fromStdString(notes::backupPathFor(path.toStdString())), "backup");
    }
};

QTEST_APPLESS_MAIN(TestScanWalk)
#include "tst_scanwalk.moc"
