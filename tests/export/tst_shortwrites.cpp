// SPDX-License-Identifier: GPL-3.0-or-later
// Writes that go through only in part, as on a full disk: the export file, the scan's backup
// copy, and a whole export through the window. The file system makes the writes come up short
// for real, through a file size limit (any user) or a 64 KiB file system (root only); Linux only.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "export/SingleFileWriter.h"
#include "platform/SystemPlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <optional>
#endif

namespace {

#ifdef Q_OS_LINUX
// While it lives, no file of this process grows past `bytes`: a write across the limit writes
// what fits and reports that count, the next one fails with "File too large".
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        const rlimit limit{bytes, m_before.rlim_max};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            qFatal("the file size limit cannot be set");
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
};
#endif

} // namespace

class TestShortWrites final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifndef Q_OS_LINUX
        QSKIP("The short writes are made with Linux's file size limit and tmpfs.");
#endif
    }

#ifdef Q_OS_LINUX
    // Each way the writer hands bytes to the file (short-writes.rows): big direct writes, the
    // held-back code page bytes, the UTF-8 fallback, and a file small enough to wait in the
    // file's own buffer.
    void writer_data()
    {
        testdata::addRows("export/short-writes.rows", {"codePage", "line", "lines", "limit"});
    }
    void writer()
    {
        const auto [codePage, line, lines, limit] =
            testdata::cells("codePage", "line", "lines", "limit");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        const QByteArray older = QByteArray("older export\r\n").repeated(200);
        QVERIFY(writeBytes(path, older));
        {
            const FileSizeLimit full(limit.toULong());
            exporting::SingleFileWriter writer(
                path, codePage == "Latin-1" ? QStringConverter::Latin1 : QStringConverter::Utf8);
            QVERIFY(writer.open());
            for (int i = 0; i < lines.toInt(); ++i)
                writer.writeLine(line.toStdString());
            QVERIFY(!writer.commit());
            QCOMPARE(writer.errorString(), QStringLiteral("File too large"));
        }
        QCOMPARE(readBytes(path), older);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OE-Contacts.csv"});
    }

    void backupCopy()
    {
        QTemporaryDir dir;
        const QString book = dir.filePath(QStringLiteral("names.dxl"));
        const QString backup = dir.filePath(QStringLiteral("names.bak"));
        QVERIFY(writeBytes(book, QByteArray(200000, 'n')));
        QVERIFY(writeBytes(backup, "an older backup"));
        QString error;
        {
            const FileSizeLimit full(61440);
            QVERIFY(!platform::SystemPlatform().copyFile(book, backup, &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"names.dxl"});
    }

    // 400 contacts exported over an older file, or beside an older folder of one file per
    // contact, that the disk has no room to replace: the older output stays, nothing new shows.
    void exportWindow_data()
    {
        testdata::addRows("export/short-exports.rows", {"format", "smallFileSystem", "reason"});
    }
    void exportWindow()
    {
        const auto [format, small, reason] = testdata::cells("format", "smallFileSystem", "reason");
        const bool smallFileSystem = !small.isEmpty();
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkpath(folder));
        if (smallFileSystem &&
            mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("No tmpfs can be mounted here (that takes root); the size limit row stands in.");
        const auto unmount = qScopeGuard([&] {
            if (smallFileSystem)
                umount2(folder.toLocal8Bit().constData(), MNT_DETACH);
        });
        const QString path = QDir(folder).filePath(QStringLiteral("OE-Contacts.csv"));
        const QString olderCard = QDir(folder).filePath(QStringLiteral("Contacts/Older.vcf"));
        const QByteArray older = QByteArray("older export\r\n").repeated(1000);
        QVERIFY(writeBytes(path, older));
        QVERIFY(QDir(folder).mkdir(QStringLiteral("Contacts")) && writeBytes(olderCard, older));

        notes::MemoryClient client;
        for (int i = 0; i < 400; ++i)
            client.people.push_back(
                person(std::to_string(i), "First" + std::to_string(i), std::string(200, 'L')));
        FakePlatform fake;
        fake.folderAnswer = folder;
        int completions = 0;
        app::FrmConversion form(nullptr, QStringLiteral("names.nsf"), client.factory(),
                                [&completions] { ++completions; });
        form.show();
        form.findChild<QCheckBox *>(QStringLiteral("ChkSelectAll"))->click();
        form.findChild<QComboBox *>(QStringLiteral("CboFormat"))->setCurrentIndex(format.toInt());
        QPushButton *start = form.findChild<QPushButton *>(QStringLiteral("CmdConversion"));
        {
            std::optional<FileSizeLimit> full;
            if (!smallFileSystem)
                full.emplace(61440);
            start->click();
        }

        QCOMPARE(fake.messages.size(), 1);
        QCOMPARE(fake.messages[0].title, QStringLiteral("Korvanta Software"));
        // The file named is the one that could not be written: the CSV, or the first contact's
        // file that did not fit.
        const QString named =
            format == u"0"
                ? QDir::toNativeSeparators(path)
                : QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("Contacts/")));
        QVERIFY2(fake.messages[0].text.startsWith(QStringLiteral("The file %1").arg(named)),
                 qPrintable(fake.messages[0].text));
        QVERIFY(fake.messages[0].text.endsWith(
            QStringLiteral(" cannot be written.\n\n%1").arg(reason)));
        QCOMPARE(completions, 0);
        QVERIFY(start->isEnabled());
        QCOMPARE(readBytes(path), older);
        QCOMPARE(readBytes(olderCard), older);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"Contacts", "OE-Contacts.csv"}));
        QCOMPARE(QDir(QDir(folder).filePath(QStringLiteral("Contacts"))).entryList(QDir::Files),
                 QStringList{"Older.vcf"});
    }
#endif
};

QTEST_MAIN(TestShortWrites)
#include "tst_shortwrites.moc"
