// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser (see ChooseFolder.h).
#include "app/ChooseFolder.h"

#include "platform/Platform.h"

namespace app {

QString ChooseFolder(QWidget *owner, const QString &title)
{
    // The seam already answers "" for a cancel and for an item without a file-system path.
    return platform::current().chooseFolder(owner, title);
}

} // namespace app
