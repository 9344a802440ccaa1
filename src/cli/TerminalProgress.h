// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's progress line on standard error: "Reading names.dxl..." while the book is
// opened, then a bar redrawn in place while a walk goes through it, wiped when it is done so that
// the messages after it start on a clean line. It fits the terminal's width and draws only on a
// terminal, so that a script's log stays free of it.
#pragma once

#include "cli/Console.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace cli {

class TerminalProgress final {
public:
    explicit TerminalProgress(const Console &console);

    // Before the walk has opened and counted the book, which can take a while for a large one.
    void reading(const QString &book);
    void started(std::int64_t entryCount);
    void progress(std::int64_t documentNumber);
    // Wipes the line, so that the messages after it start on a clean line.
    void finish();

    // For a process that is about to end on an interrupt, from any thread: no line is drawn
    // again, and the bytes returned wipe the one on the terminal (none when nothing is drawn).
    static QByteArray stopAndWipe();

private:
    void draw(std::int64_t documentNumber);
    void show(const QByteArray &line);

    QIODevice *m_err = nullptr;
    bool m_enabled = false;
    // The most a line may take: one less than the terminal's columns, as a line that reaches
    // the last column moves some terminals (the Windows console) on to the next line.
    int m_width = 79;
    qsizetype m_shown = 0;
    std::int64_t m_count = 0;
    int m_lastPermille = -1;
};

} // namespace cli
