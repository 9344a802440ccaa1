// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the start-up focus, the menus' actions, and the rules of the path row (Browse,
// the menu's Open, typing, emptying) over the buttons, the progress label, the progress bar and
// the file dialog, before and after a scan.
#include "DataRows.h"
#include "FakePlatform.h"
#include "Find.h"
#include "TestBooks.h"
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

namespace {

// Runs one step of a script: "type:TEXT", "clear", "browse:PATH", "open:PATH", "cancel", "scan".
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
    } else if (step.startsWith(QLatin1String("open:"))) {
        fake.fileAnswers << step.mid(5);
        find<QAction>(&window, "mnuOpen")->trigger();
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
    void pathRules_data()
    {
        testdata::addRows("app/path-rules.rows",
                          {"script", "path", "scan", "exportable", "progress", "dialogs"});
    }

    void pathRules()
    {
        QFETCH(QString, script);
        QFETCH(QString, path);
        QFETCH(QString, scan);
        QFETCH(QString, exportable);
        QFETCH(QString, progress);
        QFETCH(QString, dialogs);
        const QStringList steps = script.isEmpty() ? QStringList() : script.split(" | ");
        const bool progressShown = !progress.isEmpty();

        FakePlatform fake;
        notes::MemoryClient client;
        app::FrmMain window;
        client.people = {person("1", "Ann", "Lee")}; // so that a scan completes
        window.setSessionFactory(client.factory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The path box holds the focus when the window appears.
        QCOMPARE(window.focusWidget(), find<QWidget>(&window, "txtNotesDatabaseFile"));
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
        QStringList starts;
        for (const auto &dialog : fake.fileDialogs) {
            QCOMPARE(dialog.filter,
                     QStringLiteral("Notes Address Book (*.nsf);;DXL export (*.dxl *.xml)"));
            starts << (dialog.start.isEmpty() ? QStringLiteral("-") : dialog.start);
        }
        if (!dialogs.isEmpty())
            QCOMPARE(starts.join(QLatin1String(" | ")), dialogs);
    }

    // The footer and the menus: the web site both ways, the help's contents, About over the
    // window, and Exit.
    void linksAndMenus()
    {
        FakePlatform fake;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(find<QLabel>(&window, "LabelSiteFooter"), Qt::LeftButton);
        find<QAction>(&window, "mnuWebsite")->trigger();
        find<QAction>(&window, "mnuContents")->trigger();
        const QString site = QString::fromLatin1(product::kWebSite);
        QCOMPARE(fake.opened, (QStringList{site, site}));
        QCOMPARE(fake.helpFiles,
                 QStringList{support::helpContentsPath(QCoreApplication::applicationDirPath())});
        // About lives only while it is shown: look at it from inside its own event loop.
        QWidget *owner = nullptr;
        const auto answered = answerModal<support::DocAbout>(
            &window, [&](support::DocAbout *about) { owner = about->parentWidget(); });
        find<QAction>(&window, "mnuAbout")->trigger();
        QVERIFY(*answered);
        QCOMPARE(owner, &window);
        find<QAction>(&window, "mnuExit")->trigger();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
