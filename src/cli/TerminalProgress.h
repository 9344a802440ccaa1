// The command line's progress bar: one line on standard error, redrawn in place while a walk goes
// through the book, and wiped when it is done. It draws only on a terminal, so that a script's
// log stays free of it.
#pragma once

#include "Console.h"

#include <cstdint>

class TerminalProgress final {
public:
    explicit TerminalProgress(const Console &console);

    void started(std::int64_t entryCount);
    void progress(std::int64_t documentNumber);
    // Wipes the bar, so that the messages after it start on a clean line.
    void finish();

private:
    void draw(std::int64_t documentNumber);

    QIODevice *m_err = nullptr;
    bool m_enabled = false;
    bool m_drawn = false;
    std::int64_t m_count = 0;
    int m_lastPermille = -1;
};
