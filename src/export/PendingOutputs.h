// SPDX-License-Identifier: GPL-3.0-or-later
// Output that is not in place yet — the temporary file beside OE-Contacts.csv or Contacts.vcf, the
// hidden work folder of one file per contact — and how to remove it. A writer registers its
// removal when it creates such output and touches that output only while it holds lock(); once
// the output is in place (or gone) it unregisters. An interrupted command line calls
// removeAllAndHold() from another thread: it waits for the write in progress, removes everything
// registered and keeps the lock, so no writer can add to the output again before the process
// ends.
#pragma once

#include <QMutexLocker>

#include <cstdint>
#include <functional>

namespace exporting {

class PendingOutputs final {
public:
    using Token = std::uint64_t;

    // Held while a writer creates, writes, puts in place or removes its pending output.
    [[nodiscard]] static QMutexLocker<QBasicMutex> lock();

    // Registers the removal of a pending output; the caller holds lock().
    static Token add(std::function<void()> remove);
    // Forgets a removal (the output is in place, or was removed); the caller holds lock().
    static void drop(Token token);

    // Waits for lock(), runs every registered removal, and never releases the lock: for a
    // process that is about to end. Returns once everything registered is removed.
    static void removeAllAndHold();
};

} // namespace exporting
