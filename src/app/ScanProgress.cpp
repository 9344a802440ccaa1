// SPDX-License-Identifier: GPL-3.0-or-later
// Store, tree and progress bar updates of the scan.
#include "app/ScanProgress.h"

#include "app/WalkRunner.h"
#include "browser/ContactTree.h"
#include "notes/ContactStore.h"

#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace app {

namespace {

int barValue(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

ScanProgress::ScanProgress(notes::ContactStore &store, browser::ContactTree &tree,
                           QProgressBar &bar, WalkRunner &runner)
    : m_store(store), m_tree(tree), m_bar(bar), m_runner(runner)
{
}

void ScanProgress::scanStarted(std::int64_t entryCount)
{
    // A range of 0 to 0 would turn the bar into a busy indicator.
    m_bar.setRange(0, std::max(1, barValue(entryCount)));
    m_runner.paint();
}

void ScanProgress::addContact(const notes::ScannedContact &contact)
{
    QTreeWidgetItem *node = m_tree.addContact(QString::fromStdString(contact.key),
                                              QString::fromStdString(contact.groupKey),
                                              QString::fromStdString(contact.displayName));
    if (!node) {
        ++m_refused;
        return;
    }
    // The node is not marked open: a contact has no children, so that shows nothing, and the
    // view would keep a persistent index for every open node (a hundred bytes a contact).
    m_store.put(contact.key, contact.record);
}

void ScanProgress::progress(std::int64_t scanCounter)
{
    m_bar.setValue(barValue(scanCounter));
    m_runner.tick();
}

} // namespace app
