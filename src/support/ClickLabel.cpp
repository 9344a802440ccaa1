// SPDX-License-Identifier: GPL-3.0-or-later
// Click reporting of ClickLabel.
#include "support/ClickLabel.h"

#include <QMouseEvent>

namespace support {

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    // Only a release over the label counts, so dragging off it cancels the click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace support
