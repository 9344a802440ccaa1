// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the window's controls by their object names, failing loudly when one is missing so
// a renamed control shows up as such and not as a crash further on.
#pragma once

#include <QObject>
#include <QString>
#include <QTest>

template <class T> T *find(QObject *parent, const char *name)
{
    T *child = parent->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control named %s", name);
    return child;
}
