// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser of the export: the system's folder dialog with a title, file-system folders
// only. Through the platform seam, so tests answer it without a dialog.
#pragma once

#include <QString>

class QWidget;

namespace app {

// The chosen folder's full path, or "" when the user cancelled or the dialog failed.
QString ChooseFolder(QWidget *owner, const QString &title);

} // namespace app
