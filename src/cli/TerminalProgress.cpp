// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's progress line (see TerminalProgress.h).
#include "cli/TerminalProgress.h"

#include <QFileInfo>
#include <QMutex>

#include <algorithm>

namespace cli {

namespace {

// A bar wider than this tells no more on a wide terminal; narrower than the least, it tells
// nothing, and the percentage goes alone.
constexpr int kMostBar = 50;
constexpr int kLeastBar = 10;

// One line on the terminal at a time: the walk draws it, and an interrupt wipes it from another
// thread, so drawing and wiping take turns, and the length drawn is known to both.
// (Qt's mutex: MinGW's standard library has none in the thread model the Windows build uses.)
QBasicMutex g_drawing;
qsizetype g_shownOnTerminal = 0;

QByteArray countText(std::int64_t reached, std::int64_t count)
{
    return QByteArray::number(reached) + '/' + QByteArray::number(count);
}

} // namespace

TerminalProgress::TerminalProgress(const Console &console)
    : m_err(console.err), m_enabled(console.errIsTerminal && console.err),
      m_width(std::max(console.columns - 1, 1))
{
}

void TerminalProgress::reading(const QString &book)
{
    if (!m_enabled)
        return;
    const QString name = QFileInfo(book).fileName();
    QString line = QStringLiteral("Reading %1...").arg(name);
    // A long name keeps its end, where names differ; a terminal too narrow for a part of it
    // gets none.
    constexpr int kLeastName = 8;
    if (line.size() > m_width)
        line = m_width - 14 >= kLeastName ? QStringLiteral("Reading ...") +
                                                name.right(m_width - 14) + QStringLiteral("...")
                                          : QStringLiteral("Reading...");
    show(line.left(m_width).toUtf8());
}

void TerminalProgress::started(std::int64_t entryCount)
{
    m_count = entryCount;
    m_lastPermille = -1;
    draw(0);
}

void TerminalProgress::progress(std::int64_t documentNumber)
{
    draw(documentNumber);
}

void TerminalProgress::draw(std::int64_t documentNumber)
{
    if (!m_enabled)
        return;
    // A book that grew since it was counted fills the bar, it does not overflow it.
    const std::int64_t count = m_count > documentNumber ? m_count : documentNumber;
    const int permille = count == 0 ? 1000 : static_cast<int>(documentNumber * 1000 / count);
    // Redrawn only when the bar changes: a terminal is slow next to the walk.
    if (permille == m_lastPermille)
        return;
    m_lastPermille = permille;
    const QByteArray percent = QByteArray::number(permille / 10).rightJustified(3) + '%';
    const QByteArray figures = percent + "  " + countText(documentNumber, count);
    // The bar's width is fixed for the whole walk: the figures at their longest decide it.
    const int longest = static_cast<int>(countText(count, count).size()) + 6;
    const int bar = std::min(kMostBar, m_width - longest - 3);
    QByteArray line;
    if (bar >= kLeastBar) {
        const int filled = permille * bar / 1000;
        line = '[' + QByteArray(filled, '#') + QByteArray(bar - filled, '.') + "] " + figures;
    } else {
        line = figures.size() <= m_width ? figures : percent.trimmed().left(m_width);
    }
    show(line);
}

void TerminalProgress::show(const QByteArray &line)
{
    const QMutexLocker drawing(&g_drawing);
    // Spaces cover what a longer line before left at the end.
    const qsizetype cover = std::max<qsizetype>(m_shown - line.size(), 0);
    m_err->write('\r' + line + QByteArray(cover, ' '));
    m_shown = line.size() + cover;
    g_shownOnTerminal = m_shown;
}

void TerminalProgress::finish()
{
    if (m_shown == 0)
        return;
    const QMutexLocker drawing(&g_drawing);
    m_err->write('\r' + QByteArray(m_shown, ' ') + '\r');
    m_shown = 0;
    g_shownOnTerminal = 0;
}

QByteArray TerminalProgress::stopAndWipe()
{
    // Never unlocked: the process ends before anything could be drawn again.
    g_drawing.lock();
    if (g_shownOnTerminal == 0)
        return {};
    return '\r' + QByteArray(g_shownOnTerminal, ' ') + '\r';
}

} // namespace cli
