// SPDX-License-Identifier: GPL-3.0-or-later
// The system's Platform: Qt's portable dialogs and desktop services, with the Windows help
// viewer on Windows.
#pragma once

#include "platform/Platform.h"

namespace platform {

class SystemPlatform final : public Platform {
public:
    void information(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &start) override;
    QString chooseFolder(QWidget *parent, const QString &title) override;
    void openInShell(const QString &target) override;
    void showHelp(QWidget *parent, const QString &helpFile) override;
    bool copyFile(const QString &from, const QString &to, QString *error) override;
};

} // namespace platform
