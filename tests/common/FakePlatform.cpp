// SPDX-License-Identifier: GPL-3.0-or-later
// Recording and scripted answers of FakePlatform (see FakePlatform.h).
#include "FakePlatform.h"

#include <QFile>

void FakePlatform::information(QWidget *, const QString &title, const QString &text)
{
    calls << QStringLiteral("information");
    messages.append({title, text});
}

QString FakePlatform::openFileName(QWidget *, const QString &filter, const QString &start)
{
    calls << QStringLiteral("openFileName");
    fileDialogs.append({filter, start});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString FakePlatform::chooseFolder(QWidget *, const QString &title)
{
    calls << QStringLiteral("chooseFolder");
    folderTitles << title;
    return folderAnswer;
}

void FakePlatform::openInShell(const QString &target)
{
    calls << QStringLiteral("openInShell");
    opened << target;
}

void FakePlatform::showHelp(QWidget *, const QString &helpFile)
{
    calls << QStringLiteral("showHelp");
    helpFiles << helpFile;
}

bool FakePlatform::copyFile(const QString &from, const QString &to, QString *error)
{
    calls << QStringLiteral("copyFile");
    copies.append({from, to});
    if (!realCopy)
        return copyResult;
    QFile::remove(to);
    if (QFile::copy(from, to))
        return true;
    if (error)
        *error = QStringLiteral("copy failed");
    return false;
}
