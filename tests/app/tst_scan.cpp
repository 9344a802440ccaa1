// The scan as the main window runs it, against the in-memory Notes client: the backup copy,
// each outcome's message and the state it leaves, the contacts in the tree, a rescan, and the
// window's guard while a scan runs.
#include "ContactRecord.h"
#include "ContactTree.h"
#include "DetailsPane.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"
#include "TestBooks.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using notes::MemoryClient;
using Op = notes::MemoryClient::Op;

namespace {

QStringList childTexts(QTreeWidgetItem *group)
{
    QStringList texts;
    for (int i = 0; i < group->childCount(); ++i)
        texts << group->child(i)->text(0);
    return texts;
}

QString nl()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

} // namespace

class TstScan final : public QObject {
    Q_OBJECT

    FakePlatform *m_fake = nullptr;
    MemoryClient *m_client = nullptr;
    FrmMain *m_window = nullptr;

    void chooseAndScan(const QString &path = QStringLiteral("/books/names.nsf"))
    {
        m_fake->fileAnswers << path;
        QTest::mouseClick(find<QPushButton>(m_window, "CmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(m_window, "CmdEnumerateNotes"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_fake = new FakePlatform;
        m_client = new MemoryClient;
        m_window = new FrmMain;
        m_window->setSessionFactory(m_client->factory());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        delete m_client;
        delete m_fake;
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("textStart");
        QTest::addColumn<QString>("textHolds"); // "": the text is textStart alone
        QTest::addColumn<bool>("completed");
        QTest::addColumn<int>("contacts");

        const QString company = QStringLiteral("Korvanta Software");
        QTest::newRow("completed") << "three" << company << "Notes Address Book Scan Completed"
                                   << "" << true << 3;
        QTest::newRow("not installed")
            << "no client"
            << "Notes Not Installed/Configured"
            << QStringList{"Lotus Notes NOT INSTALLED or CONFIGURED Properly.",
                           "",
                           "If Lotus Notes is installed and configured properly and you still get "
                           "this error message",
                           "then make sure your Lotus Notes Client is configured as stand alone "
                           "client (does not look for Domino).",
                           "It is RECOMMENDED that you install a Notes Client on a fresh disk to "
                           "perform the conversion.",
                           "Please contact our technical team at support@korvanta.example for "
                           "further "
                           "assistance.",
                           "",
                           "Make sure you logged in under same user account through which Notes is "
                           "installed."}
                   .join(nl())
            << "" << false << 0;
        QTest::newRow("cannot open") << "missing book" << company
                                     << "Lotus Notes not configured or the selected file is not a "
                                        "correct notes address book file." +
                                            nl() + nl()
                                     << "The file /books/names.nsf does not exist." << false << 0;
        QTest::newRow("empty view")
            << "empty" << company << "No contacts were found in the Notes Address Book."
            << "" << true << 0;
        QTest::newRow("a document skipped")
            << "second unreadable" << company
            << "The Notes Address Book scan reached the end of the book, but some documents could "
               "not be read."
            << "Contacts added: 2. Documents skipped because they could not be read: 1." << true
            << 2;
        QTest::newRow("stopped early")
            << "walk breaks" << company << "The Notes Address Book scan stopped early: "
            << "Contacts added: 1." << true << 1;
    }

    void outcomes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, title);
        QFETCH(QString, textStart);
        QFETCH(QString, textHolds);
        QFETCH(bool, completed);
        QFETCH(int, contacts);

        if (setup != "empty") {
            m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee"),
                                person("3", "Cid", "Cat")};
        }
        if (setup == "no client")
            m_client->availableProgIds.clear();
        if (setup == "missing book")
            m_client->missingPaths.insert("/books/names.nsf");
        if (setup == "second unreadable")
            m_client->failOn(Op::UniversalID, 2);
        if (setup == "walk breaks")
            m_client->failFrom(Op::GetNextDocument, 1);

        auto *bar = find<QProgressBar>(m_window, "ProgBarScanNotes");
        m_fake->fileAnswers << QStringLiteral("/books/names.nsf");
        QTest::mouseClick(find<QPushButton>(m_window, "CmdBrowse"), Qt::LeftButton);
        QSignalSpy values(bar, &QProgressBar::valueChanged);
        QTest::mouseClick(find<QPushButton>(m_window, "CmdEnumerateNotes"), Qt::LeftButton);

        // The backup copy comes first, whatever the outcome.
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->messages.size(), 1);
        const QString text = m_fake->messages[0].text;
        QCOMPARE(m_fake->messages[0].title, title);
        if (textHolds.isEmpty())
            QCOMPARE(text, textStart);
        QVERIFY2(text.startsWith(textStart), qPrintable(text));
        QVERIFY2(text.contains(textHolds), qPrintable(text));

        QCOMPARE(find<QPushButton>(m_window, "CmdContactsCreate")->isEnabled(), completed);
        QCOMPARE(find<QPushButton>(m_window, "CmdEnumerateNotes")->isEnabled(), !completed);
        QCOMPARE(find<QLabel>(m_window, "LblRead")->isVisible(), !completed);
        QCOMPARE(bar->isVisible(), !completed);
        if (completed)
            QCOMPARE(bar->value(), bar->maximum());
        else
            QCOMPARE(bar->value(), 0);
        if (setup == "three") {
            // One step for each document.
            QList<int> seen;
            for (const auto &v : values)
                seen << v.at(0).toInt();
            QCOMPARE(seen, (QList<int>{1, 2, 3}));
            QCOMPARE(bar->maximum(), 3);
            QCOMPARE(m_window->scanCounter(), 3);
        }
        QCOMPARE(m_window->entryCount(), std::int64_t(completed && setup != "empty" ? 3 : 0));
        QCOMPARE(m_window->contactTree()->nodeCount(), 28 + contacts);
        QVERIFY(!m_window->isScanning());
        QVERIFY(m_window->contactTree()->updatesEnabled());
        QCOMPARE(m_client->liveObjects(), 0);
    }

    void backupCopy_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<bool>("copyWorks");
        QTest::newRow("nsf") << "/books/names.nsf"
                             << "/books/names.bak" << true;
        QTest::newRow("copy fails, scan goes on") << "/ro/names.nsf"
                                                  << "/ro/names.bak" << false;
        QTest::newRow("dxl") << "/books/export.dxl"
                             << "/books/export.bak" << true;
    }

    void backupCopy()
    {
        QFETCH(QString, path);
        QFETCH(QString, backup);
        QFETCH(bool, copyWorks);
        m_fake->copyResult = copyWorks;
        m_client->people = {person("1", "Anna", "Ant")};
        chooseAndScan(path);
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->copies[0].first, path);
        QCOMPARE(m_fake->copies[0].second, backup);
        QCOMPARE(m_fake->messages.size(), 1);
        QCOMPARE(m_fake->messages[0].text, QStringLiteral("Notes Address Book Scan Completed"));
        QCOMPARE(m_window->contactTree()->nodeCount(), 29);
    }

    void contactsUnderGroups()
    {
        m_client->people = {person("1", "Anna", "Ant"), person("2", "7even", "Seven"),
                            person("3", "bob", "Bee"), person("4", "", "Nameless"),
                            person("5", " anna", "Lee")};
        chooseAndScan();
        ContactTree *tree = m_window->contactTree();
        QCOMPARE(childTexts(tree->node("A")), (QStringList{"Anna Ant", "anna Lee"}));
        QCOMPARE(childTexts(tree->node("B")), (QStringList{"bob Bee"}));
        QCOMPARE(childTexts(tree->node("Other")), (QStringList{"7even Seven", "Nameless"}));
        QCOMPARE(childTexts(tree->node("C")), QStringList{});
        QTreeWidgetItem *anna = tree->node("UNID1-N1");
        QVERIFY(anna);
        QCOMPARE(ContactTree::imageOf(anna), 3);
        QCOMPARE(notes::ContactRecord::decode(ContactTree::tagOf(anna).toStdString()).fields[2],
                 std::string("Ant"));
        QCOMPARE(tree->nodeCount(), 33);
    }

    void rescanReplacesInPlace()
    {
        m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee")};
        chooseAndScan();
        m_client->people[0] = person("1", "Anna", "Antelope").set("CompanyName", "Zoo");
        chooseAndScan();
        QCOMPARE(m_fake->messages.size(), 2);
        QCOMPARE(m_fake->messages[1].text, QStringLiteral("Notes Address Book Scan Completed"));
        ContactTree *tree = m_window->contactTree();
        QCOMPARE(tree->nodeCount(), 30);
        QCOMPARE(childTexts(tree->node("A")), (QStringList{"Anna Antelope"}));
        QCOMPARE(
            notes::ContactRecord::decode(ContactTree::tagOf(tree->node("UNID1-N1")).toStdString())
                .fields[6],
            std::string("Zoo"));
        QVERIFY(find<QPushButton>(m_window, "CmdContactsCreate")->isEnabled());
    }

    void detailsFromScan()
    {
        notes::MemoryDocument doc;
        doc.universalId = "UNID9";
        doc.noteId = "N9";
        for (int i = 0; i < notes::kFieldCount - 1; ++i) {
            std::string value = "v" + std::to_string(i);
            if (i == 1)
                value = "Q";
            else if (i == 3)
                value = "0";
            else if (i == 8)
                value = "v8|x";
            doc.set(notes::kFields[std::size_t(i)].item, value);
        }
        doc.set("Categories", notes::ItemValues{notes::ItemValue::fromText("Red"),
                                                notes::ItemValue::fromText("Blue")});
        m_client->people = {doc};
        chooseAndScan();

        ContactTree *tree = m_window->contactTree();
        QTreeWidgetItem *node = tree->node("UNID9-N9");
        QVERIFY(node);
        QCOMPARE(node->text(0), QStringLiteral("v0 Q v2"));
        node->parent()->setExpanded(true);
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node).center());

        QCOMPARE(find<QLabel>(m_window, "LblTopName")->text(), QStringLiteral("v0 Q v2"));
        QVERIFY(find<QLabel>(m_window, "ImgContact")->isVisible());
        DetailsPane *pane = m_window->detailsPane();
        for (int i = 0; i < notes::kFieldCount; ++i) {
            QString expected = QStringLiteral("v%1").arg(i);
            if (i == 1)
                expected = "Q";
            else if (i == 3)
                expected = "";
            else if (i == 8)
                expected = "v8|x";
            else if (i == 41)
                expected = "Red";
            QCOMPARE(pane->boxText(i), expected);
        }
    }

    void guardedWhileScanning()
    {
        m_client->people = {person("1", "Anna", "Ant")};
        bool sawScanning = false;
        bool closed = true;
        int nestedMessages = -1;
        notes::SessionFactory inner = m_client->factory();
        m_window->setSessionFactory([&](const std::string &progId) {
            sawScanning = m_window->isScanning();
            // A second start, a click on Browse and a close all come to nothing meanwhile.
            m_window->CmdEnumerateNotes_Click();
            nestedMessages = int(m_fake->messages.size());
            QTest::mouseClick(find<QPushButton>(m_window, "CmdBrowse"), Qt::LeftButton);
            closed = m_window->close();
            return inner(progId);
        });
        chooseAndScan();
        QVERIFY(sawScanning);
        QCOMPARE(nestedMessages, 0);
        QVERIFY(!closed);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_fake->fileDialogs.size(), 1); // the Browse before the scan only
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->messages.size(), 1);
        QVERIFY(!m_window->isScanning());
    }
};

QTEST_MAIN(TstScan)
#include "tst_scan.moc"
