// SPDX-License-Identifier: GPL-3.0-or-later
// A Platform for the tests: it records every call and answers at once from a script, so no test
// ever waits on a real dialog, browser or help viewer, or touches the desktop. It installs
// itself for its lifetime.
#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class FakePlatform final : public platform::Platform {
public:
    struct Message {
        QString title;
        QString text;
    };
    struct FileDialog {
        QString filter;
        QString start;
    };

    FakePlatform() : m_previous(platform::setPlatform(this)) {}
    ~FakePlatform() override { platform::setPlatform(m_previous); }
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;

    // Answers of the open-file dialog, first call first; "" is a cancel. An empty queue
    // cancels.
    QStringList fileAnswers;
    // The folder every chooseFolder() answers ("" is a cancel).
    QString folderAnswer;
    // copyFile copies for real when true, else only records and answers copyResult.
    bool realCopy = false;
    bool copyResult = true;

    QList<Message> messages;
    QList<FileDialog> fileDialogs;
    QStringList folderTitles;
    QList<QPair<QString, QString>> copies;
    QStringList opened;
    QStringList helpFiles;
    // Calls in the order they came: "information", "chooseFolder", ...
    QStringList calls;

    void information(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &start) override;
    QString chooseFolder(QWidget *parent, const QString &title) override;
    void openInShell(const QString &target) override;
    void showHelp(QWidget *parent, const QString &helpFile) override;
    bool copyFile(const QString &from, const QString &to, QString *error) override;

private:
    platform::Platform *m_previous = nullptr;
};
