// SPDX-License-Identifier: GPL-3.0-or-later
// Help, "Contents": the program's help lies beside its executable, as the compiled "Help.chm" on
// Windows and as HTML pages (help/index.html) elsewhere, and is shown by the system's viewer.
#pragma once

#include <QString>

class QWidget;

namespace support {

// The help file for an executable in `executableDir`.
QString helpContentsPath(const QString &executableDir);

// Shows the help beside the running executable; reports nothing when it is missing.
void showHelpContents(QWidget *mainWindow);

// Shows the help that lies in `executableDir`. On Windows, when Help.chm is missing there but
// the HTML pages are, the pages open in the browser instead.
void showHelpContentsIn(QWidget *mainWindow, const QString &executableDir);

} // namespace support
