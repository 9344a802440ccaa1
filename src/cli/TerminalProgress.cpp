// The command line's progress bar (see TerminalProgress.h).
#include "TerminalProgress.h"

#include <QByteArray>

namespace {

constexpr int kBarWidth = 30;
constexpr int kLineWidth = kBarWidth + 40;

} // namespace

TerminalProgress::TerminalProgress(const Console &console)
    : m_err(console.err), m_enabled(console.errIsTerminal && console.err)
{
}

void TerminalProgress::started(std::int64_t entryCount)
{
    m_count = entryCount;
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
    const int filled = permille * kBarWidth / 1000;
    QByteArray line = "\r[" + QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '.') + "] " +
                      QByteArray::number(permille / 10).rightJustified(3) + "%  " +
                      QByteArray::number(documentNumber) + '/' + QByteArray::number(count);
    m_err->write(line);
    m_drawn = true;
}

void TerminalProgress::finish()
{
    if (!m_drawn)
        return;
    m_err->write("\r" + QByteArray(kLineWidth, ' ') + '\r');
    m_drawn = false;
}
