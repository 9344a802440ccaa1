// SPDX-License-Identifier: GPL-3.0-or-later
// The keep-alive hook of long client work (see KeepAlive.h).
#include "notes/KeepAlive.h"

#include <utility>

namespace notes {

namespace {
std::function<void()> &currentHook()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

void keepAlive()
{
    if (const auto &hook = currentHook())
        hook();
}

KeepAliveHook::KeepAliveHook(std::function<void()> hook)
    : m_previous(std::exchange(currentHook(), std::move(hook)))
{
}

KeepAliveHook::~KeepAliveHook()
{
    currentHook() = std::move(m_previous);
}

} // namespace notes
