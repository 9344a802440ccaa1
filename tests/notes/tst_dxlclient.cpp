// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the DXL client: every value kind and date form a DXL export holds, item names in any
// case, the "$People" view (which documents, in which order), ids and unreadable files. The
// sample book is read through the window by the end-to-end tests.
#include "DataRows.h"
#include "TimeZone.h"
#include "notes/KeepAlive.h"
#include "notes/dxl/DxlClient.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cstdlib>
#include <ctime>
#include <string>

using notes::ItemValue;
using notes::ItemValues;
using notes::NotesError;

namespace {

QString describe(const ItemValues &values)
{
    QStringList out;
    for (const ItemValue &v : values) {
        const char *kind = v.kind == ItemValue::Kind::Text     ? "text"
                           : v.kind == ItemValue::Kind::Number ? "number"
                                                               : "datetime";
        out << QString::fromLatin1(kind) + ':' + QString::fromStdString(notes::defaultText(v));
    }
    return out.join(QLatin1String(" / "));
}

QByteArray book(const QByteArray &documents, const QByteArray &title = "Test Book")
{
    return "<?xml version='1.0' encoding='utf-8'?>\n"
           "<database xmlns='http://www.lotus.com/dxl' version='8.5' title='" +
           title + "'>\n" + documents + "</database>\n";
}

QByteArray personDoc(const QByteArray &unid, const QByteArray &items,
                     const QByteArray &form = "Person")
{
    return "<document form='" + form + "'>\n<noteinfo noteid='" + unid.toLower() + "f' unid='" +
           unid + "'/>\n" + items + "</document>\n";
}

QByteArray textItem(const QByteArray &name, const QByteArray &value)
{
    return "<item name='" + name + "'><text>" + value + "</text></item>\n";
}

} // namespace

class TestDxlClient final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    std::string write(const QByteArray &content, const QString &name = {})
    {
        const QString path =
            m_dir.filePath(name.isEmpty() ? QStringLiteral("book%1.dxl").arg(++m_files) : name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path.toStdString();
    }

    std::unique_ptr<notes::NotesDatabase> open(const QByteArray &content)
    {
        return notes::dxl::DxlClient::createSession()->GetDatabase("", write(content));
    }

    // Opens a book of one person holding `items` and returns that document.
    std::unique_ptr<notes::NotesDocument> onePerson(const QByteArray &items)
    {
        auto nav = open(book(personDoc("AA", items)))->GetView("$People")->CreateViewNav();
        auto entry = nav->GetFirstDocument();
        if (!entry)
            return nullptr;
        return entry->Document();
    }

    QStringList viewOrder(const QByteArray &content)
    {
        QStringList out;
        auto nav = open(content)->GetView("$People")->CreateViewNav();
        for (auto entry = nav->GetFirstDocument(); entry; entry = nav->GetNextDocument(*entry))
            out << QString::fromStdString(entry->Document()->UniversalID());
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        write("TOP SECRET", QStringLiteral("secret.txt"));
        setZone("UTC");
    }

    void values_data() { testdata::addRows("notes/dxl-values.rows", {"item", "expected"}); }
    void values()
    {
        QFETCH(QString, item);
        auto doc = onePerson("<item name='Value'>" + item.toUtf8() + "</item>\n");
        QVERIFY(doc);
        QTEST(describe(doc->GetItemValue("Value")), "expected");
    }

    // A date the calendar does not have reads as the text the file holds, with a zone or without,
    // before or after the step to local time.
    // A date the calendar does not have, written with or without a time and zone, and a real
    // date that its zone moves out of the years 1 to 9999: each reads as the text the file holds.
    void impossibleDates_data()
    {
        QTest::addColumn<QByteArrayList>("forms");
        const auto dateRow = [](const char *name, const QByteArray &date) {
            QTest::newRow(name) << QByteArrayList{date, date + "T120000,00", date + "T120000,00+00",
                                                  date + "T000000,00Z"};
        };
        dateRow("30 February", "20040230");
        dateRow("31 February", "20040231");
        dateRow("29 February 1900", "19000229");
        dateRow("29 February 2100", "21000229");
        dateRow("31 April", "20040431");
        dateRow("month 13", "20041301");
        dateRow("year 0", "00000101");
        QTest::newRow("zone past 9999") << QByteArrayList{"99991231T230000,00-05"};
        QTest::newRow("zone before year 1") << QByteArrayList{"00010101T000000+01"};
    }
    void impossibleDates()
    {
        QFETCH(QByteArrayList, forms);
        for (const QByteArray &written : forms) {
            auto doc = onePerson("<item name='Value'><datetime>" + written + "</datetime></item>");
            QVERIFY(doc);
            QCOMPARE(describe(doc->GetItemValue("Value")), "text:" + QString::fromLatin1(written));
        }
    }

    void localTime()
    {
        // A zone without summer time, so the figures hold all year.
        setZone("EST5");
        const auto restore = qScopeGuard([] { setZone("UTC"); });
        auto doc = onePerson("<item name='A'><datetime>20040512T134500,00-05</datetime></item>"
                             "<item name='B'><datetime>20040512T134500,00+01</datetime></item>"
                             "<item name='C'><datetime>20040512</datetime></item>"
                             "<item name='D'><datetime>19650512T134500,00+01</datetime></item>"
                             "<item name='E'><datetime>31000512T134500,00+01</datetime></item>");
        QVERIFY(doc);
        QCOMPARE(describe(doc->GetItemValue("A")), QStringLiteral("datetime:2004-05-12 13:45:00"));
        QCOMPARE(describe(doc->GetItemValue("B")), QStringLiteral("datetime:2004-05-12 07:45:00"));
        QCOMPARE(describe(doc->GetItemValue("C")), QStringLiteral("datetime:2004-05-12"));
        // Before 1970 and after 3000, where Windows' C library converts nothing by itself.
        QCOMPARE(describe(doc->GetItemValue("D")), QStringLiteral("datetime:1965-05-12 07:45:00"));
        QCOMPARE(describe(doc->GetItemValue("E")), QStringLiteral("datetime:3100-05-12 07:45:00"));
    }

    void itemNamesIgnoreCase()
    {
        auto doc = onePerson(textItem("firstname", "Oskar") + textItem("FirstName", "Shadow") +
                             textItem("LASTNAME", "Lowe"));
        QVERIFY(doc);
        QCOMPARE(describe(doc->GetItemValue("FirstName")), QStringLiteral("text:Oskar"));
        QCOMPARE(describe(doc->GetItemValue("FIRSTNAME")), QStringLiteral("text:Oskar"));
        QCOMPARE(describe(doc->GetItemValue("LastName")), QStringLiteral("text:Lowe"));
        QCOMPARE(describe(doc->GetItemValue("Missing")), QStringLiteral("text:"));
        QCOMPARE(describe(doc->GetItemValue("")), QStringLiteral("text:"));
    }

    void ids()
    {
        auto db = open(book(personDoc("0123ABCD", textItem("LastName", "X"))));
        auto doc = db->GetView("$People")->CreateViewNav()->GetFirstDocument()->Document();
        QCOMPARE(doc->UniversalID(), std::string("0123ABCD"));
        QCOMPARE(doc->NoteID(), std::string("0123ABCDF")); // written in lower case
        QCOMPARE(db->Title(), std::string("Test Book"));
    }

    void documentAsRoot()
    {
        auto db = open("<?xml version='1.0'?>\n<document xmlns='http://www.lotus.com/dxl' "
                       "form='Person' unid='ROOT1'><noteinfo noteid='2a'/>" +
                       textItem("FirstName", "Solo") + "</document>");
        auto nav = db->GetView("$People")->CreateViewNav();
        QCOMPARE(nav->Count(), 1);
        auto doc = nav->GetFirstDocument()->Document();
        QCOMPARE(doc->UniversalID(), std::string("ROOT1"));
        QCOMPARE(doc->NoteID(), std::string("2A"));
        QCOMPARE(describe(doc->GetItemValue("FirstName")), QStringLiteral("text:Solo"));
    }

    void viewOrder_data()
    {
        QTest::addColumn<QByteArray>("documents");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("by last name, any case")
            << personDoc("C", textItem("LastName", "carter")) +
                   personDoc("A", textItem("LastName", "Abbott")) +
                   personDoc("B", textItem("LastName", "BERG"))
            << QStringList{"A", "B", "C"};
        QTest::newRow("then by first name")
            << personDoc("2", textItem("LastName", "Lee") + textItem("FirstName", "bob")) +
                   personDoc("1", textItem("LastName", "lee") + textItem("FirstName", "Ann"))
            << QStringList{"1", "2"};
        // Enough equal keys that an unstable sort would show it.
        QByteArray many;
        QStringList manyOrder;
        for (int i = 0; i < 60; ++i) {
            const QByteArray id = "T" + QByteArray::number(i);
            const QByteArray last = i % 3 == 0 ? "same" : i % 3 == 1 ? "SAME" : "Same";
            many += personDoc(id, textItem("LastName", last) + textItem("FirstName", "x"));
            manyOrder << QString::fromLatin1(id);
        }
        many += personDoc("first", textItem("LastName", "Aaa"));
        manyOrder.prepend("first");
        QTest::newRow("many ties in file order") << many << manyOrder;
        QTest::newRow("no last name first")
            << personDoc("L", textItem("LastName", "Lee")) + personDoc("N", "")
            << QStringList{"N", "L"};
        QTest::newRow("case-insensitive item names in the key")
            << personDoc("P", textItem("lastname", "Zeta")) +
                   personDoc("Q", textItem("LastName", "alpha"))
            << QStringList{"Q", "P"};
    }
    void viewOrder()
    {
        QFETCH(QByteArray, documents);
        QTEST(viewOrder(book(documents)), "order");
    }

    void onlyPeople()
    {
        const QByteArray docs =
            personDoc("P1", textItem("LastName", "A")) +
            personDoc("G1", textItem("Form", "Group") + textItem("LastName", "B"), "Group") +
            // No form attribute: the Type item decides.
            "<document><noteinfo unid='C1'/>" + textItem("Type", "Connection") +
            textItem("LastName", "C") + "</document>\n" + "<document><noteinfo unid='P2'/>" +
            textItem("Type", "Person") + textItem("LastName", "D") + "</document>\n" +
            "<document><noteinfo unid='P3'/>" + textItem("form", " person ") +
            textItem("LastName", "E") + "</document>\n" +
            personDoc("P4", textItem("LastName", "F"), "PERSON") +
            // Not documents, and a response nested in a document: none are contacts.
            "<note class='form'><item name='Form'><text>Person</text></item></note>\n" +
            personDoc("P5", textItem("LastName", "G") +
                                "<document form='Person'><noteinfo unid='R1'/></document>");
        QCOMPARE(viewOrder(book(docs)), (QStringList{"P1", "P2", "P3", "P4", "P5"}));
    }

    // "$People" in any case opens, an empty one with nothing on it; other views and a server
    // name are refused.
    void views()
    {
        auto empty = open(book(""))->GetView("$People")->CreateViewNav();
        QCOMPARE(empty->Count(), 0);
        QVERIFY(!empty->GetFirstDocument());
        auto db = open(book(personDoc("A", "")));
        QVERIFY(db->GetView("$people"));
        QVERIFY_THROWS_EXCEPTION(NotesError, db->GetView("($Users)"));
        QVERIFY_THROWS_EXCEPTION(NotesError, db->GetView(""));
        QVERIFY_THROWS_EXCEPTION(
            NotesError, notes::dxl::DxlClient::createSession()->GetDatabase("Mail1", "x.dxl"));
    }

    // Objects stay usable after the ones they came from are released, as COM references do.
    void independentObjects()
    {
        std::unique_ptr<notes::NotesViewEntry> entry;
        std::unique_ptr<notes::NotesViewNavigator> nav;
        {
            auto db = open(book(personDoc("A", textItem("LastName", "A")) +
                                personDoc("B", textItem("LastName", "B"))));
            nav = db->GetView("$People")->CreateViewNav();
            entry = nav->GetFirstDocument();
        }
        auto doc = entry->Document();
        entry.reset();
        QCOMPARE(doc->UniversalID(), std::string("A"));
        auto next = nav->GetNextDocument(*nav->GetFirstDocument());
        QVERIFY(next);
        QCOMPARE(next->Document()->UniversalID(), std::string("B"));
        QVERIFY(!nav->GetNextDocument(*next));
    }

    // "%1" in a reason stands for the test's folder. A null content writes no file.
    void badFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QString bad = QStringLiteral("bad.dxl");
        QTest::newRow("missing") << "nowhere.dxl" << QByteArray()
                                 << "The file %1/nowhere.dxl does not exist.";
        QTest::newRow("a folder") << "" << QByteArray() << "%1 is a folder, not an address book.";
        QTest::newRow("empty") << bad << QByteArray("") << "bad.dxl is empty.";
        QTest::newRow("binary")
            << bad << QByteArray("\x1a\x00\x00\x00NSF\x00\x01", 9)
            << "bad.dxl is not a DXL file: it holds binary data. A Notes database (.nsf) "
               "opens only through the Notes client; without one, export the "
               "address book to DXL first.";
        QTest::newRow("plain text") << bad << QByteArray("Name,Mail\nAnn,ann@example.com\n")
                                    << "bad.dxl is not a valid DXL file: syntax error at line 1.";
        QTest::newRow("not DXL") << bad << QByteArray("<?xml version='1.0'?>\n<html><body/></html>")
                                 << "bad.dxl is not a DXL file: its root element is <html>, not "
                                    "<database>.";
        QTest::newRow("truncated")
            << bad << book(personDoc("A", textItem("LastName", "Lee"))).left(150)
            << "bad.dxl is not a valid DXL file: unclosed token at line 4.";
        QTest::newRow("mismatched tag")
            << bad << book(personDoc("A", "<item name='x'><text>a</txet></item>\n"))
            << "bad.dxl is not a valid DXL file: mismatched tag at line 5.";
        QTest::newRow("only a declaration")
            << bad << QByteArray("<?xml version='1.0'?>\n\n")
            << "bad.dxl is not a valid DXL file: no element found at line 3.";
        // Entities expand a few bytes of file into any amount of text, or reach outside it.
        const QString entities =
            "bad.dxl declares its own XML entities, which address book exports never do.";
        QByteArray bomb = "<?xml version='1.0'?>\n<!DOCTYPE database [\n<!ENTITY a0 '" +
                          QByteArray(80, 'x') + "'>\n";
        for (int i = 1; i <= 9; ++i) {
            bomb += "<!ENTITY a" + QByteArray::number(i) + " '";
            for (int j = 0; j < 10; ++j)
                bomb += "&a" + QByteArray::number(i - 1) + ';';
            bomb += "'>\n";
        }
        bomb += "]>\n" + book(personDoc("A", textItem("Comment", "&a9;"))).mid(39);
        QTest::newRow("entity bomb") << bad << bomb << entities;
        QTest::newRow("external entity")
            << bad
            << "<?xml version='1.0'?>\n<!DOCTYPE database [<!ENTITY s SYSTEM '" +
                   QUrl::fromLocalFile(m_dir.filePath("secret.txt")).toEncoded() + "'>]>\n" +
                   book(personDoc("A", textItem("Comment", "&s;"))).mid(39)
            << entities;
        QTest::newRow("parameter entity")
            << bad
            << "<?xml version='1.0'?>\n<!DOCTYPE database [<!ENTITY % p '<!ENTITY q \"x\">'> "
               "%p;]>\n" +
                   book(personDoc("A", textItem("Comment", "&q;"))).mid(39)
            << entities;
    }
    void badFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const std::string path =
            content.isNull() ? (name.isEmpty() ? m_dir.path() : m_dir.filePath(name)).toStdString()
                             : write(content, name);
        try {
            notes::dxl::DxlClient::createSession()->GetDatabase("", path);
            QFAIL("the book opened");
        } catch (const NotesError &e) {
            QCOMPARE(QString::fromStdString(e.reason()), reason.replace("%1", m_dir.path()));
        }
        if (name.isEmpty()) // and no path at all
            QVERIFY_THROWS_EXCEPTION(NotesError,
                                     notes::dxl::DxlClient::createSession()->GetDatabase("", ""));
    }

    // The document type line of real exports names a DTD that is never fetched; the book opens.
    void exportDoctype_data()
    {
        QTest::addColumn<QByteArray>("doctype");
        QTest::newRow("system") << QByteArray(
            "<!DOCTYPE database SYSTEM 'xmlschemas/domino_8_5_3.dtd'>");
        QTest::newRow("public") << QByteArray(
            "<!DOCTYPE database PUBLIC '-//Lotus//DXL' 'http://example.invalid/domino.dtd'>");
    }
    void exportDoctype()
    {
        QFETCH(QByteArray, doctype);
        const QByteArray content = book(personDoc("AA", textItem("FirstName", "Ann")));
        auto nav = open(content.left(39) + doctype + '\n' + content.mid(39))
                       ->GetView("$People")
                       ->CreateViewNav();
        auto entry = nav->GetFirstDocument();
        QVERIFY(entry);
        QCOMPARE(describe(entry->Document()->GetItemValue("FirstName")),
                 QStringLiteral("text:Ann"));
    }

    // Attached files as Notes exports them: the data is never read, the contact is whole.
    void attachment()
    {
        QByteArray data;
        for (int i = 0; data.size() < 5 * 1024 * 1024; ++i)
            data += QByteArray(57, char('A' + i % 26)).toBase64() + '\n';
        const QByteArray file =
            "<item name='$FILE' summary='true'><object><file hosttype='msdos' name='cv.pdf'>"
            "<created><datetime>20040512T134500,00-05</datetime></created><filedata>\n" +
            data + "</filedata></file></object></item>\n";
        auto doc = onePerson(textItem("FirstName", "Ann") + file + textItem("LastName", "Lee") +
                             "<item name='Body'><richtext><par>cv <attachmentref name='cv.pdf'/>"
                             "</par></richtext></item>\n");
        QVERIFY(doc);
        QCOMPARE(describe(doc->GetItemValue("FirstName")), QStringLiteral("text:Ann"));
        QCOMPARE(describe(doc->GetItemValue("LastName")), QStringLiteral("text:Lee"));
        QCOMPARE(describe(doc->GetItemValue("Body")), QStringLiteral("text:cv "));
        QCOMPARE(describe(doc->GetItemValue("$FILE")), QStringLiteral("text:"));
    }

    void bigValue()
    {
        // 10 MB in one value, crossing many read chunks and arena blocks.
        QByteArray big(10 * 1024 * 1024, 'x');
        for (int i = 0; i < big.size(); i += 4093)
            big[i] = char('a' + i % 26);
        auto doc = onePerson(textItem("Comment", big) + textItem("FirstName", "After"));
        QVERIFY(doc);
        const ItemValues v = doc->GetItemValue("Comment");
        QCOMPARE(v.size(), size_t(1));
        QVERIFY(QByteArray::fromStdString(v[0].text) == big);
        QCOMPARE(describe(doc->GetItemValue("FirstName")), QStringLiteral("text:After"));
    }

    void keepsItsCallerAlive()
    {
        // A big book takes seconds to open: the window that asked must get to paint meanwhile.
        const std::string path =
            write(book(personDoc("AA", textItem("Comment", QByteArray(5 * 1024 * 1024, 'x')))));
        int calls = 0;
        {
            const notes::KeepAliveHook hook([&calls] { ++calls; });
            QVERIFY(notes::dxl::DxlClient::createSession()->GetDatabase("", path));
        }
        QVERIFY2(calls >= 4, qPrintable(QString::number(calls)));
        const int during = calls;
        notes::dxl::DxlClient::createSession()->GetDatabase("", path);
        QCOMPARE(calls, during); // the hook went with its scope
    }

    void readOnlyFileUnchanged()
    {
        const QByteArray content = book(personDoc("A", textItem("LastName", "Lee")));
        const std::string path = write(content);
        QFile::setPermissions(QString::fromStdString(path), QFileDevice::ReadOwner);
        QVERIFY(notes::dxl::DxlClient::createSession()->GetDatabase("", path));
        QFile f(QString::fromStdString(path));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }

    void factory()
    {
        const notes::SessionFactory f = notes::dxl::DxlClient::factory();
        QVERIFY(f(notes::kNotesProgId));
        try {
            f(notes::kDominoProgId);
            QFAIL("Domino.NotesSession was created");
        } catch (const NotesError &e) {
            QVERIFY2(e.reason().find("is not available") != std::string::npos, e.what());
        }
    }
};

QTEST_GUILESS_MAIN(TestDxlClient)
#include "tst_dxlclient.moc"
