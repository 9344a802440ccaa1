// SPDX-License-Identifier: GPL-3.0-or-later
// A platform that never waits for a user, for the tools that run the windows unattended (the
// screenshot tool, the benchmarks): messages are dropped and no file is copied, so a scan leaves
// no backup beside the book.
#pragma once

#include "platform/Platform.h"

namespace platform {

class QuietPlatform final : public Platform {
public:
    void information(QWidget *, const QString &, const QString &) override {}
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &) override { return {}; }
    void openInShell(const QString &) override {}
    void showHelp(QWidget *, const QString &) override {}
    bool copyFile(const QString &, const QString &, QString *) override { return true; }
};

} // namespace platform
