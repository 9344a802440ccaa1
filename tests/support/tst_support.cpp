// SPDX-License-Identifier: GPL-3.0-or-later
// The support windows and commands: the About window closes by "OK" and the close box but not by
// Esc, the help command names a page that exists in the build, and the launcher ignores an empty
// target.
#include "FakePlatform.h"
#include "support/DocAbout.h"
#include "support/HelpContents.h"
#include "support/OpenInShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestSupport final : public QObject {
    Q_OBJECT

private slots:
    void aboutKeys_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Esc") << QStringLiteral("esc") << false;
        QTest::newRow("OK clicked") << QStringLiteral("ok") << true;
        QTest::newRow("Space on OK") << QStringLiteral("space") << true;
        QTest::newRow("Enter on OK") << QStringLiteral("enter") << true;
        QTest::newRow("close box") << QStringLiteral("close") << true;
    }

    void aboutKeys()
    {
        QFETCH(QString, action);
        QFETCH(bool, closes);

        support::DocAbout about(nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto *ok = about.findChild<QPushButton *>(QStringLiteral("CmdOK"));
        QVERIFY(ok);
        QCOMPARE(about.focusWidget(), ok);

        if (action == QLatin1String("esc"))
            QTest::keyClick(&about, Qt::Key_Escape);
        else if (action == QLatin1String("ok"))
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (action == QLatin1String("space"))
            QTest::keyClick(ok, Qt::Key_Space);
        else if (action == QLatin1String("enter"))
            QTest::keyClick(ok, Qt::Key_Return);
        else
            about.close();
        QCOMPARE(about.isVisible(), !closes);
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

    // Which help a folder's contents lead to: the compiled help in the viewer on Windows, the
    // pages elsewhere; on Windows the pages in the browser when Help.chm is missing.
    void helpContentsBeside_data()
    {
        QTest::addColumn<bool>("chm");
        QTest::addColumn<bool>("pages");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("target");
#ifdef Q_OS_WIN
        QTest::newRow("compiled help and pages") << true << true << "showHelp"
                                                 << "Help.chm";
        QTest::newRow("compiled help only") << true << false << "showHelp"
                                            << "Help.chm";
        QTest::newRow("pages only") << false << true << "openInShell"
                                    << "help/index.html";
        // Nothing to show: the viewer is asked all the same and says so itself.
        QTest::newRow("neither") << false << false << "showHelp"
                                 << "Help.chm";
#else
        QTest::newRow("pages") << false << true << "showHelp"
                               << "help/index.html";
        QTest::newRow("a compiled help is not used") << true << true << "showHelp"
                                                     << "help/index.html";
#endif
    }

    void helpContentsBeside()
    {
        QFETCH(bool, chm);
        QFETCH(bool, pages);
        QFETCH(QString, call);
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QDir folder(dir.path());
        if (chm) {
            QFile file(folder.filePath(QStringLiteral("Help.chm")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (pages) {
            QVERIFY(folder.mkpath(QStringLiteral("help")));
            QFile file(folder.filePath(QStringLiteral("help/index.html")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        FakePlatform fake;
        support::showHelpContentsIn(nullptr, dir.path());
        QCOMPARE(fake.calls, QStringList{call});
        const QString expected = QDir::toNativeSeparators(folder.filePath(target));
        QCOMPARE(call == QLatin1String("showHelp") ? fake.helpFiles : fake.opened,
                 QStringList{expected});
    }

    void launcher_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("file") << QStringLiteral("/data/OE-Contacts.csv")
                              << QStringList{QStringLiteral("/data/OE-Contacts.csv")};
        QTest::newRow("blank is a target")
            << QStringLiteral(" ") << QStringList{QStringLiteral(" ")};
    }

    void launcher()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, opened);
        FakePlatform fake;
        support::OpenInShell(target);
        QCOMPARE(fake.opened, opened);
    }
};

QTEST_MAIN(TestSupport)
#include "tst_support.moc"
