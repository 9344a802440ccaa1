// SPDX-License-Identifier: GPL-3.0-or-later
// The support windows and commands: the About window closes by "OK" and the close box but not by
// Esc, the help command names a page that exists in the build (or on Windows, what the folder
// holds), and the launcher ignores an empty target.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "support/DocAbout.h"
#include "support/HelpContents.h"
#include "support/OpenInShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestSupport final : public QObject {
    Q_OBJECT

private slots:
    // The About window closes by "OK" (clicked, or Space or Enter on it) and the close box, but
    // not by Esc.
    void aboutCloses_data() { testdata::addRows("support/about-closes.rows", {"key", "closes"}); }

    void aboutCloses()
    {
        const auto [key, closes] = testdata::cells("key", "closes");
        support::DocAbout about(nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto *ok = about.findChild<QPushButton *>(QStringLiteral("CmdOK"));
        QCOMPARE(about.focusWidget(), ok);
        if (key == QLatin1String("click"))
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (key == QLatin1String("close box"))
            about.close();
        else
            QTest::keyClick(ok, QKeySequence(key)[0].key());
        QCOMPARE(about.isVisible(), closes.isEmpty());
    }

    void helpContents()
    {
        FakePlatform fake;
        support::showHelpContents(nullptr);
        QCOMPARE(fake.helpFiles.size(), 1);
        // This test runs from the build's bin folder, beside the help pages (and on Windows the
        // compiled help) that the build puts there.
        QVERIFY2(QFileInfo(fake.helpFiles[0]).isFile(), qPrintable(fake.helpFiles[0]));
        QVERIFY(fake.helpFiles[0].startsWith(
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    }

    // Which help a folder's contents lead to on Windows: the compiled help in the viewer, else
    // the pages in the browser; with neither, the viewer is asked all the same and says so itself.
    void helpContentsBeside_data()
    {
        testdata::addRows("support/help-beside.rows", {"chm", "pages", "call", "target"});
    }
    void helpContentsBeside()
    {
#ifndef Q_OS_WIN
        QSKIP("elsewhere the pages are the help, whatever the folder holds (see helpContents)");
#endif
        const auto [chm, pages, call, target] = testdata::cells("chm", "pages", "call", "target");
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(chm.isEmpty() || writeBytes(folder.filePath(QStringLiteral("Help.chm")), {}));
        QVERIFY(pages.isEmpty() ||
                (folder.mkpath(QStringLiteral("help")) &&
                 writeBytes(folder.filePath(QStringLiteral("help/index.html")), {})));
        FakePlatform fake;
        support::showHelpContentsIn(nullptr, dir.path());
        QCOMPARE(fake.calls, QStringList{call});
        QCOMPARE(call == QLatin1String("showHelp") ? fake.helpFiles : fake.opened,
                 QStringList{QDir::toNativeSeparators(folder.filePath(target))});
    }

    // The launcher ignores an empty target; a blank one is a target all the same.
    void launcherIgnoresEmptyTarget()
    {
        FakePlatform fake;
        support::OpenInShell(QString());
        support::OpenInShell(QStringLiteral(" "));
        QCOMPARE(fake.opened, QStringList{QStringLiteral(" ")});
    }
};

QTEST_MAIN(TestSupport)
#include "tst_support.moc"
