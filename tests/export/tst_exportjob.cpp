// SPDX-License-Identifier: GPL-3.0-or-later
// The export job over the in-memory client, as the export window and the command line run it:
// for every way a run can end, what is written (the whole file, or nothing at all), what the
// result says, what reaches the progress callbacks, and that every Notes object is released.
#include "ExportFilePath.h"
#include "ExportJob.h"
#include "FileBytes.h"
#include "TestBooks.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using notes::MemoryClient;
using Op = MemoryClient::Op;
using Kind = notes::WalkOutcome::Kind;
using Failure = ExportResult::Failure;
using Lines = QList<QByteArray>;

Q_DECLARE_METATYPE(MemoryClient::Op)
Q_DECLARE_METATYPE(notes::WalkOutcome::Kind)
Q_DECLARE_METATYPE(ExportResult::Failure)

class TestExportJob final : public QObject {
    Q_OBJECT

private slots:
    void outcome_data()
    {
        QTest::addColumn<int>("people");
        QTest::addColumn<QString>("setup"); // "no session", "no folder", "blocked commit"
        QTest::addColumn<MemoryClient::Op>("failing");
        QTest::addColumn<int>("nthCall"); // 0: nothing fails
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<notes::WalkOutcome::Kind>("kind");
        QTest::addColumn<Lines>("lines"); // the file's lines; none: no file
        QTest::addColumn<int>("skipped");

        const QByteArray h("First Name,Notes\r\n");
        const QByteArray l1("First1,Note1\r\n"), l2("First2,Note2\r\n"), l3("First3,Note3\r\n");
        const Failure none = Failure::None, book = Failure::Book, writing = Failure::Writing;

        // How each way of opening and walking ends is the shared walk's, checked with the scan;
        // these rows check what the export writes and says for each kind of end.
        QTest::newRow("all read") << 3 << "" << Op::Count << 0 << none << Kind::Completed
                                  << Lines{h, l1, l2, l3} << 0;
        QTest::newRow("empty view")
            << 0 << "" << Op::Count << 0 << none << Kind::EmptyView << Lines{h} << 0;
        QTest::newRow("no session")
            << 3 << "no session" << Op::Count << 0 << book << Kind::NotInstalled << Lines{} << 0;
        QTest::newRow("GetDatabase fails")
            << 3 << "" << Op::GetDatabase << 1 << book << Kind::CannotOpen << Lines{} << 0;
        QTest::newRow("first document fails")
            << 3 << "" << Op::Document << 1 << none << Kind::Incomplete << Lines{h, l2, l3} << 1;
        // Two items per document: call 4 is the first item of the second document.
        QTest::newRow("item of a later document fails")
            << 3 << "" << Op::GetItemValue << 4 << none << Kind::Incomplete << Lines{h, l1, l3}
            << 1;
        QTest::newRow("GetNextDocument fails") << 3 << "" << Op::GetNextDocument << 2 << none
                                               << Kind::StoppedEarly << Lines{h, l1, l2} << 0;
        // The writer cannot prepare the file: the book is not even opened.
        QTest::newRow("folder below a file")
            << 3 << "no folder" << Op::Count << 0 << writing << Kind::Completed << Lines{} << 0;
        // A folder takes the file's place while the book is read: the walk completes, but the
        // file cannot be put in place.
        QTest::newRow("commit fails") << 3 << "blocked commit" << Op::Count << 0 << writing
                                      << Kind::Completed << Lines{} << 0;
    }

    void outcome()
    {
        QFETCH(int, people);
        QFETCH(QString, setup);
        QFETCH(MemoryClient::Op, failing);
        QFETCH(int, nthCall);
        QFETCH(Failure, failure);
        QFETCH(notes::WalkOutcome::Kind, kind);
        QFETCH(Lines, lines);
        QFETCH(int, skipped);

        QTemporaryDir dir;
        QString folder = dir.path();
        if (setup == QLatin1String("no folder")) {
            QVERIFY(writeBytes(dir.filePath(QStringLiteral("afile")), "a file"));
            folder = dir.filePath(QStringLiteral("afile/sub"));
        }
        const QString path = exportFileIn(folder);
        MemoryClient client;
        addPeople(client, people, "comment");
        if (setup == QLatin1String("no session"))
            client.availableProgIds.clear();
        if (nthCall > 0)
            client.failOn(failing, nthCall);
        const notes::SessionFactory inner = client.factory();
        const notes::SessionFactory factory = [&](const std::string &progId) {
            if (setup == QLatin1String("blocked commit"))
                QDir(folder).mkpath(QStringLiteral("OE-Contacts.csv/taken"));
            return inner(progId);
        };

        ExportRequest request;
        request.book = QStringLiteral("names.nsf");
        request.positions = {0, 27};
        request.folder = folder;
        int openings = 0;
        QList<std::int64_t> counts;
        QList<std::int64_t> steps;
        request.opening = [&openings] { ++openings; };
        request.started = [&counts](std::int64_t count) { counts << count; };
        request.progress = [&steps](std::int64_t reached) { steps << reached; };
        const ExportResult result = runExportJob(factory, request);

        QCOMPARE(result.failure, failure);
        QCOMPARE(result.writtenPath, path);
        QCOMPARE(result.errorText.isEmpty(), failure != Failure::Writing);
        QVERIFY(!result.utf8Fallback);
        QCOMPARE(QFileInfo(path).isFile(), !lines.isEmpty());
        if (!lines.isEmpty())
            QCOMPARE(readBytes(path), lines.join());
        // Nothing but the finished file, or what was there before, is left in the folder.
        QStringList expected{QStringLiteral("OE-Contacts.csv")};
        if (setup == QLatin1String("no folder"))
            expected = QStringList{QStringLiteral("afile")};
        else if (lines.isEmpty() && setup != QLatin1String("blocked commit"))
            expected.clear();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 expected);

        const notes::WalkOutcome &outcome = result.outcome;
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(outcome.skipped, skipped);
        QCOMPARE(outcome.delivered, setup == QLatin1String("blocked commit")
                                        ? people
                                        : std::max<qsizetype>(0, lines.size() - 1));
        QCOMPARE(client.liveObjects(), 0);
        const bool prepared = setup != QLatin1String("no folder");
        QCOMPARE(openings, prepared ? 1 : 0);
        QCOMPARE(client.calls(Op::CreateSession) > 0,
                 prepared && setup != QLatin1String("no session"));

        const bool opened = prepared && failure != Failure::Book;
        QCOMPARE(counts, opened ? QList<std::int64_t>{people} : QList<std::int64_t>{});
        if (failure == Failure::Book || kind == Kind::StoppedEarly)
            QVERIFY(!outcome.reason.empty());
        if (skipped > 0)
            QVERIFY(!outcome.skipReason.empty());
        // Progress counts every document the walk reached, read or skipped, from 1 up.
        const int reached = kind == Kind::StoppedEarly ? nthCall : (opened ? people : 0);
        QCOMPARE(steps.size(), reached);
        for (int i = 0; i < steps.size(); ++i)
            QCOMPARE(steps[i], i + 1);
    }
};

QTEST_APPLESS_MAIN(TestExportJob)
#include "tst_exportjob.moc"
