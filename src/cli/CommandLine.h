// The command line: "export" and "list" run the export and the scan walks without a window and
// without a display, for scripts and for servers; "--help" and "--version" say how. Exit status:
// 0 when every document was written, 1 when some were skipped, 2 when the book cannot be opened or
// the output cannot be written, 64 for a usage error.
#pragma once

#include "Console.h"
#include "SessionFactory.h"

#include <QStringList>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitSkipped = 1;
inline constexpr int kExitFailed = 2;
inline constexpr int kExitUsage = 64;

// Whether the program's first argument asks for the command line rather than the window: a
// command or an option. No arguments, or a book path alone, start the window.
bool wantsCommandLine(const QString &firstArgument);

// A book named on the command line as the walks want it: an absolute path in the system's own
// form, as the Notes client reads a relative one from its data folder, not the current one.
QString bookPath(const QString &argument);

// Runs the command in `arguments` (argv[0] first) against the book through `factory`.
int run(const QStringList &arguments, const notes::SessionFactory &factory, const Console &console);

// main()'s way in: sets up a QCoreApplication and the process's streams, then run().
int commandLineMain(int argc, char *argv[]);

} // namespace cli
