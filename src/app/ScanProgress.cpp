// Tree and progress bar updates of the scan.
#include "ScanProgress.h"

#include "ContactTree.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace {

// Often enough that the bar moves smoothly, rarely enough that painting costs little.
constexpr qint64 kPaintIntervalMs = 80;

int barValue(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

ScanProgress::ScanProgress(ContactTree &tree, QProgressBar &bar, std::int64_t &scanCounter,
                           std::int64_t &entryCount)
    : m_tree(tree), m_bar(bar), m_scanCounter(scanCounter), m_entryCount(entryCount)
{
    m_tree.setUpdatesEnabled(false);
    m_sincePaint.start();
}

ScanProgress::~ScanProgress()
{
    m_tree.setUpdatesEnabled(true);
}

void ScanProgress::scanStarted(std::int64_t entryCount)
{
    m_entryCount = entryCount;
    m_scanCounter = 1;
    // A range of 0 to 0 would turn the bar into a busy indicator.
    m_bar.setRange(0, std::max(1, barValue(entryCount)));
}

void ScanProgress::addContact(const notes::ScannedContact &contact)
{
    QTreeWidgetItem *node = m_tree.addContact(QString::fromStdString(contact.key),
                                              QString::fromStdString(contact.groupKey),
                                              QString::fromStdString(contact.displayName),
                                              QString::fromStdString(contact.record.encode()));
    if (node)
        node->setExpanded(true);
    else
        ++m_refused;
}

void ScanProgress::progress(std::int64_t scanCounter)
{
    m_scanCounter = scanCounter;
    m_bar.setValue(barValue(scanCounter));
    paintSoon();
}

void ScanProgress::paintSoon()
{
    if (m_sincePaint.elapsed() >= kPaintIntervalMs)
        paintNow();
}

void ScanProgress::paintNow()
{
    m_tree.setUpdatesEnabled(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_tree.setUpdatesEnabled(false);
    m_sincePaint.restart();
}
