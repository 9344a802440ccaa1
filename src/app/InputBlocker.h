// Keeps the user's hands off the program while a long handler runs: every keyboard, mouse, wheel
// and touch event is swallowed for as long as the blocker lives. The handler still lets the
// window paint, so the window looks alive but takes no input, and no second click can start
// the same work again.
#pragma once

#include <QObject>

class InputBlocker final : public QObject {
    Q_OBJECT

public:
    InputBlocker();
    ~InputBlocker() override;
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

    // Delivers everything queued so far, swallowing the input that came in meanwhile, so none
    // of it reaches the window (or a message box) once the blocker is gone.
    void discardPendingInput();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
