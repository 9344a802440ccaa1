// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer of the Windows program, for real: Help, "Contents" hands Help.chm to HtmlHelpA
// of "HHCtrl.ocx", which opens the HTML Help window titled as the help project says. Built with
// the whole Windows program and run under wine beside the Help.chm of the build. HtmlHelpA
// creates its window before it returns, so the window is looked for right after the call.
#include "platform/SystemPlatform.h"
#include "support/HelpContents.h"

#include "Find.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>

#include <windows.h>

namespace {

// The viewer's window, by the title Help.hhp gives it.
HWND viewerWindow()
{
    return FindWindowW(nullptr, L"Korvanta Tessal Help");
}

} // namespace

class TstHelpViewer final : public QObject {
    Q_OBJECT

private slots:
    void contentsOpenTheViewer()
    {
        const QString chm = support::helpContentsPath(QCoreApplication::applicationDirPath());
        QVERIFY2(QFileInfo(chm).isFile(), qPrintable(chm + QStringLiteral(" is not built")));
        HMODULE module = LoadLibraryA("HHCtrl.ocx");
        if (!module || !GetProcAddress(module, "HtmlHelpA"))
            QSKIP("This system has no HTML Help (HtmlHelpA in HHCtrl.ocx): nothing can show "
                  "Help.chm");
        QVERIFY(!viewerWindow());

        platform::SystemPlatform system;
        system.showHelp(nullptr, chm);
        HWND viewer = viewerWindow();
        QVERIFY2(viewer, "HtmlHelpA opened no window titled \"Korvanta Tessal Help\"");
        QVERIFY(IsWindowVisible(viewer));
        DestroyWindow(viewer);
        QVERIFY(!viewerWindow());
    }

    // A help file the viewer cannot show is reported, not passed over in silence.
    void unreadableHelpIsReported()
    {
        const QString missing =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("NoSuchHelp.chm"));
        QString shown;
        answerModal<QMessageBox>(this, [&shown](QMessageBox *box) { shown = box->text(); });
        platform::SystemPlatform system;
        system.showHelp(nullptr, missing);
        QVERIFY2(shown.startsWith(QStringLiteral("The help %1 cannot be shown.\n")
                                      .arg(QDir::toNativeSeparators(missing))),
                 qPrintable(shown));
        QVERIFY(!viewerWindow());
    }
};

QTEST_MAIN(TstHelpViewer)
#include "tst_helpviewer.moc"
