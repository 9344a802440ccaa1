// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the window's controls by their object names, failing loudly when one is missing so
// a renamed control shows up as such and not as a crash further on; and answering modal windows.
#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTest>
#include <QTimer>

#include <memory>

template <class T> T *find(QObject *parent, const char *name)
{
    T *child = parent->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control named %s", name);
    return child;
}

// Answers the next modal window of type T from inside its own event loop, as a user would: once
// it shows, `answer` gets it, and then it is closed. The flag says afterwards whether one came.
template <class T, class F> std::shared_ptr<bool> answerModal(QObject *context, F answer)
{
    auto answered = std::make_shared<bool>(false);
    QTimer::singleShot(0, context, [answered, answer] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            *answered = true;
            answer(window);
            window->close();
        }
    });
    return answered;
}
