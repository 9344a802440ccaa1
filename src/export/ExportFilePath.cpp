// SPDX-License-Identifier: GPL-3.0-or-later
// The export's file path (see ExportFilePath.h).
#include "export/ExportFilePath.h"

#include <QDir>

namespace exporting {

QString ExportFilePath;

QString exportFileIn(const QString &folder, const QString &fileName)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    path += fileName;
    return path;
}

} // namespace exporting
