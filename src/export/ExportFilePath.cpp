// The export's file path (see ExportFilePath.h).
#include "ExportFilePath.h"

#include <QDir>

QString ExportFilePath;

QString exportFileIn(const QString &folder)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    path += QStringLiteral("OE-Contacts.csv");
    return path;
}
