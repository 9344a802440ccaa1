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
    // Each golden file "BOOK.csv", "BOOK.vcf", "BOOK-latin1.csv" (in the Latin-1 code page),
    // "BOOK-thunderbird.ldif" or "BOOK-directory.ldif" (under ou=People,dc=example,dc=com, read
    // back by read_ldif.py) is the export of golden/BOOK.dxl, or of the sample book for "names".
    void golden_data()
    {
        QTest::addColumn<QString>("expected");
        const QDir golden(QStringLiteral(KT_TEST_DATA "/export/golden"));
        for (const QFileInfo &file :
             golden.entryInfoList({"*.csv", "*.vcf", "*.ldif"}, QDir::Files))
            QTest::newRow(qPrintable(file.fileName())) << file.filePath();
    }

    void golden()
    {
        QFETCH(QString, expected);
        const QFileInfo file(expected);
        const QString name = file.completeBaseName().section(QLatin1Char('-'), 0, 0);
        QTemporaryDir dir;
        exporting::ExportRequest request;
        request.book = name == QLatin1String("names") ? QStringLiteral(KT_SAMPLE_BOOK)
                                                      : file.dir().filePath(name + ".dxl");
        request.format = file.suffix() == QLatin1String("csv")   ? exporting::ExportFormat::Csv
                         : file.suffix() == QLatin1String("vcf") ? exporting::ExportFormat::VCard
                                                                 : exporting::ExportFormat::Ldif;
        if (file.completeBaseName().endsWith(QLatin1String("-directory")))
            request.ldif = {formats::LdifForm::Directory, "ou=People,dc=example,dc=com"};
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
        testdata::addRows("export/export-outcomes.rows",
                          {"people", "setup", "failing", "nthCall", "failure", "kind", "lines",
                           "skipped", "delivered", "left"});
    }

    void outcome()
    {
        const auto [people, setup, failing, nthCall, failure, kind, lines, skipped, delivered,
                    left] = testdata::cells("people", "setup", "failing", "nthCall", "failure",
                                            "kind", "lines", "skipped", "delivered", "left");
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
        QCOMPARE(readBytes(path), file.isEmpty() ? QByteArray("<missing>") : file);
        // Nothing but the finished file, or what was there before, is left in the folder.
        const QStringList entries =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(entries.join(u' '), left);

        const notes::WalkOutcome &outcome = result.outcome;
        QCOMPARE(outcome.kind, ended);
        QCOMPARE(outcome.skipped, skipped.toInt());
        QCOMPARE(outcome.delivered, delivered.toInt());
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
