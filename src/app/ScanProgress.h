// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the scan: each scanned contact goes into the window's store and its
// name into the tree, and the progress bar moves. The window runs the walk through a WalkRunner,
// which this sink lets paint after every document.
#pragma once

#include "notes/ScanWalk.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class QProgressBar;

namespace notes {
class ContactStore;
}

namespace browser {
class ContactTree;
}

namespace app {

class WalkRunner;

class ScanProgress final : public notes::ScanSink {
public:
    ScanProgress(notes::ContactStore &store, browser::ContactTree &tree, QProgressBar &bar,
                 WalkRunner &runner);

    void scanStarted(std::int64_t entryCount) override;
    void addContact(const notes::ScannedContact &contact) override;
    void progress(std::int64_t scanCounter) override;
    void addGroups(const std::vector<notes::GroupRecord> &groups) override;

    // Contacts the tree refused (no group node for them).
    std::int64_t refused() const { return m_refused; }

private:
    notes::ContactStore &m_store;
    browser::ContactTree &m_tree;
    QProgressBar &m_bar;
    WalkRunner &m_runner;
    std::int64_t m_refused = 0;
    // The contacts by the names the book's groups know them by (as notes::nameKey).
    std::unordered_map<std::string, std::string> m_keyOfName;
};

} // namespace app
