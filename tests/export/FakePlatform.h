// A Platform for the tests: records every call and answers at once, so no test ever waits on a
// real dialog, browser or help viewer.
#pragma once

#include "Platform.h"

#include <QList>
#include <QString>
#include <QStringList>

class FakePlatform final : public Platform {
public:
    struct Message {
        QString title;
        QString text;
    };

    FakePlatform();
    ~FakePlatform() override;

    // The folder the next chooseFolder() answers ("" is a cancel).
    QString folderAnswer;

    QList<Message> messages;
    QStringList folderTitles;
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
    Platform *m_previous = nullptr;
};
