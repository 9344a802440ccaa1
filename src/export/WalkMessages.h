// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that tell how a walk over an address book went, the scan's and the export's, for the
// windows' message boxes and for the command line's standard error: each is written here once,
// so that every front end says the same thing in the same words.
#pragma once

#include "notes/WalkOutcome.h"
#include "product/Product.h"

#include <QString>

#include <cstdint>

namespace exporting {

inline const QString kNotesTitle = QString::fromLatin1(product::kCompany);
inline const QString kDoneTitle = QStringLiteral("Conversion Completed...");
inline const QString kNotInstalledTitle = QStringLiteral("Notes Not Installed/Configured");

// The scan in the main window. No Notes client could be reached: what to check.
QString notInstalled();
// The book could not be opened; the reason follows.
QString scanCannotOpen(const notes::WalkOutcome &outcome);
// How a scan that opened the book ended: `added` contacts went into the tree, `skipped` documents
// did not (those the walk could not read and those the tree refused).
QString scanEnded(const notes::WalkOutcome &outcome, std::int64_t added, std::int64_t skipped);

// The export. The book could not be opened (no Notes client, or not an address book); the reason
// follows.
QString cannotOpen(const notes::WalkOutcome &outcome);
// The output at `path` could not be written; nothing was changed there.
QString cannotWrite(const QString &path, const QString &reason);
// The completion message: the count, then what went wrong on the way, if anything.
QString completion(const notes::WalkOutcome &outcome, bool utf8Fallback);

// The command line. Why a walk could not open `book`: the system's reason when the file is there
// but cannot be read (which the clients do not give), otherwise the export's message.
QString cannotOpenBook(const QString &book, const notes::WalkOutcome &outcome);
// A listing command's word when it did not list every document: how many it listed (`listed`:
// "Contacts", "Documents") and skipped.
QString listIncomplete(const notes::WalkOutcome &outcome, const QString &listed);

} // namespace exporting
