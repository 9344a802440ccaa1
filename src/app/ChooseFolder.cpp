// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser (see ChooseFolder.h).
#include "app/ChooseFolder.h"

#include "platform/Platform.h"

QString ChooseFolder(QWidget *owner, const QString &title)
{
    // The seam already answers "" for a cancel and for an item without a file-system path.
    return platform().chooseFolder(owner, title);
}
