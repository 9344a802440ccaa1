// SPDX-License-Identifier: GPL-3.0-or-later
// The one-vCard-per-contact export's files: names that every file system takes and that stay
// unique where a file system ignores case or normalisation, and a folder that appears whole or
// not at all, never in place of one that is already there.
#include "DataRows.h"
#include "export/ContactFileNames.h"
#include "export/VCardFolderWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestExportFiles final : public QObject {
    Q_OBJECT

private slots:
    void safeName_data() { testdata::addRows("export/file-names.rows", {"name", "file"}); }

    void safeName()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(exporting::ContactFileNames::safeBase(name), file);
    }

    void uniqueNames()
    {
        exporting::ContactFileNames names;
        // A name may look numbered before its number comes up.
        const QStringList taken{
            names.take(QStringLiteral("Anna Lee (3)")), names.take(QStringLiteral("Anna Lee")),
            names.take(QStringLiteral("anna lee")),     names.take(QStringLiteral("ANNA LEE")),
            names.take(QStringLiteral("Anna Lee (2)")), names.take(QStringLiteral("Zo\u00eb")),
            names.take(QStringLiteral("Zoe\u0308")),    names.take(QStringLiteral("a/b")),
            names.take(QStringLiteral("a:b")),          names.take(QStringLiteral("-a_b")),
        };
        QCOMPARE(taken,
                 (QStringList{"Anna Lee (3).vcf", "Anna Lee.vcf", "anna lee (2).vcf",
                              "ANNA LEE (4).vcf", "Anna Lee (2) (2).vcf",
                              QStringLiteral("Zo\u00eb.vcf"), QStringLiteral("Zo\u00eb (2).vcf"),
                              "a_b.vcf", "a_b (2).vcf", "a_b (3).vcf"}));
    }

    void folderAppearsWhole()
    {
        QTemporaryDir parent;
        QVERIFY(parent.isValid());
        const QDir dir(parent.path());
        QVERIFY(dir.mkdir(QStringLiteral("Contacts")));
        QFile mine(dir.filePath(QStringLiteral("Contacts/mine.txt")));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.close();

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
        QVERIFY(parent.isValid());
        exporting::VCardFolderWriter writer(parent.path());
        QVERIFY(writer.open());
        writer.writeContact({"BEGIN:VCARD\r\nEND:VCARD\r\n", "Anna Lee"});
        writer.writeLine("not a contact\r\n");
        QVERIFY(!writer.commit());
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(QDir(parent.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExportFiles)
#include "tst_exportfiles.moc"
