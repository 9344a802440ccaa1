// SPDX-License-Identifier: GPL-3.0-or-later
// The scan as the main window runs it, against the in-memory Notes client: the backup copy,
// each outcome's message and the state it leaves, the contacts in the tree and the details pane
// after a rescan, and the window's guard while a scan runs.
#include "DataRows.h"
#include "FakePlatform.h"
#include "Find.h"
#include "PostInput.h"
#include "TestBooks.h"
#include "app/FrmMain.h"
#include "app/WalkRunner.h"
#include "browser/ContactTree.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using notes::MemoryClient;
using Op = notes::MemoryClient::Op;

class TstScan final : public QObject {
    Q_OBJECT

    FakePlatform *m_fake = nullptr;
    MemoryClient *m_client = nullptr;
    app::FrmMain *m_window = nullptr;

    void clickNode(QTreeWidgetItem *node)
    {
        browser::ContactTree *tree = m_window->contactTree();
        if (node->parent())
            node->parent()->setExpanded(true);
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node).center());
    }

    void chooseAndScan()
    {
        m_fake->fileAnswers << QStringLiteral("/books/names.nsf");
        QTest::mouseClick(find<QPushButton>(m_window, "CmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(m_window, "CmdEnumerateNotes"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_fake = new FakePlatform;
        m_client = new MemoryClient;
        m_window = new app::FrmMain;
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
        testdata::addRows("app/scan-outcomes.rows", {"setup", "title", "textStart", "textHolds",
                                                     "completedRun", "contactCount", "steps"});
    }

    void outcomes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, title);
        QFETCH(QString, textStart);
        QFETCH(QString, textHolds);
        QFETCH(QString, completedRun);
        QFETCH(QString, contactCount);
        QFETCH(QString, steps);
#ifdef Q_OS_WIN
        textStart.replace(QLatin1String("{nl}"), QLatin1String("\r\n"));
#endif
        textStart.replace(QLatin1String("{nl}"), QLatin1String("\n"));
        const bool completed = !completedRun.isEmpty();
        const int contacts = contactCount.toInt();

        if (setup != "empty")
            m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee"),
                                person("3", "Cid", "Cat")};
        if (setup == "no client")
            m_client->availableProgIds.clear();
        if (setup == "missing book")
            m_client->missingPaths.insert("/books/names.nsf");
        if (setup == "second unreadable")
            m_client->failOn(Op::UniversalID, 2);
        if (setup == "walk breaks")
            m_client->failFrom(Op::GetNextDocument, 1);
        m_fake->copyResult = setup != "copy fails";

        auto *bar = find<QProgressBar>(m_window, "ProgBarScanNotes");
        m_fake->fileAnswers << QStringLiteral("/books/names.nsf");
        QTest::mouseClick(find<QPushButton>(m_window, "CmdBrowse"), Qt::LeftButton);
        QSignalSpy values(bar, &QProgressBar::valueChanged);
        QTest::mouseClick(find<QPushButton>(m_window, "CmdEnumerateNotes"), Qt::LeftButton);

        // The backup copy comes first, whatever the outcome.
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->copies[0].second, QStringLiteral("/books/names.bak"));
        QCOMPARE(m_fake->messages.size(), 1);
        const QString text = m_fake->messages[0].text;
        QCOMPARE(m_fake->messages[0].title, title);
        if (textHolds.isEmpty())
            QCOMPARE(text, textStart);
        QVERIFY2(text.startsWith(textStart), qPrintable(text));
        QVERIFY2(text.contains(textHolds), qPrintable(text));

        // Nothing to export after a scan that found no contact.
        QCOMPARE(find<QPushButton>(m_window, "CmdContactsCreate")->isEnabled(),
                 completed && contacts > 0);
        QCOMPARE(find<QPushButton>(m_window, "CmdEnumerateNotes")->isEnabled(), !completed);
        QCOMPARE(find<QLabel>(m_window, "LblRead")->isVisible(), !completed);
        QCOMPARE(bar->isVisible(), !completed);
        if (completed)
            QCOMPARE(bar->value(), bar->maximum());
        else
            QCOMPARE(bar->value(), 0);
        QStringList seen; // one step for each document
        for (const auto &v : values)
            seen << v.at(0).toString();
        QCOMPARE(seen.join(u' '), steps);
        QCOMPARE(m_window->contactTree()->nodeCount(), 28 + contacts);
        QVERIFY(m_window->contactTree()->updatesEnabled());
        QCOMPARE(m_client->liveObjects(), 0);
    }

    // Clicks, keys, a second start and a close that arrive while a scan runs reach nothing,
    // then or afterwards.
    void inputDuringScanIsDiscarded()
    {
        m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee")};
        auto *browse = find<QPushButton>(m_window, "CmdBrowse");
        auto *path = find<QLineEdit>(m_window, "txtNotesDatabaseFile");
        QSignalSpy browseClicks(browse, &QPushButton::clicked);
        bool sawScanning = false;
        bool closed = true;
        qsizetype nestedMessages = -1;
        notes::SessionFactory inner = m_client->factory();
        m_window->setSessionFactory([&](const std::string &progId) {
            sawScanning = app::WalkRunner::running();
            m_window->CmdEnumerateNotes_Click();
            nestedMessages = m_fake->messages.size();
            closed = m_window->close();
            postClick(browse);
            postClick(find<QPushButton>(m_window, "CmdEnumerateNotes"));
            postKey(path, Qt::Key_X, QStringLiteral("x"));
            return inner(progId);
        });
        chooseAndScan();
        QCoreApplication::processEvents();
        QVERIFY(sawScanning);
        QCOMPARE(nestedMessages, 0);
        QVERIFY(!closed);
        QCOMPARE(browseClicks.size(), 1); // the Browse before the scan only
        QCOMPARE(m_fake->messages.size(), 1);
        QCOMPARE(path->text(), QStringLiteral("/books/names.nsf"));
    }

    // A rescan of a book that changed: names, groups and fields follow it, in the tree and in
    // the store alike, and the details pane shows the new values.
    void rescanUpdatesInPlace()
    {
        m_client->people = {person("1", "Anna", "Ant").set("CompanyName", "Hill"),
                            person("2", "Bob", "Bee")};
        chooseAndScan();
        QTreeWidgetItem *anna = m_window->contactTree()->node("UNID1-N1");
        QVERIFY(anna);
        m_client->people = {person("1", "Hanna", "Ant").set("CompanyName", "Zoo"),
                            person("2", "Bob", "Bee"), person("3", " cid", "Cat")};
        chooseAndScan();
        browser::ContactTree *tree = m_window->contactTree();
        QCOMPARE(tree->node("UNID1-N1"), anna);
        QCOMPARE(anna->parent(), tree->node("H"));
        QCOMPARE(tree->node("A")->childCount(), 0);
        QCOMPARE(anna->text(0), QStringLiteral("Hanna Ant"));
        QCOMPARE(tree->node("C")->child(0)->text(0), QStringLiteral("cid Cat"));
        QCOMPARE(tree->nodeCount(), 28 + 3);
        QCOMPARE(m_window->contacts().size(), std::size_t(3));
        for (const char *key : {"UNID1-N1", "UNID2-N2", "UNID3-N3"})
            QVERIFY2(m_window->contacts().contains(key) && tree->node(key), key);
        clickNode(anna);
        QCOMPARE(find<QLineEdit>(m_window, "txtFirstName")->text(), QStringLiteral("Hanna"));
        QCOMPARE(find<QPlainTextEdit>(m_window, "txtCompany")->toPlainText(),
                 QStringLiteral("Zoo"));
        // The root and a group leave the contact on show.
        clickNode(tree->node("H"));
        clickNode(tree->node(QString::fromLatin1(browser::ContactTree::kRootKey)));
        QCOMPARE(find<QLabel>(m_window, "LblTopName")->text(), QStringLiteral("Hanna Ant"));
    }
};

QTEST_MAIN(TstScan)
#include "tst_scan.moc"
