// Korvanta Tessal starts here: the application object and the main window, nothing more. The
// program keeps no settings and takes no command line.
#include "FrmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvanta Tessal"));
    QApplication::setOrganizationName(QStringLiteral("Korvanta Software"));

    FrmMain window;
    window.centreOnScreen();
    window.show();
    return app.exec();
}
