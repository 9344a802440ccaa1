// SPDX-License-Identifier: GPL-3.0-or-later
// The output file: a file written in many pieces, no file without a commit, and where the file
// goes. Its bytes in each code page, and the switch to UTF-8 with a byte-order mark when the code
// page cannot hold a value, are tst_exportjob's golden files.
#include "FileBytes.h"
#include "export/ExportFilePath.h"
#include "export/SingleFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

class TestCsvWriter final : public QObject {
    Q_OBJECT

private slots:
    void largeFileInOnePiece()
    {
        // More than the writer holds back at a time, so the file is written in several pieces.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        exporting::SingleFileWriter writer(path, QStringConverter::Utf8);
        QVERIFY(writer.open());
        QByteArray expected;
        for (int i = 0; i < 100000; ++i) {
            const std::string line = "Contact number " + std::to_string(i) + ",x\r\n";
            writer.writeLine(line);
            expected += QByteArray::fromStdString(line);
        }
        QVERIFY(writer.commit());
        QCOMPARE(readBytes(path), expected);
    }

    void nothingWithoutCommit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        QVERIFY(writeBytes(path, "old contents\r\n"));
        {
            exporting::SingleFileWriter writer(path, QStringConverter::Utf8);
            QVERIFY(writer.open());
            writer.writeLine("new\r\n");
        }
        QCOMPARE(readBytes(path), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OE-Contacts.csv"});
    }

    void fileIn()
    {
        const QString file =
            QDir::toNativeSeparators(QStringLiteral("/data/export/OE-Contacts.csv"));
        QCOMPARE(exporting::exportFileIn(QStringLiteral("/data/export")), file);
        QCOMPARE(exporting::exportFileIn(QStringLiteral("/data/export/")), file);
        QCOMPARE(exporting::exportFileIn(QStringLiteral("/")),
                 QDir::toNativeSeparators(QStringLiteral("/OE-Contacts.csv")));
    }
};

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
