// SPDX-License-Identifier: GPL-3.0-or-later
// The details pane's tab strip: the style's own tabs with narrower side margins, as snug as the
// classic tab strip's, so the five captions fit across the pane with fonts wider than the
// Windows ones.
#pragma once

#include <QTabBar>

namespace browser {

class TabStrip final : public QTabBar {
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);
};

} // namespace browser
