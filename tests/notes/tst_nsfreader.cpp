// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the database file reader on the public sample databases (../shared/nsf-samples from
// the project root, skipped where they are not): each sample's dump against its golden file in
// nsf/golden (written by the reader, checked by eye against what other projects assert about
// the samples), refusals of mutated samples (nsf/refusals.rows), date-times as the object model
// hands them out (nsf/timedates.rows), the scan over the database file client, and its "Groups"
// view against the DXL client's on a file the tests' writer makes (which needs no sample).
// KT_NSF_WRITE_GOLDEN=1 rewrites the golden files instead of comparing.
#include "DataRows.h"
#include "FileBytes.h"
#include "NsfDump.h"
#include "NsfWriter.h"
#include "TestBooks.h"
#include "TimeZone.h"
#include "notes/ScanWalk.h"
#include "notes/dxl/DxlClient.h"
#include "notes/nsf/Database.h"
#include "notes/nsf/NsfClient.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using notes::NotesError;
using notes::nsf::Database;

namespace {

const QString kSamples = QStringLiteral(KT_NSF_SAMPLES);
const QString kCases = QStringLiteral(KT_NSF_CASES);

std::vector<std::uint8_t> sample(const QString &name)
{
    const QByteArray b = readBytes(kSamples + '/' + name);
    return {b.begin(), b.end()};
}

std::string firstRefusal(std::vector<std::uint8_t> bytes, const std::string &name)
{
    try {
        const auto db = Database::fromBytes(std::move(bytes), name);
        for (const auto &ref : db->notes())
            db->read(ref);
    } catch (const NotesError &e) {
        return e.what();
    }
    return "(read)";
}

} // namespace

class TestNsfReader final : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!QDir(kSamples).exists() && QTest::currentTestFunction() != QLatin1String("groups"))
            QSKIP("the sample databases are not there (../shared/nsf-samples)");
    }

    void golden_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &f : QDir(kCases + "/golden").entryList({"*.txt"}, QDir::Files))
            QTest::newRow(qPrintable(f)) << f;
    }
    void golden()
    {
        QFETCH(QString, file);
        const QString name = file.section('.', 0, 0) + ".nsf";
        const auto db = Database::fromBytes(sample(name), name.toStdString());
        const QByteArray got =
            QByteArray::fromStdString(nsfdump::dump(*db, file.contains(QLatin1String(".items."))));
        const QString expected = kCases + "/golden/" + file;
        if (qEnvironmentVariableIntValue("KT_NSF_WRITE_GOLDEN"))
            QVERIFY(writeBytes(expected, got));
        QCOMPARE(got, readBytes(expected));
    }

    // Each row: a sample, patches ("offset=hex bytes", or "size=n" to cut the file short) and
    // the start of the message the reader must refuse it with.
    void refusals_data()
    {
        testdata::addRows("notes/nsf/refusals.rows", {"file", "patches", "message"});
    }
    void refusals()
    {
        const auto [file, patches, message] = testdata::cells("file", "patches", "message");
        std::vector<std::uint8_t> bytes = sample(file);
        for (const QString &patch : patches.split(u' ')) {
            bool ok = false;
            const std::size_t at = patch.section('=', 0, 0).toULongLong(&ok, 0);
            const QByteArray with = QByteArray::fromHex(patch.section('=', 1).toLatin1());
            if (patch.startsWith(QLatin1String("size="))) {
                bytes.resize(patch.mid(5).toULongLong(&ok, 0));
            } else {
                QVERIFY2(ok && at + with.size() <= bytes.size(), qPrintable(patch));
                std::copy(with.begin(), with.end(), bytes.begin() + at);
            }
        }
        const QString got = QString::fromStdString(firstRefusal(bytes, file.toStdString()));
        QVERIFY2(got.startsWith(message), qPrintable(got));
    }

    // Each row: the two halves of a TIMEDATE (time, date and zone), a time zone, and the value
    // the object model gives for it.
    void timedates_data()
    {
        testdata::addRows("notes/nsf/timedates.rows", {"time", "date", "zone", "expected"});
    }
    void timedates()
    {
        const auto [time, date, zone, expected] =
            testdata::cells("time", "date", "zone", "expected");
        setZone(qPrintable(zone));
        const auto value =
            notes::nsf::toItemValue({time.toUInt(nullptr, 16), date.toUInt(nullptr, 16)});
        const char *kind = value.kind == notes::ItemValue::Kind::DateTime ? "datetime " : "text ";
        QCOMPARE(kind + QString::fromStdString(notes::defaultText(value)), expected);
    }

    // sample.nsf holds no Person document: the scan opens it and finds the view empty. With
    // its summary buckets' headers wiped, its documents stay in the view, each skipped with its
    // reason.
    void scan()
    {
        QTemporaryDir dir;
        std::vector<std::uint8_t> bytes = sample("sample.nsf");
        const auto write = [&dir, &bytes](const char *name) {
            const QString path = dir.filePath(name);
            if (!writeBytes(path, QByteArray(reinterpret_cast<const char *>(bytes.data()),
                                             qsizetype(bytes.size()))))
                qFatal("cannot write %s", name);
            return path.toStdString();
        };
        RecordingScanSink sink;
        auto outcome = notes::runScan(notes::nsf::NsfClient::factory(), write("sample.nsf"), sink);
        QCOMPARE(outcome.kind, notes::WalkOutcome::Kind::EmptyView);
        QCOMPARE(sink.started, 1);

        for (const std::size_t bucket : {0x58000, 0x6C000, 0x95000, 0xAD000})
            bytes[bucket] = 0;
        RecordingScanSink wiped;
        outcome = notes::runScan(notes::nsf::NsfClient::factory(), write("wiped.nsf"), wiped);
        QCOMPARE(outcome.kind, notes::WalkOutcome::Kind::Incomplete);
        QCOMPARE(outcome.skipped, 18);
        QVERIFY2(outcome.skipReason.starts_with("wiped.nsf: note 8FA cannot be read: summary "
                                                "bucket 2 at byte 0x95000 does not start"),
                 outcome.skipReason.c_str());
        QVERIFY(wiped.contacts.empty());
    }

    // The groups of tests/win/sample.dxl (one named by its Type item alone), written to a
    // database file by the tests' writer: "Groups" lists them as the DXL client does.
    void groups()
    {
        QTemporaryDir dir;
        const std::string dxl = KT_TEST_DATA "/win/sample.dxl";
        const std::string nsf = dir.filePath(QStringLiteral("sample.nsf")).toStdString();
        testnsf::writeDatabaseOfDxl(dxl, nsf);
        const auto listed = [](const std::unique_ptr<notes::NotesSession> &session,
                               const std::string &path) {
            QStringList lines;
            auto nav = session->GetDatabase("", path)->GetView("groups")->CreateViewNav();
            for (auto entry = nav->GetFirstDocument(); entry;
                 entry = nav->GetNextDocument(*entry)) {
                auto doc = entry->Document();
                lines << QString::fromStdString(doc->UniversalID());
                for (const char *item :
                     {"ListName", "Members", "ListDescription", "InternetAddress", "GroupType"})
                    for (const notes::ItemValue &value : doc->GetItemValue(item))
                        lines.back() += " | " + QString::fromStdString(notes::defaultText(value));
            }
            return lines;
        };
        const QStringList viaDxl = listed(notes::dxl::DxlClient::createSession(), dxl);
        QCOMPARE(viaDxl.size(), 2);
        QCOMPARE(listed(notes::nsf::NsfClient::createSession(), nsf), viaDxl);
    }
};

QTEST_GUILESS_MAIN(TestNsfReader)
#include "tst_nsfreader.moc"
