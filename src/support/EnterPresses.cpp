// SPDX-License-Identifier: GPL-3.0-or-later
// Enter on a focused push button (see EnterPresses.h).
#include "support/EnterPresses.h"

#include <QKeyEvent>
#include <QPushButton>

namespace support {

namespace {

class EnterPresses final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            modifiers != Qt::NoModifier || key->isAutoRepeat())
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        // Key events reach a button only while it has the keyboard focus.
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressButtonsOnEnter(QWidget *window)
{
    auto *filter = new EnterPresses(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(filter);
}

} // namespace support
