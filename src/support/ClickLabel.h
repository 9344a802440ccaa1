// SPDX-License-Identifier: GPL-3.0-or-later
// A label that reports a left click, for the links of the windows (the footer's web address, the
// export window's "Open Exported Contacts File"): a plain label would need an event filter.
#pragma once

#include <QLabel>

namespace support {

class ClickLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace support
