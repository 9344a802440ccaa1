// SPDX-License-Identifier: GPL-3.0-or-later
// The export's files: the CSV field format (which values are quoted and how; the separators and
// captions are checked on whole files by tst_exportjob's golden files and read_vcards.py), the
// CSV file written in many pieces and never without a commit, where it goes, and the
// one-vCard-per-contact files: names that every file system takes and that stay unique where a
// file system ignores case or normalisation, and a folder that appears whole or not at all,
// never in place of one that is already there.
#include "DataRows.h"
#include "FileBytes.h"
#include "export/ContactFileNames.h"
#include "export/ExportFilePath.h"
#include "export/SingleFileWriter.h"
#include "export/VCardFolderWriter.h"
#include "export/format/CsvFormat.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <string>

class TestExportFiles final : public QObject {
    Q_OBJECT

private slots:
    void csvField_data() { testdata::addRows("export/csv-fields.rows", {"value", "written"}); }
    void csvField()
    {
        QFETCH(QString, value);
        QTEST(QString::fromStdString(formats::csvField(value.toStdString())), "written");
    }

    // More than the writer holds back at a time, so the file is written in several pieces; the
    // older file stays until the commit.
    void csvFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        QVERIFY(writeBytes(path, "old contents\r\n"));
        QByteArray expected;
        {
            exporting::SingleFileWriter writer(path, QStringConverter::Utf8);
            QVERIFY(writer.open());
            writer.writeLine("new\r\n");
        }
        QCOMPARE(readBytes(path), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OE-Contacts.csv"});
        exporting::SingleFileWriter writer(path, QStringConverter::Utf8);
        QVERIFY(writer.open());
        for (int i = 0; i < 100000; ++i) {
            const std::string line = "Contact number " + std::to_string(i) + ",x\r\n";
            writer.writeLine(line);
            expected += QByteArray::fromStdString(line);
        }
        QVERIFY(writer.commit());
        QCOMPARE(readBytes(path), expected);
    }

    void csvFileIn_data() { testdata::addRows("export/csv-paths.rows", {"folder", "file"}); }
    void csvFileIn()
    {
        const auto [folder, file] = testdata::cells("folder", "file");
        QCOMPARE(exporting::exportFileIn(folder), QDir::toNativeSeparators(file));
    }

    void safeName_data() { testdata::addRows("export/file-names.rows", {"name", "file"}); }
    void safeName()
    {
        QFETCH(QString, name);
        QTEST(exporting::ContactFileNames::safeBase(name), "file");
    }

    void uniqueNames_data() { testdata::addRows("export/unique-names.rows", {"names", "files"}); }
    void uniqueNames()
    {
        const auto [names, files] = testdata::cells("names", "files");
        exporting::ContactFileNames taken;
        QStringList given;
        for (const QString &name : names.split(u'|'))
            given << taken.take(name);
        QCOMPARE(given, files.split(u'|'));
    }

    void folderAppearsWhole()
    {
        QTemporaryDir parent;
        const QDir dir(parent.path());
        QVERIFY(dir.mkdir(QStringLiteral("Contacts")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Contacts/mine.txt")), {}));
        exporting::VCardFolderWriter writer(parent.path());
        QVERIFY(writer.open());
        writer.writeContact({"BEGIN:VCARD\r\nEND:VCARD\r\n", "Anna Lee"});
        writer.writeContact({"second\r\n", "Anna Lee"});
        // Nothing shows before commit() but the hidden work folder.
        QCOMPARE(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Contacts"});
        QVERIFY(writer.commit());

        const QString written = dir.filePath(QStringLiteral("Contacts (2)"));
        QCOMPARE(writer.writtenPath(), QDir::toNativeSeparators(written));
        QCOMPARE(QDir(written).entryList(QDir::Files),
                 (QStringList{"Anna Lee (2).vcf", "Anna Lee.vcf"}));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("Contacts"))).entryList(QDir::Files),
                 QStringList{"mine.txt"});
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"Contacts", "Contacts (2)"}));
    }

    void failedFolderLeavesNothing()
    {
        QTemporaryDir parent;
        exporting::VCardFolderWriter writer(parent.path());
        QVERIFY(writer.open());
        writer.writeContact({"BEGIN:VCARD\r\nEND:VCARD\r\n", "Anna Lee"});
        writer.writeLine("not a contact\r\n");
        QVERIFY(!writer.commit() && !writer.errorString().isEmpty());
        QCOMPARE(
            QDir(parent.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }
};

QTEST_GUILESS_MAIN(TestExportFiles)
#include "tst_exportfiles.moc"
