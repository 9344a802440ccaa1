// SPDX-License-Identifier: GPL-3.0-or-later
// The export job over the in-memory client, as the export window and the command line run it:
// for every way a run can end, what is written (the whole file, or nothing at all), what the
// result says, what reaches the progress callbacks, and that every Notes object is released.
// And the bytes themselves: the sample book and the books of golden/ (hard values, cards whose
// written form matters to readers, every item, Latin-1 text) through the DXL client, every
// column and every card, against files checked by eye and read back by read_vcards.py
// (KT_GOLDEN_UPDATE=1 writes them anew, to be read and committed).
#include "DataRows.h"
#include "FileBytes.h"
#include "TestBooks.h"
#include "export/ExportFilePath.h"
#include "export/ExportJob.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using notes::MemoryClient;
using Op = MemoryClient::Op;
using Kind = notes::WalkOutcome::Kind;
using Failure = exporting::ExportResult::Failure;

class TestExportJob final : public QObject {
    Q_OBJECT

private slots:
    // Each golden file "BOOK.csv", "BOOK.vcf" or "BOOK-latin1.csv" (in the Latin-1 code page) is
    // the export of golden/BOOK.dxl, or of the sample book for "names".
    void golden_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<exporting::ExportFormat>("format");
        QTest::addColumn<QString>("expected");
        const QDir golden(QStringLiteral(KT_TEST_DATA "/export/golden"));
        for (const QFileInfo &file : golden.entryInfoList({"*.csv", "*.vcf"}, QDir::Files)) {
            const QString name = file.completeBaseName().remove(QLatin1String("-latin1"));
            QTest::newRow(qPrintable(file.fileName()))
                << (name == QLatin1String("names") ? QStringLiteral(KT_SAMPLE_BOOK)
                                                   : golden.filePath(name + QStringLiteral(".dxl")))
                << (file.suffix() == QLatin1String("csv") ? exporting::ExportFormat::Csv
                                                          : exporting::ExportFormat::VCard)
                << file.filePath();
        }
    }

    void golden()
    {
        QFETCH(QString, book);
        QFETCH(exporting::ExportFormat, format);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        exporting::ExportRequest request;
        request.book = book;
        request.format = format;
        request.folder = dir.path();
        request.codePage = expected.contains(QLatin1String("-latin1.")) ? QStringConverter::Latin1
                                                                        : QStringConverter::Utf8;
        request.positions.resize(notes::kExportColumnCount);
        std::iota(request.positions.begin(), request.positions.end(), std::size_t{0});
        const exporting::ExportResult result =
            exporting::runExportJob(notes::dxl::DxlClient::factory(), request);
        QCOMPARE(result.failure, Failure::None);
        QCOMPARE(result.outcome.kind, Kind::Completed);
        const QByteArray written = readBytes(result.writtenPath);
        if (qEnvironmentVariableIsSet("KT_GOLDEN_UPDATE"))
            QVERIFY(writeBytes(expected, written));
        QCOMPARE(written, readBytes(expected));
    }

    void outcome_data()
    {
        testdata::addRows("export/export-outcomes.rows", {"people", "setup", "failing", "nthCall",
                                                          "failure", "kind", "lines", "skipped"});
    }

    void outcome()
    {
        const auto [people, setup, failing, nthCall, failure, kind, lines, skipped] =
            testdata::cells("people", "setup", "failing", "nthCall", "failure", "kind", "lines",
                            "skipped");
        const Failure failed = testdata::named<Failure>(
            failure.isEmpty() ? QStringLiteral("None") : failure, {"None", "Book", "Writing"});
        const Kind ended = testdata::named<Kind>(kind, kKindNames);
        QByteArray file;
        for (const QString &line : lines.split(QStringLiteral(" | "), Qt::SkipEmptyParts))
            file += line.toUtf8() + "\r\n";

        QTemporaryDir dir;
        QString folder = dir.path();
        if (setup == QLatin1String("no folder")) {
            QVERIFY(writeBytes(dir.filePath(QStringLiteral("afile")), "a file"));
            folder = dir.filePath(QStringLiteral("afile/sub"));
        }
        const QString path = exporting::exportFileIn(folder);
        MemoryClient client;
        addPeople(client, people.toInt(), "comment");
        if (setup == QLatin1String("no session"))
            client.availableProgIds.clear();
        if (!failing.isEmpty())
            client.failOn(testdata::named<Op>(failing, MemoryClient::kOpNames), nthCall.toInt());
        const notes::SessionFactory inner = client.factory();
        const notes::SessionFactory factory = [&](const std::string &progId) {
            if (setup == QLatin1String("blocked commit"))
                QDir(folder).mkpath(QStringLiteral("OE-Contacts.csv/taken"));
            return inner(progId);
        };

        exporting::ExportRequest request;
        request.book = QStringLiteral("names.nsf");
        request.positions = {0, 27};
        request.folder = folder;
        int openings = 0;
        QList<std::int64_t> counts;
        QList<std::int64_t> steps;
        request.opening = [&openings] { ++openings; };
        request.started = [&counts](std::int64_t count) { counts << count; };
        request.progress = [&steps](std::int64_t reached) { steps << reached; };
        const exporting::ExportResult result = exporting::runExportJob(factory, request);

        QCOMPARE(result.failure, failed);
        QCOMPARE(result.writtenPath, path);
        QCOMPARE(result.errorText.isEmpty(), failed != Failure::Writing);
        QCOMPARE(QFileInfo(path).isFile(), !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(readBytes(path), file);
        // Nothing but the finished file, or what was there before, is left in the folder.
        QStringList expected{QStringLiteral("OE-Contacts.csv")};
        if (setup == QLatin1String("no folder"))
            expected = QStringList{QStringLiteral("afile")};
        else if (file.isEmpty() && setup != QLatin1String("blocked commit"))
            expected.clear();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 expected);

        const notes::WalkOutcome &outcome = result.outcome;
        QCOMPARE(outcome.kind, ended);
        QCOMPARE(outcome.skipped, skipped.toInt());
        QCOMPARE(outcome.delivered, setup == QLatin1String("blocked commit")
                                        ? people.toInt()
                                        : std::max<qsizetype>(0, file.count("\r\n") - 1));
        QCOMPARE(client.liveObjects(), 0);
        const bool prepared = setup != QLatin1String("no folder");
        QCOMPARE(openings, prepared ? 1 : 0);
        QCOMPARE(client.calls(Op::CreateSession) > 0,
                 prepared && setup != QLatin1String("no session"));

        const bool opened = prepared && failed != Failure::Book;
        QCOMPARE(counts, opened ? QList<std::int64_t>{people.toInt()} : QList<std::int64_t>{});
        if (failed == Failure::Book || ended == Kind::StoppedEarly)
            QVERIFY(!outcome.reason.empty());
        if (skipped.toInt() > 0)
            QVERIFY(!outcome.skipReason.empty());
        // Progress counts every document the walk reached, read or skipped, from 1 up.
        const int reached =
            ended == Kind::StoppedEarly ? nthCall.toInt() : (opened ? people.toInt() : 0);
        QCOMPARE(steps.size(), reached);
        for (int i = 0; i < steps.size(); ++i)
            QCOMPARE(steps[i], i + 1);
    }
};

QTEST_APPLESS_MAIN(TestExportJob)
#include "tst_exportjob.moc"
