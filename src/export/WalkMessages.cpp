// SPDX-License-Identifier: GPL-3.0-or-later
// How the walks went, in words (see WalkMessages.h).
#include "export/WalkMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace exporting {

namespace {

const QString kNotAnAddressBook = QStringLiteral(
    "Lotus Notes not configured or the selected file is not a correct notes address book file.");

// The main window's messages break their lines as the system does.
QString newLine()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

QString scanStoppedEarly(const notes::WalkOutcome &outcome)
{
    return QStringLiteral("The Notes Address Book scan stopped early: %1")
        .arg(QString::fromStdString(outcome.reason));
}

QString unreadSkipped(std::int64_t skipped)
{
    return QStringLiteral("Documents skipped because they could not be read: %1.").arg(skipped);
}

// How far a scan that did not read every document got.
QString tally(std::int64_t added, std::int64_t skipped)
{
    QString text = QStringLiteral("Contacts added: %1.").arg(added);
    if (skipped > 0)
        text += QLatin1Char(' ') + unreadSkipped(skipped);
    return text;
}

} // namespace

QString notInstalled()
{
    const QStringList lines{
        QStringLiteral("Lotus Notes NOT INSTALLED or CONFIGURED Properly."),
        QString(),
        QStringLiteral("If Lotus Notes is installed and configured properly and you still get "
                       "this error message"),
        QStringLiteral("then make sure your Lotus Notes Client is configured as stand alone client "
                       "(does not look for Domino)."),
        QStringLiteral("It is RECOMMENDED that you install a Notes Client on a fresh disk to "
                       "perform the conversion."),
        QStringLiteral("Please contact our technical team at %1 for further assistance.")
            .arg(QString::fromLatin1(product::kSupportEmail)),
        QString(),
        QStringLiteral("Make sure you logged in under same user account through which Notes is "
                       "installed."),
    };
    return lines.join(newLine());
}

QString scanCannotOpen(const notes::WalkOutcome &outcome)
{
    return kNotAnAddressBook + newLine() + newLine() + QString::fromStdString(outcome.reason);
}

QString scanEnded(const notes::WalkOutcome &outcome, std::int64_t added, std::int64_t skipped)
{
    using Kind = notes::WalkOutcome::Kind;
    const QString twoLines = newLine() + newLine();
    switch (outcome.kind) {
    case Kind::EmptyView:
        return QStringLiteral("No contacts were found in the Notes Address Book.");
    case Kind::Completed:
    case Kind::Incomplete:
        // "Completed" only when every document made it into the tree.
        if (skipped == 0)
            return QStringLiteral("Notes Address Book Scan Completed");
        return QStringLiteral("The Notes Address Book scan reached the end of the book, but some "
                              "documents could not be read.") +
               twoLines + tally(added, skipped);
    case Kind::StoppedEarly:
        return scanStoppedEarly(outcome) + twoLines + tally(added, skipped);
    case Kind::NotInstalled:
    case Kind::CannotOpen:
        break;
    }
    return {};
}

QString cannotOpen(const notes::WalkOutcome &outcome)
{
    QString text = kNotAnAddressBook;
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

QString cannotOpenBook(const QString &book, const notes::WalkOutcome &outcome)
{
    QFile file(book);
    const QFileInfo info(book);
    if (outcome.kind == notes::WalkOutcome::Kind::CannotOpen && info.exists() && !info.isDir() &&
        !file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(book, file.errorString());
    return cannotOpen(outcome);
}

QString listIncomplete(const notes::WalkOutcome &outcome, const QString &listed)
{
    QString text = QStringLiteral("%1 listed: %2. ").arg(listed).arg(outcome.delivered) +
                   unreadSkipped(outcome.skipped);
    if (outcome.kind == notes::WalkOutcome::Kind::StoppedEarly)
        text = scanStoppedEarly(outcome) + QStringLiteral("\n\n") + text;
    return text;
}

} // namespace exporting
