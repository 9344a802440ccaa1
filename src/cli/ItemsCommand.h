// SPDX-License-Identifier: GPL-3.0-or-later
// The items command: every document of a book with its UNID, its form and every item (name,
// type, values), as text or as JSON, optionally only the documents of one form. It shows what a
// book holds, for the question "why is this field empty?".
#pragma once

#include "cli/Console.h"
#include "notes/SessionFactory.h"

#include <QString>

namespace cli {

// `form` empty: every document; else only those whose Form is `form` (any case).
int runItemsCommand(const QString &book, const QString &form, bool json,
                    const notes::SessionFactory &factory, const Console &console);

} // namespace cli
