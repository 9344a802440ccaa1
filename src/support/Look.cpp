// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts, colours and layout units shared by the windows.
#include "support/Look.h"

#include <QStringList>

namespace support {

namespace look {

namespace {

QFont face(const QStringList &families, qreal pointSize, bool bold)
{
    QFont font;
    // The first family present wins; the sans faces behind it keep the layout readable when the
    // Windows faces are missing.
    font.setFamilies(families + QStringList{QStringLiteral("Liberation Sans"),
                                            QStringLiteral("Arial"),
                                            QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QColor ole(unsigned bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QFont tahoma(bool bold)
{
    return face({QStringLiteral("Tahoma")}, 8.25, bold);
}

QFont verdana(qreal pointSize, bool bold)
{
    return face({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")}, pointSize, bold);
}

QFont trebuchet(qreal pointSize, bool bold)
{
    return face({QStringLiteral("Trebuchet MS")}, pointSize, bold);
}

} // namespace look

} // namespace support
