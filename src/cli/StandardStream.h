// SPDX-License-Identifier: GPL-3.0-or-later
// Standard output or standard error as the command line writes to them: straight to the file
// descriptor, so that every failed write is seen and its cause (errno) kept. A full disk, a
// closed pipe or a broken terminal would otherwise pass unnoticed through a buffer that is
// flushed after the program has already said it succeeded.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace cli {

class StandardStream final : public QIODevice {
public:
    // `fd` 1 or 2. A buffered stream holds what is written until flush() or until enough has
    // gathered; an unbuffered one writes at once (messages, progress, a terminal).
    StandardStream(int fd, bool buffered);
    ~StandardStream() override;

    // Writes what is held back; false once any write has failed.
    bool flush();
    // The errno of the first failed write, 0 while every write went through whole.
    int failure() const { return m_failure; }
    // The system's words for failure().
    QString failureText() const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool writeOut(const char *data, qint64 size);

    int m_fd;
    bool m_buffered;
    QByteArray m_held;
    int m_failure = 0;
};

} // namespace cli
