// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: "export" and "list" run the export and the scan walks without a window and
// without a display, for scripts and for servers; "--help" and "--version" say how. Every message
// on standard error starts with "korvanta-tessal: "; ExitStatus.h holds the exit statuses.
#pragma once

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "notes/SessionFactory.h"
#include "notes/sessions/DefaultSessionFactory.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace cli {

enum class Start {
    Window,      // no arguments, or one address book: the window with it in the path box
    CommandLine, // a command, an option, or a mistake that the command line explains
    NoDisplay,   // the window, where there is no display to show it on
};

// What the program's arguments (without the program's name) ask for. A lone argument starts the
// window when it names an existing file or plainly a book (a folder in it, or the extension
// .nsf, .dxl or .xml); any other word is taken for a command, so that a mistyped one is
// reported rather than opened as a book.
Start startOf(const QStringList &arguments, bool displayAvailable);

// Whether the window could be shown: on Linux and the like, only with a display named in the
// environment (or a platform chosen with QT_QPA_PLATFORM); Qt would abort without one.
bool displayAvailable();

// A book named on the command line as the walks want it: an absolute path in the system's own
// form, as the Notes client reads a relative one from its data folder, not the current one.
QString bookPath(const QString &argument);

// The sessions for the reader chosen with --reader.
using FactoryFor = std::function<notes::SessionFactory(notes::sessions::Reader)>;

// Runs the command in `arguments` (argv[0] first) against the book through the factory for the
// chosen reader; the second form uses `factory` whichever reader is chosen.
int run(const QStringList &arguments, const FactoryFor &factoryFor, const Console &console);
int run(const QStringList &arguments, const notes::SessionFactory &factory, const Console &console);

// main()'s way in, before any window exists: the exit status when the arguments are for the
// command line (or the window cannot be shown), nothing when the window is to start.
std::optional<int> runWithoutWindow(int argc, char *argv[]);

} // namespace cli
