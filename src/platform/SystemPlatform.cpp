// SPDX-License-Identifier: GPL-3.0-or-later
// The system's Platform through Qt's portable calls. On Windows these call the same shell
// functions underneath (the common file dialog, the shell folder browser, ShellExecute); only
// the help viewer has a Windows implementation of its own (SystemPlatformWin.cpp).
#include "platform/SystemPlatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace platform {

namespace {
Platform *g_override = nullptr;
}

Platform &current()
{
    static SystemPlatform system;
    return g_override ? *g_override : system;
}

Platform *setPlatform(Platform *replacement)
{
    Platform *previous = g_override;
    g_override = replacement;
    return previous;
}

void SystemPlatform::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

QString SystemPlatform::openFileName(QWidget *parent, const QString &filter, const QString &start)
{
    // In the system's own form (backslashes on Windows), as the path box and messages show it.
    return QDir::toNativeSeparators(QFileDialog::getOpenFileName(parent, QString(), start, filter));
}

QString SystemPlatform::chooseFolder(QWidget *parent, const QString &title)
{
    return QDir::toNativeSeparators(
        QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly));
}

void SystemPlatform::openInShell(const QString &target)
{
    if (target.isEmpty())
        return;
    const QUrl url =
        target.contains(QLatin1String("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

#ifndef Q_OS_WIN
void SystemPlatform::showHelp(QWidget *, const QString &helpFile)
{
    openInShell(helpFile);
}
#endif

bool SystemPlatform::copyFile(const QString &from, const QString &to, QString *error)
{
    if (QFile::exists(to) && !QFile::remove(to)) {
        if (error)
            *error = QObject::tr("The old copy %1 cannot be replaced.").arg(to);
        return false;
    }
    QFile source(from);
    if (!source.copy(to)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    // A copy cut short (a full disk, a quota) can still be reported as done: only a copy as long
    // as its source counts, and a shorter one is not left behind to pass for a backup.
    const qint64 copied = QFileInfo(to).size();
    if (copied != source.size()) {
        QFile::remove(to);
        if (error)
            *error = QObject::tr("Only %1 of %2 bytes could be copied to %3.")
                         .arg(copied)
                         .arg(source.size())
                         .arg(to);
        return false;
    }
    return true;
}

} // namespace platform
