// Rendering of the SVG artwork.
#include "Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace artwork {

QPixmap pixmap(const QString &resource, QSize size)
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return QPixmap();
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap result(size * ratio);
    result.setDevicePixelRatio(ratio);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
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
