// The main window: its controls as designed, and the rules of the path row (Browse, typing,
// emptying) over the buttons, the progress label and the progress bar, before and after a scan.
#include "ContactTree.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"
#include "HelpContents.h"
#include "MemoryClient.h"
#include "Product.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct State {
    QString path;
    bool scanEnabled;
    bool exportEnabled;
    bool progressShown;
};

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
void runStep(FrmMain &window, FakePlatform &fake, const QString &step)
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
        fake.fileAnswers << QString();
        QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
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
    void windowFrame()
    {
        FakePlatform fake;
        FrmMain window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Korvanta Tessal"));
        QCOMPARE(window.centralWidget()->size(), QSize(712, 644));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(238, 238, 224));
        QVERIFY(!window.windowIcon().isNull());
    }

    void keyboardOrder()
    {
        FakePlatform fake;
        FrmMain window;
        QWidget *w = find<QWidget>(&window, "txtNotesDatabaseFile");
        QStringList order;
        for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{"txtNotesDatabaseFile", "CmdBrowse", "CmdEnumerateNotes",
                                     "CmdContactsCreate", "ContactsTreeView", "txtFirstName"}));
        // The first of them holds the focus when the window appears.
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), find<QWidget>(&window, "txtNotesDatabaseFile"));
    }

    void menus()
    {
        FakePlatform fake;
        FrmMain window;
        QStringList seen;
        for (QAction *top : window.menuBar()->actions()) {
            seen << top->menu()->objectName() + '=' + top->text();
            for (QAction *item : top->menu()->actions())
                seen << item->objectName() + '=' + (item->isSeparator() ? "-" : item->text());
        }
        QCOMPARE(seen,
                 (QStringList{"mnuFile=File", "mnuOpen=Open Notes Address Book File", "mnuSep=-",
                              "mnuExit=Exit", "mnuHelp=Help", "mnuContents=Contents",
                              "mnuWebsite=Visit Website", "mnuSep2=-", "mnuAbout=About"}));
    }

    void pathRules_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("scanEnabled");
        QTest::addColumn<bool>("exportEnabled");
        QTest::addColumn<bool>("progressShown");

        const QString book = QStringLiteral("/books/names.nsf");
        QTest::newRow("start") << QStringList{} << "" << false << false << false;
        QTest::newRow("typing enables scan only")
            << QStringList{"type:/books/x.nsf"} << "/books/x.nsf" << true << false << false;
        QTest::newRow("any typed name is taken")
            << QStringList{"type:notes.txt"} << "notes.txt" << true << false << false;
        QTest::newRow("emptying disables scan")
            << QStringList{"type:abc", "clear"} << "" << false << false << false;
        QTest::newRow("browse confirmed")
            << QStringList{"browse:" + book} << book << true << false << true;
        QTest::newRow("first browse cancelled clears typing")
            << QStringList{"type:typed", "cancel"} << "" << false << false << false;
        QTest::newRow("cancel after browse keeps shown progress")
            << QStringList{"browse:" + book, "clear", "cancel"} << book << true << false << true;
        QTest::newRow("later cancel restores last choice")
            << QStringList{"browse:" + book, "type:/other", "cancel"} << book << true << false
            << true;
        QTest::newRow("scan completed")
            << QStringList{"browse:" + book, "scan"} << book << false << true << false;
        QTest::newRow("same file again after scan")
            << QStringList{"browse:" + book, "scan", "browse:" + book} << book << true << false
            << true;
        QTest::newRow("cancel after scan gives the book back")
            << QStringList{"browse:" + book, "scan", "cancel"} << book << true << false << true;
        QTest::newRow("emptying after scan keeps export")
            << QStringList{"browse:" + book, "scan", "clear"} << "" << false << true << false;
        QTest::newRow("editing after scan enables scan")
            << QStringList{"browse:" + book, "scan", "type:x"} << book + "x" << true << true
            << false;
        QTest::newRow("scan of a typed path shows no progress line")
            << QStringList{"type:" + book, "scan"} << book << false << true << false;
    }

    void pathRules()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, path);
        QFETCH(bool, scanEnabled);
        QFETCH(bool, exportEnabled);
        QFETCH(bool, progressShown);

        FakePlatform fake;
        notes::MemoryClient client;
        FrmMain window;
        window.setSessionFactory(onePersonBook(client));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const QString &step : steps)
            runStep(window, fake, step);

        auto *bar = find<QProgressBar>(&window, "ProgBarScanNotes");
        QCOMPARE(find<QLineEdit>(&window, "txtNotesDatabaseFile")->text(), path);
        QCOMPARE(find<QPushButton>(&window, "CmdEnumerateNotes")->isEnabled(), scanEnabled);
        QCOMPARE(find<QPushButton>(&window, "CmdContactsCreate")->isEnabled(), exportEnabled);
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
        FrmMain window;
        auto *browse = find<QPushButton>(&window, "CmdBrowse");
        fake.fileAnswers = {QString(), QStringLiteral("/a/names.nsf"), QString(),
                            QStringLiteral("/b/other.nsf")};
        for (int i = 0; i < 5; ++i)
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
    }

    void menuOpenBrowses()
    {
        FakePlatform fake;
        FrmMain window;
        fake.fileAnswers << QStringLiteral("/c/names.nsf");
        find<QAction>(&window, "mnuOpen")->trigger();
        QCOMPARE(fake.fileDialogs.size(), 1);
        QCOMPARE(window.databasePath(), QStringLiteral("/c/names.nsf"));
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
                                  << helpContentsPath(QCoreApplication::applicationDirPath());
    }

    void links()
    {
        QFETCH(QString, control);
        QFETCH(QString, call);
        QFETCH(QString, target);
        FakePlatform fake;
        FrmMain window;
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
        FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The window lives only while it is shown: look at it from inside its own event loop.
        QString title;
        QWidget *owner = nullptr;
        QTimer::singleShot(0, &window, [&] {
            if (QWidget *shown = QApplication::activeModalWidget()) {
                title = shown->windowTitle();
                owner = shown->parentWidget();
                shown->close();
            }
        });
        find<QAction>(&window, "mnuAbout")->trigger();
        QCOMPARE(title, QStringLiteral("About"));
        QCOMPARE(owner, &window);
    }

    void exitCloses()
    {
        FakePlatform fake;
        FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        find<QAction>(&window, "mnuExit")->trigger();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
