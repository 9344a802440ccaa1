// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the start-up focus, the menus' actions, and the rules of the path row (Browse,
// typing, emptying) over the buttons, the progress label and the progress bar, before and after a
// scan.
#include "DataRows.h"
#include "FakePlatform.h"
#include "Find.h"
#include "MemoryClient.h"
#include "app/FrmMain.h"
#include "product/Product.h"
#include "support/DocAbout.h"
#include "support/HelpContents.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// One person, so that a scan in these tests completes.
notes::SessionFactory onePersonBook(notes::MemoryClient &client)
{
    notes::MemoryDocument doc;
    doc.universalId = "U1";
    doc.noteId = "N1";
    doc.set("FirstName", "Ann");
    client.people.push_back(doc);
    return client.factory();
}

// Runs one step of a script: "type:TEXT", "clear", "browse:PATH", "cancel", "scan".
void runStep(app::FrmMain &window, FakePlatform &fake, const QString &step)
{
    auto *path = find<QLineEdit>(&window, "txtNotesDatabaseFile");
    if (step.startsWith(QLatin1String("type:"))) {
        path->setFocus();
        QTest::keyClicks(path, step.mid(5));
    } else if (step == QLatin1String("clear")) {
        path->selectAll();
        QTest::keyClick(path, Qt::Key_Delete);
    } else if (step.startsWith(QLatin1String("browse:"))) {
        fake.fileAnswers << step.mid(7);
        QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
    } else if (step == QLatin1String("cancel")) {
        // Pressed from the keyboard: Enter on the focused button presses it.
        fake.fileAnswers << QString();
        auto *browse = find<QPushButton>(&window, "CmdBrowse");
        browse->setFocus();
        QTest::keyClick(browse, Qt::Key_Return);
    } else if (step == QLatin1String("scan")) {
        QTest::mouseClick(find<QPushButton>(&window, "CmdEnumerateNotes"), Qt::LeftButton);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace

class TstFrmMain final : public QObject {
    Q_OBJECT

private slots:
    // The path box holds the focus when the window appears.
    void focusAtStart()
    {
        FakePlatform fake;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), find<QWidget>(&window, "txtNotesDatabaseFile"));
    }

    void pathRules_data()
    {
        testdata::addRows("app/path-rules.rows",
                          {"script", "path", "scan", "exportable", "progress"});
    }

    void pathRules()
    {
        QFETCH(QString, script);
        QFETCH(QString, path);
        QFETCH(QString, scan);
        QFETCH(QString, exportable);
        QFETCH(QString, progress);
        const QStringList steps = script.isEmpty() ? QStringList() : script.split(" | ");
        const bool progressShown = !progress.isEmpty();

        FakePlatform fake;
        notes::MemoryClient client;
        app::FrmMain window;
        window.setSessionFactory(onePersonBook(client));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const QString &step : steps)
            runStep(window, fake, step);

        auto *bar = find<QProgressBar>(&window, "ProgBarScanNotes");
        QCOMPARE(find<QLineEdit>(&window, "txtNotesDatabaseFile")->text(), path);
        QCOMPARE(find<QPushButton>(&window, "CmdEnumerateNotes")->isEnabled(), !scan.isEmpty());
        QCOMPARE(find<QPushButton>(&window, "CmdContactsCreate")->isEnabled(),
                 !exportable.isEmpty());
        QCOMPARE(find<QLabel>(&window, "LblRead")->isVisible(), progressShown);
        QCOMPARE(bar->isVisible(), progressShown);
        if (!steps.isEmpty() && (steps.last().startsWith("browse:") || steps.last() == "cancel"))
            QCOMPARE(bar->value(), 0);
        if (!steps.isEmpty() && steps.last() == "scan")
            QCOMPARE(bar->value(), bar->maximum());
    }

    void dialogKeepsLastChoice()
    {
        FakePlatform fake;
        app::FrmMain window;
        auto *browse = find<QPushButton>(&window, "CmdBrowse");
        fake.fileAnswers = {QString(), QStringLiteral("/a/names.nsf"), QString(),
                            QStringLiteral("/b/other.nsf")};
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(browse, Qt::LeftButton);
        find<QAction>(&window, "mnuOpen")->trigger(); // the menu's Open browses alike
        QTest::mouseClick(browse, Qt::LeftButton);

        QCOMPARE(fake.fileDialogs.size(), 5);
        QStringList starts;
        for (const auto &dialog : fake.fileDialogs) {
            QCOMPARE(dialog.filter,
                     QStringLiteral("Notes Address Book (*.nsf);;DXL export (*.dxl *.xml)"));
            starts << dialog.start;
        }
        QCOMPARE(starts, (QStringList{"", "", "/a/names.nsf", "/a/names.nsf", "/b/other.nsf"}));
        // The fifth dialog was cancelled: the last confirmed choice stays.
        QCOMPARE(window.databasePath(), QStringLiteral("/b/other.nsf"));
        QVERIFY(find<QPushButton>(&window, "CmdEnumerateNotes")->isEnabled());
    }

    void links_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("target");
        const QString site = QString::fromLatin1(product::kWebSite);
        QTest::newRow("footer") << "LabelSiteFooter"
                                << "openInShell" << site;
        QTest::newRow("Visit Website") << "mnuWebsite"
                                       << "openInShell" << site;
        QTest::newRow("Contents") << "mnuContents"
                                  << "showHelp"
                                  << support::helpContentsPath(
                                         QCoreApplication::applicationDirPath());
    }

    void links()
    {
        QFETCH(QString, control);
        QFETCH(QString, call);
        QFETCH(QString, target);
        FakePlatform fake;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (auto *action = window.findChild<QAction *>(control))
            action->trigger();
        else
            QTest::mouseClick(find<QLabel>(&window, qPrintable(control)), Qt::LeftButton);
        QCOMPARE(fake.calls, QStringList{call});
        QCOMPARE(call == QLatin1String("showHelp") ? fake.helpFiles : fake.opened,
                 QStringList{target});
    }

    void aboutIsModalOverTheWindow()
    {
        FakePlatform fake;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The window lives only while it is shown: look at it from inside its own event loop.
        QWidget *owner = nullptr;
        const auto answered = answerModal<support::DocAbout>(
            &window, [&](support::DocAbout *about) { owner = about->parentWidget(); });
        find<QAction>(&window, "mnuAbout")->trigger();
        QVERIFY(*answered);
        QCOMPARE(owner, &window);
    }

    void exitCloses()
    {
        FakePlatform fake;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        find<QAction>(&window, "mnuExit")->trigger();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
