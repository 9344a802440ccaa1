// SPDX-License-Identifier: GPL-3.0-or-later
// Korvanta Tessal starts here: the application object and the main window. The program keeps no
// settings; an address book named on the command line is taken as if chosen with Browse (made
// absolute, as the Notes client would look for a relative one in its data folder), so a
// desktop shortcut or "Open with" can hand one in. A command or an option as the first argument
// ("export", "list", "--help") runs the command line instead, without a window or a display; the
// command line also says so, rather than letting Qt abort, when the window has no display.
#include "app/FrmMain.h"
#include "cli/CommandLine.h"
#include "product/Product.h"

#include <QApplication>
#include <QStringList>

#ifdef _WIN32
#include "notes/com/ComApartment.h"
#endif

int main(int argc, char *argv[])
{
#ifdef _WIN32
    // Every Notes call is made on this thread; the apartment outlives every Notes object.
    notes::com::ComApartment apartment;
#endif
    if (const std::optional<int> status = cli::runWithoutWindow(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvanta Tessal"));
    QApplication::setOrganizationName(QString::fromLatin1(product::kCompany));

    app::FrmMain window;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.applyFileChoice(cli::bookPath(arguments.at(1)));
    window.centreOnScreen();
    window.show();
    return app.exec();
}
