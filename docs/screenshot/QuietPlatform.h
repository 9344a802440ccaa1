// A platform that never waits for a user: messages are dropped and no file is copied, so the
// screenshot tool scans the sample book without leaving a backup beside it.
#pragma once

#include "Platform.h"

class QuietPlatform final : public Platform {
public:
    void information(QWidget *, const QString &, const QString &) override {}
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &) override { return {}; }
    void openInShell(const QString &) override {}
    void showHelp(QWidget *, const QString &) override {}
    bool copyFile(const QString &from, const QString &to, QString *error) override;
};
