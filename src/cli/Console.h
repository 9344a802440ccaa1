// SPDX-License-Identifier: GPL-3.0-or-later
// Where a command of the command line writes: its output (standard output), its messages and
// progress (standard error), whether standard error is a terminal, which is when progress is
// drawn, and how wide that terminal is. The program hands in the process's streams; tests hand
// in buffers.
#pragma once

#include <QIODevice>
#include <QString>

namespace cli {

struct Console {
    QIODevice *out = nullptr;
    QIODevice *err = nullptr;
    bool errIsTerminal = false;
    int columns = 80;
};

// The name every message on standard error starts with.
inline const QString kProgram = QStringLiteral("korvanta-tessal");

// A message on standard error: "korvanta-tessal: " before its first line.
inline void printMessage(const Console &console, const QString &text)
{
    console.err->write((kProgram + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8());
}

} // namespace cli
