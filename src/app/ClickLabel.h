// A label that reports a click, for the footer's web address: a plain label would need an
// event filter on the window to notice it.
#pragma once

#include <QLabel>

class ClickLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
