// Recording and scripted answers of FakePlatform. It installs itself for its lifetime.
#include "FakePlatform.h"

#include <QFile>

FakePlatform::FakePlatform() : m_previous(setPlatform(this))
{
}

FakePlatform::~FakePlatform()
{
    setPlatform(m_previous);
}

void FakePlatform::information(QWidget *, const QString &title, const QString &text)
{
    messages.append({title, text});
}

QString FakePlatform::openFileName(QWidget *, const QString &filter, const QString &start)
{
    fileDialogs.append({filter, start});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString FakePlatform::chooseFolder(QWidget *, const QString &)
{
    return QString();
}

void FakePlatform::openInShell(const QString &)
{
}

void FakePlatform::showHelp(QWidget *, const QString &)
{
}

bool FakePlatform::copyFile(const QString &from, const QString &to, QString *error)
{
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
