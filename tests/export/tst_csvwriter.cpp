// SPDX-License-Identifier: GPL-3.0-or-later
// The output file: the bytes in each code page, the switch to UTF-8 with a byte-order mark when
// the code page cannot hold a value, and that a failed write leaves an earlier file untouched.
#include "FileBytes.h"
#include "export/ExportFilePath.h"
#include "export/SingleFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

Q_DECLARE_METATYPE(QStringConverter::Encoding)

class TestCsvWriter final : public QObject {
    Q_OBJECT

private slots:
    void encoding_data()
    {
        QTest::addColumn<QStringConverter::Encoding>("codePage");
        QTest::addColumn<QByteArray>("line"); // UTF-8
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fallback");

        const QByteArray head("Name\r\n");
        QTest::newRow("utf-8 accented") << QStringConverter::Utf8 << QByteArray("Zo\xc3\xab\r\n")
                                        << QByteArray(head + "Zo\xc3\xab\r\n") << false;
        QTest::newRow("latin-1 accented")
            << QStringConverter::Latin1 << QByteArray("Zo\xc3\xab\r\n")
            << QByteArray(head + "Zo\xeb\r\n") << false;
        QTest::newRow("latin-1 euro sign")
            << QStringConverter::Latin1 << QByteArray("5 \xe2\x82\xac\r\n")
            << QByteArray("\xef\xbb\xbf" + head + "5 \xe2\x82\xac\r\n") << true;
        QTest::newRow("latin-1 CJK")
            << QStringConverter::Latin1 << QByteArray("\xe5\xb1\xb1\xe7\x94\xb0\r\n")
            << QByteArray("\xef\xbb\xbf" + head + "\xe5\xb1\xb1\xe7\x94\xb0\r\n") << true;
        QTest::newRow("latin-1 question mark stays")
            << QStringConverter::Latin1 << QByteArray("?\r\n") << QByteArray(head + "?\r\n")
            << false;
    }

    void encoding()
    {
        QFETCH(QStringConverter::Encoding, codePage);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fallback);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        exporting::SingleFileWriter writer(path, codePage);
        QVERIFY(writer.open());
        writer.writeLine("Name\r\n");
        writer.writeLine(line.toStdString());
        // Lines after the loss are written too, in UTF-8 like the rest.
        writer.writeLine("Zo\xc3\xab\r\n");
        QVERIFY(writer.commit());
        QCOMPARE(writer.usedUtf8Fallback(), fallback);
        const QByteArray last = fallback || codePage == QStringConverter::Utf8
                                    ? QByteArray("Zo\xc3\xab\r\n")
                                    : QByteArray("Zo\xeb\r\n");
        QCOMPARE(readBytes(path), bytes + last);
    }

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

    void fileIn_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << QStringLiteral("/data/export")
                                << QDir::toNativeSeparators(
                                       QStringLiteral("/data/export/OE-Contacts.csv"));
        QTest::newRow("trailing separator")
            << QStringLiteral("/data/export/")
            << QDir::toNativeSeparators(QStringLiteral("/data/export/OE-Contacts.csv"));
        QTest::newRow("root") << QStringLiteral("/")
                              << QDir::toNativeSeparators(QStringLiteral("/OE-Contacts.csv"));
    }

    void fileIn()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(exporting::exportFileIn(folder), path);
    }
};

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
