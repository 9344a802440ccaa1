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
        QTest::newRow("spaces kept") << QByteArray("  padded  ") << QByteArray("  padded  ");
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
