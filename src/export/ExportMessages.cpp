// How an export went, in words (see ExportMessages.h).
#include "ExportMessages.h"

namespace exportmessages {

QString cannotOpen(const notes::WalkOutcome &outcome)
{
    QString text = QStringLiteral("Lotus Notes not configured or the selected file is not a "
                                  "correct notes address book file.");
    if (!outcome.reason.empty())
        text += QStringLiteral("\n\n") + QString::fromStdString(outcome.reason);
    return text;
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("The file %1 cannot be written.\n\n%2").arg(path, reason);
}

QString completion(const notes::WalkOutcome &outcome, bool utf8Fallback)
{
    using Kind = notes::WalkOutcome::Kind;
    QString first;
    QString details;
    switch (outcome.kind) {
    case Kind::Completed:
    case Kind::EmptyView:
        first = QStringLiteral("%1 Contacts Saved Successfully").arg(outcome.delivered);
        break;
    case Kind::Incomplete:
        first = QStringLiteral("%1 Contacts Saved, %2 Skipped")
                    .arg(outcome.delivered)
                    .arg(outcome.skipped);
        details = QStringLiteral("The skipped contacts could not be read from the address book: %1")
                      .arg(QString::fromStdString(outcome.skipReason));
        break;
    case Kind::StoppedEarly:
        first = outcome.skipped == 0
                    ? QStringLiteral("%1 Contacts Saved, then the export stopped early")
                          .arg(outcome.delivered)
                    : QStringLiteral("%1 Contacts Saved, %2 Skipped, then the export stopped early")
                          .arg(outcome.delivered)
                          .arg(outcome.skipped);
        details = QStringLiteral("The address book could not go on to the next contact: %1")
                      .arg(QString::fromStdString(outcome.reason));
        if (outcome.skipped != 0)
            details += QStringLiteral("\nThe skipped contacts could not be read: %1")
                           .arg(QString::fromStdString(outcome.skipReason));
        break;
    case Kind::NotInstalled:
    case Kind::CannotOpen:
        break;
    }
    QString text = first;
    if (utf8Fallback)
        text += QStringLiteral("\nThe file is written as UTF-8 (with a byte-order mark), as some "
                               "values cannot be represented in the system's code page.");
    if (!details.isEmpty())
        text += QStringLiteral("\n\n") + details;
    return text;
}

} // namespace exportmessages
