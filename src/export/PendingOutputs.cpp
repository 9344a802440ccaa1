// SPDX-License-Identifier: GPL-3.0-or-later
// The register of output not yet in place (see PendingOutputs.h).
#include "export/PendingOutputs.h"

#include <map>

namespace exporting {

// Qt's mutex rather than the standard one: MinGW's libstdc++ with Windows threads has none.

namespace {

QBasicMutex &registerMutex()
{
    static QBasicMutex mutex;
    return mutex;
}

// Guarded by registerMutex().
struct Register {
    PendingOutputs::Token next = 1;
    std::map<PendingOutputs::Token, std::function<void()>> removals;
};

Register &pending()
{
    static Register pendingRegister;
    return pendingRegister;
}

} // namespace

QMutexLocker<QBasicMutex> PendingOutputs::lock()
{
    return QMutexLocker<QBasicMutex>(&registerMutex());
}

PendingOutputs::Token PendingOutputs::add(std::function<void()> remove)
{
    const Token token = pending().next++;
    pending().removals.emplace(token, std::move(remove));
    return token;
}

void PendingOutputs::drop(Token token)
{
    pending().removals.erase(token);
}

void PendingOutputs::removeAllAndHold()
{
    registerMutex().lock(); // never unlocked: the process ends with it held
    // Taken out first: a removal may drop its own registration.
    const auto removals = std::move(pending().removals);
    pending().removals.clear();
    for (const auto &[token, remove] : removals)
        remove();
}

} // namespace exporting
