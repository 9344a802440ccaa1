// SPDX-License-Identifier: GPL-3.0-or-later
// Exports address books whose values are hard for CSV (commas, quotes, line breaks, spaces,
// characters outside the code page) through the window, and writes beside each file what every
// row must hold. read_back.py then reads the files with Python's csv module, so the check does
// not rest on this program's own idea of CSV.
#include "FakePlatform.h"
#include "MemoryClient.h"
#include "app/FrmConversion.h"
#include "notes/FieldSchema.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QStringList kHardValues = {"plain",
                                 "Smith, Jr.",
                                 "say \"hi\"",
                                 "\"",
                                 "line\rbreak",
                                 "line\nbreak",
                                 "line\r\nbreak",
                                 "  spaces around  ",
                                 " leading space",
                                 "\tleading tab",
                                 "trailing tab\t",
                                 "a|b|c",
                                 "Zo\u00eb M\u00fcller",
                                 "\u5c71\u7530\u592a\u90ce",
                                 "smile \U0001F600",
                                 QString(),
                                 ",\"\r\n,"};

const QStringList kLatin1Values = {QStringLiteral("plain"), QStringLiteral("Zo\u00eb M\u00fcller"),
                                   QStringLiteral("Fran\u00e7ois, \"le grand\""),
                                   QStringLiteral("Stra\u00dfe 1\r\n4\u00e9tage"), QString()};

} // namespace

class TestRoundTrip final : public QObject {
    Q_OBJECT

    QDir m_out;
    QJsonArray m_files;

private slots:
    void initTestCase()
    {
        const QString dir = qEnvironmentVariable("KT_ROUNDTRIP_DIR");
        if (dir.isEmpty())
            QSKIP("KT_ROUNDTRIP_DIR is not set (CTest sets it)");
        m_out = QDir(dir);
        QVERIFY(m_out.removeRecursively() || !m_out.exists());
        QVERIFY(QDir().mkpath(dir));
    }

    void exportFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringConverter::Encoding>("codePage");
        QTest::addColumn<QString>("pythonEncoding");
        QTest::addColumn<bool>("bom");

        // The system's code page is UTF-8 on Linux; elsewhere the hard values take the fallback.
        QTest::newRow("system") << QStringLiteral("system") << kHardValues
                                << QStringConverter::System
#ifdef Q_OS_WIN
                                << QStringLiteral("utf-8-sig") << true;
#else
                                << QStringLiteral("utf-8") << false;
#endif
        QTest::newRow("latin-1 fallback")
            << QStringLiteral("latin1-fallback") << kHardValues << QStringConverter::Latin1
            << QStringLiteral("utf-8-sig") << true;
        QTest::newRow("latin-1") << QStringLiteral("latin1") << kLatin1Values
                                 << QStringConverter::Latin1 << QStringLiteral("latin-1") << false;
#ifdef Q_OS_WIN
        // Text the ANSI code page holds stays in it, byte for byte what Python's codec of the
        // same code page reads back.
        QTest::newRow("system, inside the code page")
            << QStringLiteral("system-ansi") << kLatin1Values << QStringConverter::System
            << QStringLiteral("cp%1").arg(GetACP()) << false;
#endif
    }

    void exportFiles()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, values);
        QFETCH(QStringConverter::Encoding, codePage);
        QFETCH(QString, pythonEncoding);
        QFETCH(bool, bom);
#ifdef Q_OS_WIN
        if (codePage == QStringConverter::System && !bom) {
            // The system encoder puts "?" for what it cannot hold: compare the way back.
            const QString text = values.join(QString());
            QStringEncoder encoder(QStringConverter::System);
            QStringDecoder decoder(QStringConverter::System);
            if (QString(decoder.decode(encoder.encode(text))) != text)
                QSKIP("this system's ANSI code page cannot hold the accented letters");
        }
#endif

        // Document i holds in item k the value (i + k) mod n, so every value meets every column.
        QStringList items;
        for (const notes::ExportColumn &column : notes::kExportColumns)
            items << QString::fromLatin1(column.item);
        const QStringList columnItems = items;
        items.removeDuplicates();
        notes::MemoryClient client;
        QJsonArray rows;
        for (int i = 0; i < values.size(); ++i) {
            notes::MemoryDocument doc;
            for (int k = 0; k < items.size(); ++k)
                doc.set(items[k].toStdString(), values[(i + k) % values.size()].toStdString());
            client.people.push_back(doc);
            QJsonArray row;
            for (const QString &item : columnItems)
                row.append(values[(i + items.indexOf(item)) % values.size()]);
            rows.append(row);
        }

        FakePlatform fake;
        QVERIFY(m_out.mkpath(name));
        fake.folderAnswer = m_out.filePath(name);
        app::FrmConversion form(nullptr, QStringLiteral("names.nsf"), client.factory());
        form.setCodePage(codePage);
        auto *list = form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Checked);
        form.findChild<QPushButton *>(QStringLiteral("CmdConversion"))->click();
        QCOMPARE(fake.messages.size(), 1);
        // The message has its second line, about UTF-8, exactly when the file took the fallback.
        QCOMPARE(fake.messages[0].text.contains(QStringLiteral("\nThe file is written as UTF-8")),
                 bom);

        QJsonObject file;
        file.insert(QStringLiteral("file"), name + QStringLiteral("/OE-Contacts.csv"));
        file.insert(QStringLiteral("encoding"), pythonEncoding);
        file.insert(QStringLiteral("bom"), bom);
        file.insert(QStringLiteral("rows"), rows);
        m_files.append(file);
    }

    void cleanupTestCase()
    {
        if (m_files.isEmpty())
            return;
        QFile expected(m_out.filePath(QStringLiteral("expected.json")));
        QVERIFY(expected.open(QIODevice::WriteOnly));
        expected.write(QJsonDocument(m_files).toJson());
    }
};

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
