// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the scan walk over the in-memory client: which session it takes, how each failing
// operation ends or shortens the walk, what reaches the sink, the order in which the Notes
// objects are released, and where the backup copy goes. And of the contact record it fills: the
// field schema, the names shown for a contact, the group it is listed under, and the one-text
// form that travels with the tree node.
#include "DataRows.h"
#include "TestBooks.h"
#include "notes/ContactRecord.h"

#include <QTest>

#include <set>

using notes::MemoryClient;
using notes::WalkOutcome;
using Op = MemoryClient::Op;
using Kind = WalkOutcome::Kind;

class TestScanWalk final : public QObject {
    Q_OBJECT

private slots:
    void outcome_data()
    {
        testdata::addRows("notes/scan-outcomes.rows",
                          {"setup", "progIds", "asked", "op", "call", "throws", "kind",
                           "entryCount", "keys", "skipped", "steps", "reasonHolds", "released"});
    }

    void outcome()
    {
        const auto [setup, progIds, asked, op, call, throws, kind, entryCount, keys, skipped, steps,
                    reasonHolds, released] =
            testdata::cells("setup", "progIds", "asked", "op", "call", "throws", "kind",
                            "entryCount", "keys", "skipped", "steps", "reasonHolds", "released");
        const QStringList releaseLog = released.split(u' ', Qt::SkipEmptyParts);
        MemoryClient client;
        if (setup != "empty")
            client.people = {person("1", "Ann", "Abbott"), person("2", "Bruno", "Berg"),
                             person("3", "Carla", "Castillo")};
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
        client.throws = throws.toStdString();
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
        QStringList log;
        for (const std::string &object : client.releaseLog())
            log << QString::fromStdString(object);
        if (!releaseLog.isEmpty())
            QCOMPARE(opened ? log.mid(log.size() - releaseLog.size()) : log, releaseLog);
        QCOMPARE(client.liveObjects(), 0);
    }

    void backupPath_data() { testdata::addRows("notes/backup-paths.rows", {"path", "backup"}); }
    void backupPath()
    {
        QFETCH(QString, path);
        QTEST(QString::fromStdString(notes::backupPathFor(path.toStdString())), "backup");
    }

    void schemaNamesEachThingOnce()
    {
        std::set<std::string> items, boxes, captions;
        for (const notes::FieldSpec &spec : notes::kFields) {
            items.insert(spec.item);
            boxes.insert(spec.box);
        }
        QCOMPARE(items.size(), notes::kFields.size());
        QCOMPARE(boxes.size(), notes::kFields.size());
        for (const notes::ExportColumn &column : notes::kExportColumns) {
            captions.insert(column.caption);
            // Every column but the full name writes an item the record keeps.
            if (std::string(column.item) != "FullName")
                QVERIFY2(notes::fieldOf(column.item) >= 0, column.item);
        }
        QCOMPARE(captions.size(), notes::kExportColumns.size());
    }

    void names_data()
    {
        testdata::addRows("notes/contact-names.rows",
                          {"first", "middle", "last", "display", "header", "group"});
    }
    void names()
    {
        const auto [first, middle, last] = testdata::cells("first", "middle", "last");
        notes::ContactRecord r;
        r.fields[notes::field("FirstName")] = first.toStdString();
        r.fields[notes::field("MiddleInitial")] = middle.toStdString();
        r.fields[notes::field("LastName")] = last.toStdString();
        QTEST(QString::fromStdString(r.displayName()), "display");
        QTEST(QString::fromStdString(r.headerName()), "header");
        QTEST(QString::fromStdString(r.groupKey()), "group");
    }

    void recordText_data() { testdata::addRows("notes/record-texts.rows", {"encoded", "fields"}); }
    void recordText()
    {
        const auto [encoded, fields] = testdata::cells("encoded", "fields");
        const QStringList expected = fields.split(QLatin1String(" / "));
        const auto r = notes::ContactRecord::decode(encoded.toStdString());
        for (int i = 0; i < notes::kFieldCount; ++i)
            QCOMPARE(QString::fromStdString(r.fields[i]), expected.value(i));
        QVERIFY(notes::ContactRecord::decode(r.encode()).fields == r.fields);
    }
};

QTEST_APPLESS_MAIN(TestScanWalk)
#include "tst_scanwalk.moc"
