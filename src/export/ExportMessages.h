// The texts that tell how an export went. The export window shows them in message boxes and the
// command line prints them on standard error, so both say the same thing in the same words.
#pragma once

#include "Product.h"
#include "WalkOutcome.h"

#include <QString>

namespace exportmessages {

inline const QString kNotesTitle = QString::fromLatin1(product::kCompany);
inline const QString kDoneTitle = QStringLiteral("Conversion Completed...");

// The book could not be opened (no Notes client, or not an address book); the reason follows.
QString cannotOpen(const notes::WalkOutcome &outcome);

// The output at `path` could not be written; nothing was changed there.
QString cannotWrite(const QString &path, const QString &reason);

// The completion message: the count, then what went wrong on the way, if anything.
QString completion(const notes::WalkOutcome &outcome, bool utf8Fallback);

} // namespace exportmessages
