// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures, drawn for it as SVG files, rendered to large PNG images at build time
// (cmake/KtArtwork.cmake) and compiled in as Qt resources. Raster images need no Svg module, which
// the Qt of the Windows build lacks; they are scaled down here to the size a window asks for.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace browser {

namespace artwork {

inline constexpr const char *kAppIcon = ":/images/app-icon.png";
inline constexpr const char *kLogo = ":/images/logo.png";
inline constexpr const char *kBannerRule = ":/images/banner-rule.png";
inline constexpr const char *kTreeRoot = ":/images/tree-root.png";
inline constexpr const char *kTreeGroup = ":/images/tree-group.png";
inline constexpr const char *kTreeContact = ":/images/tree-contact.png";
inline constexpr const char *kContactCard = ":/images/contact-card.png";

// The picture at `size` logical pixels, sharp on high-density screens. A null pixmap when the
// resource is missing.
QPixmap pixmap(const QString &resource, QSize size);
// An icon holding the picture at the sizes windows and trees ask for.
QIcon icon(const QString &resource);

} // namespace artwork

} // namespace browser
