// The recording Platform of the tests (see FakePlatform.h).
#include "FakePlatform.h"

FakePlatform::FakePlatform() : m_previous(setPlatform(this))
{
}

FakePlatform::~FakePlatform()
{
    setPlatform(m_previous);
}

void FakePlatform::information(QWidget *, const QString &title, const QString &text)
{
    calls << QStringLiteral("information");
    messages.append({title, text});
}

QString FakePlatform::openFileName(QWidget *, const QString &, const QString &)
{
    calls << QStringLiteral("openFileName");
    return {};
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

bool FakePlatform::copyFile(const QString &, const QString &, QString *)
{
    calls << QStringLiteral("copyFile");
    return false;
}
