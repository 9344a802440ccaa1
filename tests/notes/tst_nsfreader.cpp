// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the database file reader on the public sample databases (../shared/nsf-samples from
// the project root, skipped where they are not): each sample's dump against its golden file in
// nsf/golden (written by the reader, checked by eye against what other projects assert about
// the samples), refusals of mutated samples (nsf/refusals.txt), date-times as the object model
// hands them out (nsf/timedates.txt), and the scan over the database file client.
// KT_NSF_WRITE_GOLDEN=1 rewrites the golden files instead of comparing.
#include "Database.h"
#include "NsfClient.h"
#include "NsfDump.h"
#include "ScanWalk.h"
#include "TestBooks.h"
#include "TimeZone.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    QFile f(kSamples + '/' + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(f.fileName()));
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

// Rows of a case file: blank lines and lines starting with '#' left out, fields split at runs
// of two or more spaces.
QList<QStringList> rows(const QString &file)
{
    QFile f(kCases + '/' + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(f.fileName()));
    QList<QStringList> out;
    for (const QString &line : QString::fromUtf8(f.readAll()).split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            out << line.split(QRegularExpression(QStringLiteral(" {2,}")));
    return out;
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
    void initTestCase()
    {
        if (!QDir(kSamples).exists())
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
        QFile expected(kCases + "/golden/" + file);
        if (qEnvironmentVariableIntValue("KT_NSF_WRITE_GOLDEN")) {
            QVERIFY(expected.open(QIODevice::WriteOnly) && expected.write(got) == got.size());
            return;
        }
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(got, expected.readAll());
    }

    // Each row: a sample, patches ("offset=hex bytes", or "size=n" to cut the file short) and
    // the start of the message the reader must refuse it with.
    void refusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("patches");
        QTest::addColumn<QString>("message");
        for (const QStringList &row : rows("refusals.txt"))
            QTest::newRow(qPrintable(row.value(2).left(60)))
                << row.value(0) << row.value(1).split(' ') << row.value(2);
    }
    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, patches);
        QFETCH(QString, message);
        std::vector<std::uint8_t> bytes = sample(file);
        for (const QString &patch : patches) {
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
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("expected");
        for (const QStringList &row : rows("timedates.txt"))
            QTest::newRow(qPrintable(row.join(' ')))
                << row.value(0) << row.value(1) << row.value(2) << row.value(3);
    }
    void timedates()
    {
        QFETCH(QString, time);
        QFETCH(QString, date);
        QFETCH(QString, zone);
        QFETCH(QString, expected);
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
            QFile f(dir.filePath(name));
            const auto size = static_cast<qint64>(bytes.size());
            if (!f.open(QIODevice::WriteOnly) ||
                f.write(reinterpret_cast<const char *>(bytes.data()), size) != size)
                qFatal("cannot write %s", name);
            return f.fileName().toStdString();
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
};

QTEST_GUILESS_MAIN(TestNsfReader)
#include "tst_nsfreader.moc"
