// SPDX-License-Identifier: GPL-3.0-or-later
// Where the latest export wrote its file (or, for one vCard per contact, its folder). The export
// window sets it after a successful run and
// its "Open Exported Contacts File" label opens it; it outlives the window, as the window is
// created anew for every showing.
#pragma once

#include <QString>

namespace exporting {

// The full path of the latest export's file or folder, in the system's native form; empty until
// an export has written one.
extern QString ExportFilePath;

// The path of `fileName` (OE-Contacts.csv unless named) in `folder`: a separator is added unless
// the folder already ends with one (a drive or file system root does), and the result is in
// native form for display.
QString exportFileIn(const QString &folder,
                     const QString &fileName = QStringLiteral("OE-Contacts.csv"));

} // namespace exporting
