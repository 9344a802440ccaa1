// The application-wide input filter of InputBlocker.
#include "InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>

InputBlocker::InputBlocker()
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void InputBlocker::discardPendingInput()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->isInputEvent() || event->type() == QEvent::Shortcut)
        return true;
    return QObject::eventFilter(watched, event);
}
