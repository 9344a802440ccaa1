// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the DXL client: every value kind and date form a DXL export holds and item names in
// any case (dxl-values.rows), the "$People" and "Groups" views, ids and unreadable files
// (dxl-books.rows), and what no row shows: views, objects that outlive their book, big values,
// the factory. The sample book is read through the window by the end-to-end tests.
#include "DataRows.h"
#include "TimeZone.h"
#include "notes/KeepAlive.h"
#include "notes/dxl/DxlClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

using notes::ItemValue;
using notes::NotesError;

namespace {

QString describe(const notes::ItemValues &values)
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

QByteArray book(const QByteArray &documents)
{
    return "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
           "version='8.5' title='Test Book'>\n" +
           documents + "</database>\n";
}

QByteArray person(const QByteArray &unid, const QByteArray &items)
{
    return "<document form='Person'><noteinfo unid='" + unid + "'/>" + items + "</document>\n";
}

std::unique_ptr<notes::NotesDatabase> openBook(const std::string &path)
{
    return notes::dxl::DxlClient::createSession()->GetDatabase("", path);
}

} // namespace

class TestDxlClient final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::string write(const QByteArray &content, const QString &name = QStringLiteral("book.dxl"))
    {
        const QString path = QDir(m_dir.path()).filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path.toStdString();
    }

    std::unique_ptr<notes::NotesDocument> firstPerson(const QByteArray &content)
    {
        auto entry =
            openBook(write(content))->GetView("$People")->CreateViewNav()->GetFirstDocument();
        return entry ? entry->Document() : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        write("TOP SECRET", QStringLiteral("secret.txt"));
    }

    void values_data()
    {
        testdata::addRows("notes/dxl-values.rows", {"item", "ask", "zone", "expected"});
    }
    void values()
    {
        auto [item, ask, zone] = testdata::cells("item", "ask", "zone");
        setZone(zone.isEmpty() ? "UTC" : qPrintable(zone));
        if (!item.startsWith(QLatin1String("<item ")))
            item = "<item name='Value'>" + item + "</item>";
        auto doc = firstPerson(book(person("AA", item.toUtf8())));
        QVERIFY(doc);
        QStringList got;
        for (const QString &name : (ask.isEmpty() ? QStringLiteral("Value") : ask).split(u' '))
            got << describe(doc->GetItemValue(name.toStdString()));
        QTEST(got.join(QLatin1String(" ; ")), "expected");
    }

    void books_data()
    {
        testdata::addRows("notes/dxl-books.rows", {"dxl", "file", "view", "expected"});
    }
    void books()
    {
        const auto [dxl, file, view, expected] = testdata::cells("dxl", "file", "view", "expected");
        const QString path = QDir::cleanPath(m_dir.filePath(file.isEmpty() ? "bad.dxl" : file));
        if (dxl != QLatin1String("(none)"))
            write(dxl.isEmpty() || dxl.startsWith(QLatin1String("<document"))
                      ? book(dxl.toUtf8())
                      : (dxl == QLatin1String("(empty)") ? QByteArray() : dxl.toUtf8()),
                  path);
        QString got;
        try {
            auto db = openBook(path.toStdString());
            got = QString::fromStdString(db->Title()) + ':';
            auto nav =
                db->GetView(view.isEmpty() ? "$People" : view.toStdString())->CreateViewNav();
            int count = 0;
            for (auto entry = nav->GetFirstDocument(); entry;
                 entry = nav->GetNextDocument(*entry)) {
                auto doc = entry->Document();
                const QString noteId = QString::fromStdString(doc->NoteID());
                const notes::ItemValues firstName = doc->GetItemValue("FirstName");
                const QString first =
                    QString::fromStdString(firstName.empty() ? std::string() : firstName[0].text);
                got += ' ' + QString::fromStdString(doc->UniversalID()) +
                       (noteId.isEmpty() ? QString() : '/' + noteId) +
                       (first.isEmpty() ? QString() : '(' + first + ')');
                ++count;
            }
            QCOMPARE(nav->Count(), count);
        } catch (const NotesError &e) {
            got = "refused: " + QString::fromStdString(e.reason());
        }
        QCOMPARE(got, QString(expected).replace(QLatin1String("%1"), m_dir.path()));
    }

    // "$People" in any case opens; other views, a server name and no path are refused.
    void views()
    {
        auto db = openBook(write(book(person("A", ""))));
        QVERIFY(db->GetView("$people"));
        QVERIFY_THROWS_EXCEPTION(NotesError, db->GetView("($Users)"));
        QVERIFY_THROWS_EXCEPTION(NotesError, db->GetView(""));
        const auto session = notes::dxl::DxlClient::createSession();
        QVERIFY_THROWS_EXCEPTION(NotesError, session->GetDatabase("Mail1", "x.dxl"));
        QVERIFY_THROWS_EXCEPTION(NotesError, session->GetDatabase("", ""));
    }

    // Objects stay usable after the ones they came from are released, as COM references do.
    void independentObjects()
    {
        std::unique_ptr<notes::NotesViewEntry> entry;
        std::unique_ptr<notes::NotesViewNavigator> nav;
        {
            auto db = openBook(write(book(person("A", "") + person("B", ""))));
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

    // 10 MB in one value, crossing many read chunks and arena blocks. A book that big takes
    // seconds to open: the window that asked must get to paint meanwhile.
    void bigValue()
    {
        QByteArray big(10 * 1024 * 1024, 'x');
        for (int i = 0; i < big.size(); i += 4093)
            big[i] = char('a' + i % 26);
        const std::string path =
            write(book(person("AA", "<item name='Comment'><text>" + big +
                                        "</text></item><item name='FirstName'><text>After</text>"
                                        "</item>")));
        int calls = 0;
        std::unique_ptr<notes::NotesDatabase> db;
        {
            const notes::KeepAliveHook hook([&calls] { ++calls; });
            db = openBook(path);
        }
        QVERIFY2(calls >= 4, qPrintable(QString::number(calls)));
        auto doc = db->GetView("$People")->CreateViewNav()->GetFirstDocument()->Document();
        QVERIFY(doc->GetItemValue("Comment").at(0).text == big.toStdString());
        QCOMPARE(describe(doc->GetItemValue("FirstName")), QStringLiteral("text:After"));
        const int during = calls;
        openBook(path);
        QCOMPARE(calls, during); // the hook went with its scope
    }

    // Only the Notes classes: the Domino ones are refused, so the walk falls back to them.
    void factory()
    {
        const notes::SessionFactory f = notes::dxl::DxlClient::factory();
        QVERIFY(f(notes::kNotesProgId));
        QVERIFY_THROWS_EXCEPTION(NotesError, f(notes::kDominoProgId));
    }
};

QTEST_GUILESS_MAIN(TestDxlClient)
#include "tst_dxlclient.moc"
