// SPDX-License-Identifier: GPL-3.0-or-later
// The look shared by the windows: the layout unit (twips, 15 to a pixel at 96 dpi), the fonts
// with the faces that stand in where Tahoma, Verdana or Trebuchet MS are missing, and colours
// given as OLE values (&H00BBGGRR&, low byte red).
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

namespace support {

namespace look {

inline constexpr int kTwipsPerPixel = 15;

// The window background (&H00E0EEEE&).
inline constexpr unsigned kWindowColour = 0xE0EEEE;
// Dark blue text (&H00800000&).
inline constexpr unsigned kNavy = 0x800000;

constexpr int px(int twips)
{
    return twips / kTwipsPerPixel;
}

QRect twips(int left, int top, int width, int height);
QColor ole(unsigned bgr);

QFont tahoma(bool bold = false);
QFont verdana(qreal pointSize, bool bold);
QFont trebuchet(qreal pointSize, bool bold);

} // namespace look

} // namespace support
