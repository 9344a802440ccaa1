// SPDX-License-Identifier: GPL-3.0-or-later
// Enter on a focused push button presses it, as Space does and as Windows' own buttons behave.
// Qt presses a button on Enter only when it is a dialog's default, and the program's windows
// keep no default button (Enter in the export window's field list must not start an export).
#pragma once

class QWidget;

namespace support {

// Makes Enter and Return press whichever push button of `window` has the focus.
void pressButtonsOnEnter(QWidget *window);

} // namespace support
