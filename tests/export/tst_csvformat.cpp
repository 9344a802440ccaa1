// The CSV line format: which values are quoted and how, and where the separators go.
#include "CsvFormat.h"
#include "ExportFields.h"
#include "ExportWalk.h"

#include <QTest>

#include <algorithm>

using namespace exportcore;

class TestCsvFormat final : public QObject {
    Q_OBJECT

private slots:
    void field_data();
    void field();
    void separators_data();
    void separators();
};

void TestCsvFormat::field_data()
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

void TestCsvFormat::field()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, written);
    QCOMPARE(QByteArray::fromStdString(csvField(value.toStdString())), written);
}

void TestCsvFormat::separators_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QByteArray>("heading");

    QTest::newRow("First Name only") << QList<int>{0} << QByteArray("First Name\r\n");
    QTest::newRow("Notes only") << QList<int>{27} << QByteArray("Notes\r\n");
    QTest::newRow("first and last") << QList<int>{0, 27} << QByteArray("First Name,Notes\r\n");
    QTest::newRow("web pages") << QList<int>{13, 19}
                               << QByteArray("Personal Web Page,Business Web Page\r\n");
    QList<int> all;
    for (int i = 0; i < 28; ++i)
        all << i;
    QTest::newRow("all 28")
        << all
        << QByteArray("First Name,Last Name,Middle Name,Name,E-mail Address,Home Street,Home "
                      "City,Home Postal Code,Home State,Home Country/Region,Home Phone,Home "
                      "Fax,Mobile Phone,Personal Web Page,Business Street,Business "
                      "City,Business Postal Code,Business State,Business Country/Region,Business "
                      "Web Page,Business Phone,Business Fax,Pager,Company,Job Title,Department,"
                      "Office Location,Notes\r\n");
}

void TestCsvFormat::separators()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QByteArray, heading);

    std::vector<std::size_t> positions(ticked.begin(), ticked.end());
    const std::string written = headingLine(positions);
    QCOMPARE(QByteArray::fromStdString(written), heading);
    QCOMPARE(std::count(written.begin(), written.end(), ','),
             static_cast<std::ptrdiff_t>(ticked.size() - 1));

    // A data line of plain values carries exactly as many separators as the heading.
    const std::vector<std::string> values(ticked.size(), "v");
    const std::string data = csvLine(values);
    QCOMPARE(std::count(data.begin(), data.end(), ','),
             static_cast<std::ptrdiff_t>(ticked.size() - 1));
    QVERIFY(data.ends_with("v\r\n"));
}

QTEST_APPLESS_MAIN(TestCsvFormat)
#include "tst_csvformat.moc"
