// The program's pictures, drawn for it as SVG files and compiled in as Qt resources. They are
// rendered here rather than through the image plugins so a build without the SVG plugins still
// shows them.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace artwork {

inline constexpr const char *kAppIcon = ":/images/app-icon.svg";
inline constexpr const char *kLogo = ":/images/logo.svg";
inline constexpr const char *kBannerRule = ":/images/banner-rule.svg";
inline constexpr const char *kTreeRoot = ":/images/tree-root.svg";
inline constexpr const char *kTreeGroup = ":/images/tree-group.svg";
inline constexpr const char *kTreeContact = ":/images/tree-contact.svg";
inline constexpr const char *kContactCard = ":/images/contact-card.svg";

// The picture at `size` logical pixels, sharp on high-density screens. A null pixmap when the
// resource is missing.
QPixmap pixmap(const QString &resource, QSize size);
// An icon holding the picture at the sizes windows and trees ask for.
QIcon icon(const QString &resource);

} // namespace artwork
