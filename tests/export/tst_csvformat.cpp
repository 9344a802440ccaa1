// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV field format: which values are quoted and how. Where the separators go is checked on
// whole files through the export window (tst_frmconversion), the captions by read_back.py.
#include "CsvFormat.h"

#include <QTest>

using namespace exportcore;

class TestCsvFormat final : public QObject {
    Q_OBJECT

private slots:
    void field_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("plain") << QByteArray("Anna") << QByteArray("Anna");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
        QTest::newRow("comma") << QByteArray("Smith, Jr.") << QByteArray("\"Smith, Jr.\"");
        QTest::newRow("quote") << QByteArray("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
        QTest::newRow("only a quote") << QByteArray("\"") << QByteArray("\"\"\"\"");
        QTest::newRow("CR") << QByteArray("a\rb") << QByteArray("\"a\rb\"");
        QTest::newRow("LF") << QByteArray("a\nb") << QByteArray("\"a\nb\"");
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << QByteArray("\"a\r\nb\"");
        // Some importers trim the edges of an unquoted value.
        QTest::newRow("spaces around") << QByteArray("  padded  ") << QByteArray("\"  padded  \"");
        QTest::newRow("leading space") << QByteArray(" Ann") << QByteArray("\" Ann\"");
        QTest::newRow("trailing space") << QByteArray("Ann ") << QByteArray("\"Ann \"");
        QTest::newRow("leading tab") << QByteArray("\tAnn") << QByteArray("\"\tAnn\"");
        QTest::newRow("trailing tab") << QByteArray("Ann\t") << QByteArray("\"Ann\t\"");
        QTest::newRow("only a space") << QByteArray(" ") << QByteArray("\" \"");
        QTest::newRow("inner space") << QByteArray("Ann Lee") << QByteArray("Ann Lee");
        QTest::newRow("inner tab") << QByteArray("Ann\tLee") << QByteArray("Ann\tLee");
        QTest::newRow("bar") << QByteArray("a|b") << QByteArray("a|b");
        QTest::newRow("semicolon") << QByteArray("a;b") << QByteArray("a;b");
        QTest::newRow("accented") << QByteArray("Zo\xc3\xab") << QByteArray("Zo\xc3\xab");
    }

    void field()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, written);
        QCOMPARE(QByteArray::fromStdString(csvField(value.toStdString())), written);
    }
};

QTEST_APPLESS_MAIN(TestCsvFormat)
#include "tst_csvformat.moc"
