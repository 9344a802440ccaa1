// SPDX-License-Identifier: GPL-3.0-or-later
// The document launcher (see OpenInShell.h).
#include "support/OpenInShell.h"

#include "platform/Platform.h"

namespace support {

void OpenInShell(const QString &target)
{
    if (target.isEmpty())
        return;
    platform::current().openInShell(target);
}

} // namespace support
