// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line does when it is interrupted (Ctrl-C, SIGINT, SIGTERM, a hangup; on
// Windows Ctrl-C, Ctrl-Break or the console closing): it removes every half-written output the
// export's writers have registered with PendingOutputs, wipes the progress line, says
// "korvanta-tessal: interrupted" and ends with status 130, so that an interrupted export leaves
// the output folder as it was. Only the command line watches; the window is not affected.
#pragma once

namespace cli {

// Starts watching. On POSIX systems it must run before any other thread exists: the signals are
// blocked in this thread, every thread started later inherits that, and one thread of its own
// waits for them.
void watchInterrupts();

} // namespace cli
