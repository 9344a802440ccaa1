// SPDX-License-Identifier: GPL-3.0-or-later
// The one-vCard-per-contact export's files: names that every file system takes and that stay
// unique where a file system ignores case or normalisation, and a folder that appears whole or
// not at all, never in place of one that is already there.
#include "ContactFileNames.h"
#include "VCardFolderWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestExportFiles final : public QObject {
    Q_OBJECT

private slots:
    void safeName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");

        QTest::newRow("plain") << QStringLiteral("Anna Lee") << QStringLiteral("Anna Lee");
        QTest::newRow("refused characters")
            << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j") << QStringLiteral("a_b_c_d_e_f_g_h_i_j");
        QTest::newRow("control characters")
            << QStringLiteral("tab\there\nnext") << QStringLiteral("tab_here_next");
        QTest::newRow("dots and spaces around")
            << QStringLiteral("  ..Hidden. ") << QStringLiteral("Hidden");
        QTest::newRow("device name") << QStringLiteral("con") << QStringLiteral("_con");
        QTest::newRow("device name with extension")
            << QStringLiteral("LPT1.x") << QStringLiteral("_LPT1.x");
        QTest::newRow("starts like a device")
            << QStringLiteral("Conrad") << QStringLiteral("Conrad");
        QTest::newRow("device name, superscript digit")
            << QStringLiteral("LPT\u00b3 .txt") << QStringLiteral("_LPT\u00b3 .txt");
        QTest::newRow("console") << QStringLiteral("conin$") << QStringLiteral("_conin$");
        QTest::newRow("console, extension")
            << QStringLiteral("CONOUT$.vcf") << QStringLiteral("_CONOUT$.vcf");
        QTest::newRow("direction controls")
            << QStringLiteral("\u2067Ann\u2069 \u202aLee\u202c\u202Efdp.exe")
            << QStringLiteral("Ann Leefdp.exe");
        QTest::newRow("leading dashes") << QStringLiteral("-- -Ann-") << QStringLiteral("Ann-");
        QTest::newRow("only dashes and dots")
            << QStringLiteral("-.- -") << QStringLiteral("Contact");
        QTest::newRow("long run of dashes")
            << QString(70, u'-') + QStringLiteral("Ann") << QStringLiteral("Ann");
        QTest::newRow("empty") << QString() << QStringLiteral("Contact");
        QTest::newRow("long") << QString(70, QChar(0xe9)) << QString(60, QChar(0xe9));
        QTest::newRow("long, emoji at the cut")
            << QString(59, u'a') + QStringLiteral("\U0001F600 tail") << QString(59, u'a');
        QTest::newRow("decomposed") << QStringLiteral("Zoe\u0308") << QStringLiteral("Zo\u00eb");
    }

    void safeName()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(ContactFileNames::safeBase(name), file);
    }

    void uniqueNames()
    {
        ContactFileNames names;
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

        VCardFolderWriter writer(parent.path());
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
        VCardFolderWriter writer(parent.path());
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
