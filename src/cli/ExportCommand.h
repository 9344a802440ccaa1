// SPDX-License-Identifier: GPL-3.0-or-later
// "korvanta-tessal export": the export job, as the export window runs it, with its messages on
// standard error.
#pragma once

#include "cli/Console.h"
#include "export/ExportJob.h"
#include "notes/SessionFactory.h"

namespace cli {

// Runs the export job of `request` (its callbacks are the command's own) and says how it went.
int runExportCommand(exporting::ExportRequest request, const notes::SessionFactory &factory,
                     const Console &console);

} // namespace cli
