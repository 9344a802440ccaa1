// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard export: cards of hard values, of a few items whose written form matters to readers,
// and of every one of the 42 items, written through the export job. What
// each card must hold is written beside it, and read_vcards.py reads the cards with Python's
// vobject, a vCard reader independent of this program, and checks them field by field; it also
// keeps its own table of where each item goes.
#include "DataRows.h"
#include "MemoryClient.h"
#include "export/ExportJob.h"
#include "notes/FieldSchema.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// The items of the hard values: every kind of text property (structured, list, plain, X-). A web
// address is no text value, and has rows of its own in cards().
const char *const kHardItems[] = {
    "FirstName",   "MiddleInitial", "LastName",        "Title",         "Suffix",
    "MailAddress", "CompanyName",   "Department",      "JobTitle",      "OfficeStreetAddress",
    "OfficeCity",  "OfficeState",   "OfficeZip",       "OfficeCountry", "OfficePhoneNumber",
    "Comment",     "Manager",       "AltFullNameSort", "Categories",
};

// Exports the client's book as Contacts.vcf into `folder`.
bool exportCards(notes::MemoryClient &client, const QString &folder)
{
    exporting::ExportRequest request;
    request.book = QStringLiteral("names.nsf");
    request.format = exporting::ExportFormat::VCard;
    request.folder = folder;
    const exporting::ExportResult result = exporting::runExportJob(client.factory(), request);
    return result.failure == exporting::ExportResult::Failure::None &&
           result.outcome.kind == notes::WalkOutcome::Kind::Completed;
}

} // namespace

class TestVCard final : public QObject {
    Q_OBJECT

    QDir m_out;
    QJsonArray m_checks;

    // Exports the document as the current row's Contacts.vcf and keeps what read_vcards.py must
    // find in it.
    void exportRow(const notes::MemoryDocument &doc, QJsonObject check)
    {
        notes::MemoryClient client;
        client.people.push_back(doc);
        const QString folder = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
        QVERIFY(m_out.mkpath(folder));
        QVERIFY(exportCards(client, m_out.filePath(folder)));
        check.insert(QStringLiteral("file"), folder + QStringLiteral("/Contacts.vcf"));
        m_checks.append(check);
    }

private slots:
    void initTestCase()
    {
        const QString dir = qEnvironmentVariable("KT_VCARD_DIR");
        if (dir.isEmpty())
            QSKIP("KT_VCARD_DIR is not set (CTest sets it)");
        m_out = QDir(dir);
        QVERIFY(m_out.removeRecursively() || !m_out.exists());
        QVERIFY(QDir().mkpath(dir));
    }

    void hardValues_data()
    {
        // "expected" as a reader must give it back.
        testdata::addRows("export/vcard-hard-values.rows", {"value", "expected"});
    }

    void hardValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);

        notes::MemoryDocument doc;
        doc.universalId = "HARD";
        for (const char *item : kHardItems)
            doc.set(item, value.toStdString());
        exportRow(doc, {{"kind", "hard"}, {"expected", expected}});
    }

    void cards_data()
    {
        // "Item=value", an item named again straight after for its next value.
        QTest::addColumn<QStringList>("items");
        // "PROPERTY:..." a content line as written (unfolded); "property=value" or
        // "property.part=value" each value as vobject must give it back, in order.
        QTest::addColumn<QStringList>("expected");

        const QString maps = QStringLiteral("https://example.com/maps/@52.52%2C13.40%3Bx=1");
        const QString iri = QStringLiteral("https://b\u00fccher.example/a%20b?q=%3B");
        QTest::newRow("URLs") << QStringList{"WebSite=https://example.com/maps/@52.52,13.40;x=1",
                                             "WebSite=\\\\intranet\\ann.html", "WebSite=" + iri}
                              << QStringList{"URL:" + maps, "url=" + maps,
                                             "url=%5C%5Cintranet%5Cann.html", "url=" + iri};
        QTest::newRow("URLs that are text")
            << QStringList{"WebSite=ask Ann; or Bob, at the desk", "WebSite=https://a/;\r\nb/"}
            << QStringList{"url=ask Ann; or Bob, at the desk", "url=https://a/;\nb/"};

        // Folds at white space: spaces at the limit of NOTE, a tab at TITLE's, only spaces.
        const QString spaces = QString(68, u'a') + QString(5, u' ') + QString(80, u'b');
        const QString tab = QString(69, u'a') + QStringLiteral("\tb ") + QString(80, u'c');
        QTest::newRow("folds at white space")
            << QStringList{"Comment=" + spaces, "JobTitle=" + tab, "Spouse=" + QString(200, u' ')}
            << QStringList{"note=" + spaces, "title=" + tab, "x-spouse=" + QString(200, u' ')};

        QTest::newRow("Title and Suffix of 0")
            << QStringList{"FirstName=Ann", "MiddleInitial=0", "LastName=Lee",
                           "Title=0",       "Suffix=0",        "Suffix=PhD"}
            << QStringList{"N:Lee;Ann;0;;PhD"};
        QTest::newRow("anniversaries")
            << QStringList{"Anniversary=our wedding", "Anniversary=2001-05-06",
                           "Anniversary=2011-06-07"}
            << QStringList{"anniversary=2001-05-06",
                           "note=Anniversary: our wedding\nAnniversary: 2011-06-07"};
    }

    void cards()
    {
        QFETCH(QStringList, items);
        QFETCH(QStringList, expected);

        notes::MemoryDocument doc;
        doc.universalId = "CARD";
        for (const QString &item : items) {
            const std::string name = item.section(u'=', 0, 0).toStdString();
            if (doc.items.empty() || doc.items.back().first != name)
                doc.set(name, notes::ItemValues{});
            doc.items.back().second.push_back(
                notes::ItemValue::fromText(item.section(u'=', 1).toStdString()));
        }
        exportRow(doc, {{"kind", "card"}, {"expected", QJsonArray::fromStringList(expected)}});
    }

    void everyItem()
    {
        // Each item holds a value of its own, so a value in the wrong property shows; the dates
        // are Notes date-times, and two items hold two values each.
        notes::MemoryClient client;
        notes::MemoryDocument doc;
        doc.universalId = "85257A3B00C0FFEE85257A3B00C0FFEE";
        QJsonObject values;
        for (const notes::FieldSpec &field : notes::kFields) {
            const QString item = QString::fromLatin1(field.item);
            QStringList texts{QStringLiteral("%1 value").arg(item)};
            notes::ItemValues itemValues;
            if (item == QLatin1String("Birthday")) {
                notes::DateTime date{true, false, 1968, 2, 14, 0, 0, 0};
                itemValues.push_back(notes::ItemValue::fromDateTime(date));
                texts = QStringList{QStringLiteral("1968-02-14")};
            } else if (item == QLatin1String("Anniversary")) {
                notes::DateTime date{true, true, 1994, 6, 18, 15, 30, 0};
                itemValues.push_back(notes::ItemValue::fromDateTime(date));
                texts = QStringList{QStringLiteral("1994-06-18 15:30:00")};
            } else {
                if (item == QLatin1String("MailAddress") || item == QLatin1String("Categories"))
                    texts << QStringLiteral("%1 second").arg(item);
                for (const QString &text : texts)
                    itemValues.push_back(notes::ItemValue::fromText(text.toStdString()));
            }
            doc.set(field.item, itemValues);
            values.insert(item, QJsonArray::fromStringList(texts));
        }
        client.people.push_back(doc);
        QVERIFY(m_out.mkpath(QStringLiteral("every-item")));
        QVERIFY(exportCards(client, m_out.filePath(QStringLiteral("every-item"))));

        QJsonObject check;
        check.insert(QStringLiteral("kind"), QStringLiteral("items"));
        check.insert(QStringLiteral("file"), QStringLiteral("every-item/Contacts.vcf"));
        check.insert(QStringLiteral("uid"), QString::fromStdString(doc.universalId));
        check.insert(QStringLiteral("values"), values);
        m_checks.append(check);
    }

    void cleanupTestCase()
    {
        if (m_checks.isEmpty())
            return;
        QFile expected(m_out.filePath(QStringLiteral("expected.json")));
        QVERIFY(expected.open(QIODevice::WriteOnly));
        expected.write(QJsonDocument(m_checks).toJson());
    }
};

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
