// SPDX-License-Identifier: GPL-3.0-or-later
// Input guard, busy cursor and paint throttle of a walk run from a window (see WalkRunner.h).
#include "app/WalkRunner.h"

#include "notes/KeepAlive.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace app {

namespace {

// Often enough that a progress bar moves smoothly, rarely enough that painting costs the walk
// little.
constexpr qint64 kPaintIntervalMs = 80;

int g_running = 0;

} // namespace

WalkRunner::WalkRunner(QWidget *frozen) : m_frozen(frozen)
{
    ++g_running;
    QCoreApplication::instance()->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_frozen)
        m_frozen->setUpdatesEnabled(false);
    m_keepAlive = std::make_unique<notes::KeepAliveHook>([this] { tick(); });
    m_sincePaint.start();
}

WalkRunner::~WalkRunner()
{
    m_keepAlive.reset();
    if (m_frozen)
        m_frozen->setUpdatesEnabled(true);
    // Deliver what is queued while the filter still stands: the input made during the run is
    // swallowed here rather than reaching the window (or its next message box) afterwards.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(this);
    --g_running;
}

void WalkRunner::tick()
{
    if (m_sincePaint.elapsed() >= kPaintIntervalMs)
        paint();
}

void WalkRunner::paint()
{
    if (m_frozen)
        m_frozen->setUpdatesEnabled(true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_frozen)
        m_frozen->setUpdatesEnabled(false);
    m_sincePaint.restart();
}

bool WalkRunner::running()
{
    return g_running > 0;
}

bool WalkRunner::eventFilter(QObject *watched, QEvent *event)
{
    if (event->isInputEvent() || event->type() == QEvent::Shortcut ||
        event->type() == QEvent::ShortcutOverride)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace app
