// SPDX-License-Identifier: GPL-3.0-or-later
// Hands a document or a web address to the desktop, which opens it in the application that is
// registered for it: the product web site from the main window, the exported CSV file from the
// export window. Returns at once and reports nothing; an empty target does nothing.
#pragma once

#include <QString>

namespace support {

void OpenInShell(const QString &target);

} // namespace support
