// The main window's side of the scan: it puts each scanned contact into the tree and moves the
// progress bar. While the walk runs inside the button's handler it also lets the window paint
// now and then (not after every contact: a large book would spend its time repainting), but
// lets no user input through.
#pragma once

#include "KeepAlive.h"
#include "ScanWalk.h"

#include <QElapsedTimer>

#include <cstdint>

class ContactTree;
class QProgressBar;

class ScanProgress final : public notes::ScanSink {
public:
    ScanProgress(ContactTree &tree, QProgressBar &bar, std::int64_t &scanCounter,
                 std::int64_t &entryCount);
    ~ScanProgress() override;
    ScanProgress(const ScanProgress &) = delete;
    ScanProgress &operator=(const ScanProgress &) = delete;

    void scanStarted(std::int64_t entryCount) override;
    void addContact(const notes::ScannedContact &contact) override;
    void progress(std::int64_t scanCounter) override;

    // Contacts the tree refused (no group node for them).
    std::int64_t refused() const { return m_refused; }

private:
    void paintSoon();
    void paintNow();

    ContactTree &m_tree;
    QProgressBar &m_bar;
    std::int64_t &m_scanCounter;
    std::int64_t &m_entryCount;
    std::int64_t m_refused = 0;
    QElapsedTimer m_sincePaint;
    // Opening a big book takes seconds before the first contact: paint meanwhile too.
    notes::KeepAliveHook m_painting{[this] { paintSoon(); }};
};
