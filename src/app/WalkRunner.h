// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a walk over an address book from a window's handler, on the window's own thread (the
// Notes client's COM objects belong to the thread that made them). For as long as it lives:
// every keyboard, mouse, wheel and touch event is discarded (not queued for later), the window
// shows the busy cursor, and the window repaints at most every 80 ms, also while the Notes client
// is busy before the first document (the client's keep-alive hook). When it goes, the input that
// came in meanwhile is thrown away, so no click made during the run lands after it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <memory>

class QWidget;

namespace notes {
class KeepAliveHook;
}

namespace app {

class WalkRunner final : public QObject {
    Q_OBJECT

public:
    // `frozen`, when given, repaints only when the runner paints: a tree that gains thousands of
    // rows would otherwise lay itself out after every one.
    explicit WalkRunner(QWidget *frozen = nullptr);
    ~WalkRunner() override;
    WalkRunner(const WalkRunner &) = delete;
    WalkRunner &operator=(const WalkRunner &) = delete;

    // Paints if the last paint is 80 ms old; call it after every step of the walk.
    void tick();
    // Paints now (a new range on a progress bar, say).
    void paint();

    // Whether a walk is running anywhere in the program: windows stay open while one runs.
    static bool running();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_frozen;
    QElapsedTimer m_sincePaint;
    std::unique_ptr<notes::KeepAliveHook> m_keepAlive;
};

} // namespace app
