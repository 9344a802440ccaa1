// SPDX-License-Identifier: GPL-3.0-or-later
// Help, "Contents" (see HelpContents.h).
#include "support/HelpContents.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace support {

QString helpContentsPath(const QString &executableDir)
{
#ifdef Q_OS_WIN
    const QString file = QStringLiteral("Help.chm");
#else
    const QString file = QStringLiteral("help/index.html");
#endif
    QString dir = QDir::fromNativeSeparators(executableDir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return QDir::toNativeSeparators(dir + file);
}

void showHelpContents(QWidget *mainWindow)
{
    showHelpContentsIn(mainWindow, QCoreApplication::applicationDirPath());
}

void showHelpContentsIn(QWidget *mainWindow, const QString &exeDir)
{
    const QString help = helpContentsPath(exeDir);
#ifdef Q_OS_WIN
    // A build without the compiled help still has its pages beside the program: show those in
    // the browser rather than nothing.
    const QString pages = QDir(exeDir).filePath(QStringLiteral("help/index.html"));
    if (!QFileInfo::exists(help) && QFileInfo::exists(pages)) {
        platform::current().openInShell(QDir::toNativeSeparators(pages));
        return;
    }
#endif
    platform::current().showHelp(mainWindow, help);
}

} // namespace support
