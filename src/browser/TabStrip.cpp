// SPDX-License-Identifier: GPL-3.0-or-later
// The narrow tab margins of TabStrip, through a proxy of the application's style so the tabs
// keep the look of every other tab bar.
#include "browser/TabStrip.h"

#include <QProxyStyle>

namespace browser {

namespace {

class SnugTabStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 10;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    auto *snug = new SnugTabStyle;
    snug->setParent(this);
    setStyle(snug);
}

} // namespace browser
