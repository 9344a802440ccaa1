// SPDX-License-Identifier: GPL-3.0-or-later
// Long work inside a Notes client (the DXL client parsing a book of a few hundred megabytes)
// calls keepAlive() now and then. The window that started the walk installs a hook for its
// duration, so it keeps painting its progress even before the first document comes; without a
// hook keepAlive() does nothing. One hook at a time, on the thread that runs the walk.
#pragma once

#include <functional>

namespace notes {

void keepAlive();

class KeepAliveHook final {
public:
    explicit KeepAliveHook(std::function<void()> hook);
    ~KeepAliveHook();
    KeepAliveHook(const KeepAliveHook &) = delete;
    KeepAliveHook &operator=(const KeepAliveHook &) = delete;

private:
    std::function<void()> m_previous;
};

} // namespace notes
