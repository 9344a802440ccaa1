// SPDX-License-Identifier: GPL-3.0-or-later
// The scan as the main window runs it, against the in-memory Notes client: the backup copy,
// each outcome's message and the state it leaves, the contacts in the tree, a rescan, and the
// window's guard while a scan runs.
#include "DataRows.h"
#include "FakePlatform.h"
#include "Find.h"
#include "PostInput.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "app/FrmMain.h"
#include "app/WalkRunner.h"
#include "browser/ContactTree.h"
#include "notes/ContactRecord.h"
#include "notes/FieldSchema.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
                                                     "completedRun", "contactCount"});
    }

    void outcomes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, title);
        QFETCH(QString, textStart);
        QFETCH(QString, textHolds);
        QFETCH(QString, completedRun);
        QFETCH(QString, contactCount);
        textStart.replace(QLatin1String("{nl}"), nl());
        const bool completed = !completedRun.isEmpty();
        const int contacts = contactCount.toInt();

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
        if (setup == "three") {
            // One step for each document.
            QList<int> seen;
            for (const auto &v : values)
                seen << v.at(0).toInt();
            QCOMPARE(seen, (QList<int>{1, 2, 3}));
            QCOMPARE(bar->maximum(), 3);
        }
        QCOMPARE(m_window->contactTree()->nodeCount(), 28 + contacts);
        QVERIFY(m_window->contactTree()->updatesEnabled());
        QCOMPARE(m_client->liveObjects(), 0);
    }

    // Every item of a Person holds its own name: each box of the details pane and each column
    // of the export must show the item the field schema gives it (the wiring from the record to
    // the boxes and the columns; the schema itself is the program's).
    void everyItemReachesItsBoxAndColumn()
    {
        notes::MemoryDocument doc = person("1", "FirstName", "LastName");
        for (const notes::FieldSpec &field : notes::kFields)
            doc.set(field.item, field.item);
        doc.set("FullName", "FullName");
        m_client->people = {doc};
        chooseAndScan();

        browser::ContactTree *tree = m_window->contactTree();
        QTreeWidgetItem *node = tree->node("UNID1-N1");
        QVERIFY(node);
        QCOMPARE(node->parent(), tree->node("F"));
        QCOMPARE(node->text(0), QStringLiteral("FirstName MiddleInitial LastName"));
        clickNode(node);
        QCOMPARE(find<QLabel>(m_window, "LblTopName")->text(),
                 QStringLiteral("FirstName MiddleInitial LastName"));
        for (const notes::FieldSpec &field : notes::kFields) {
            const QWidget *w = find<QWidget>(m_window, field.box);
            const QString shown = qobject_cast<const QLineEdit *>(w)
                                      ? qobject_cast<const QLineEdit *>(w)->text()
                                      : qobject_cast<const QPlainTextEdit *>(w)->toPlainText();
            QCOMPARE(field.box + QStringLiteral("=") + shown,
                     field.box + QStringLiteral("=") + field.item);
        }

        QTemporaryDir dir;
        m_fake->folderAnswer = dir.path();
        const auto answered = answerModal<app::FrmConversion>(this, [](app::FrmConversion *form) {
            find<QCheckBox>(form, "ChkSelectAll")->setChecked(true);
            find<QPushButton>(form, "CmdConversion")->click();
        });
        QTest::mouseClick(find<QPushButton>(m_window, "CmdContactsCreate"), Qt::LeftButton);
        QVERIFY(*answered);
        QFile file(dir.filePath(QStringLiteral("OE-Contacts.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 3); // heading, the contact, and nothing after the last CR LF
        const QList<QByteArray> captions = lines[0].trimmed().split(',');
        const QList<QByteArray> values = lines[1].trimmed().split(',');
        QCOMPARE(captions.size(), qsizetype(notes::kExportColumnCount));
        QCOMPARE(values.size(), captions.size());
        for (qsizetype i = 0; i < captions.size(); ++i) {
            const notes::ExportColumn &column = notes::kExportColumns[std::size_t(i)];
            QCOMPARE(captions[i], QByteArray(column.caption));
            QCOMPARE(captions[i] + '=' + values[i], captions[i] + '=' + column.item);
        }
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
        const QString pathBefore = path->text();
        QCoreApplication::processEvents();
        QVERIFY(sawScanning);
        QCOMPARE(nestedMessages, 0);
        QVERIFY(!closed);
        QVERIFY(m_window->isVisible());
        QCOMPARE(browseClicks.size(), 1); // the Browse before the scan only
        QCOMPARE(m_fake->fileDialogs.size(), 1);
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->messages.size(), 1);
        QCOMPARE(path->text(), pathBefore);
        QVERIFY(!path->text().endsWith('x'));
        QVERIFY(!app::WalkRunner::running());
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
        QCOMPARE(childTexts(tree->node("A")), QStringList{});
        QCOMPARE(anna->text(0), QStringLiteral("Hanna Ant"));
        QCOMPARE(childTexts(tree->node("C")), QStringList{"cid Cat"});
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
