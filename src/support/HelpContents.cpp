// Help, "Contents" (see HelpContents.h).
#include "HelpContents.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QDir>

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
    platform().showHelp(mainWindow, helpContentsPath(QCoreApplication::applicationDirPath()));
}
