// SPDX-License-Identifier: GPL-3.0-or-later
// "korvanta-tessal list": every contact of the "$People" view as the scan reads it, one line each
// (name, e-mail address, company, separated by tabs), or as a JSON array of objects holding the
// 42 fields named by their Notes items.
#pragma once

#include "cli/Console.h"
#include "notes/SessionFactory.h"

#include <QString>

namespace cli {

int runListCommand(const QString &book, bool json, const notes::SessionFactory &factory,
                   const Console &console);

} // namespace cli
