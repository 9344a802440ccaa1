// SPDX-License-Identifier: GPL-3.0-or-later
// "korvanta-tessal list": every contact of the "$People" view as the scan reads it, one line each
// (name, e-mail address, company, separated by tabs), or as a JSON array of objects holding the
// 42 fields named by their Notes items.
#pragma once

#include "cli/Console.h"
#include "notes/SessionFactory.h"
#include "notes/WalkOutcome.h"

#include <QString>

#include <functional>

namespace cli {

int runListCommand(const QString &book, bool json, const notes::SessionFactory &factory,
                   const Console &console);

// How a listing command (list, items) ends after its walk: the cannot-open message and status 2,
// or `closeOutput` and status 0, or status 1 with the tally of what was `listed` ("Contacts",
// "Documents") and skipped.
int listingStatus(const Console &console, const QString &book, const notes::WalkOutcome &outcome,
                  const QString &listed, const std::function<void()> &closeOutput);

} // namespace cli
