// SPDX-License-Identifier: GPL-3.0-or-later
// Scaling of the raster artwork to the sizes the windows ask for.
#include "browser/Artwork.h"

#include <QGuiApplication>
#include <QImage>

namespace browser {

namespace artwork {

QPixmap pixmap(const QString &resource, QSize size)
{
    const QImage source(resource);
    if (source.isNull() || size.isEmpty())
        return QPixmap();
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // Smooth scaling from a picture drawn several times larger keeps thin lines sharp.
    QPixmap result = QPixmap::fromImage(
        source.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    result.setDevicePixelRatio(ratio);
    return result;
}

QIcon icon(const QString &resource)
{
    QIcon result;
    for (int side : {16, 24, 32, 48, 64})
        result.addPixmap(pixmap(resource, QSize(side, side)));
    return result;
}

} // namespace artwork

} // namespace browser
