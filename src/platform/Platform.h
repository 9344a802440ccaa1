// SPDX-License-Identifier: GPL-3.0-or-later
// The operating-system seams: everything modal or desktop-bound goes through one Platform
// object, so the windows never call a dialog, the shell or the help viewer directly. The program
// installs the system's implementation; tests install a fake that records calls and answers at
// once, so nothing in a test ever blocks on a real dialog.
#pragma once

#include <QString>

class QWidget;

namespace platform {

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box with the information icon and an OK button only.
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;

    // The open-file dialog. `filter` is in Qt's form ("Notes Address Book (*.nsf);;...");
    // `start` is the path the dialog opens on. Returns the chosen full path, or "" on cancel.
    virtual QString openFileName(QWidget *parent, const QString &filter, const QString &start) = 0;

    // The folder chooser: file-system folders only; the full path, or "" on cancel or failure.
    virtual QString chooseFolder(QWidget *parent, const QString &title) = 0;

    // Hands a path or web address to the desktop's "open" action; returns at once, reports
    // nothing.
    virtual void openInShell(const QString &target) = 0;

    // Shows the help: `helpFile` is the compiled help beside the program on Windows, the help's
    // start page elsewhere. On Windows a help file the viewer cannot show is reported.
    virtual void showHelp(QWidget *parent, const QString &helpFile) = 0;

    // Copies a file, replacing the target. Returns false with a reason on failure.
    virtual bool copyFile(const QString &from, const QString &to, QString *error) = 0;
};

// The platform in use. Defaults to the system's implementation.
Platform &current();

// Installs another platform (tests); nullptr restores the system's. Returns the previous one.
Platform *setPlatform(Platform *replacement);

} // namespace platform
