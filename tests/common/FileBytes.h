// SPDX-License-Identifier: GPL-3.0-or-later
// A file's bytes for the tests that compare what was written: "<missing>" stands for a file that
// cannot be read, so a comparison with real content fails rather than passing on two empties.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// True when every byte went in.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
