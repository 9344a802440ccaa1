// SPDX-License-Identifier: GPL-3.0-or-later
// File names for the one-vCard-per-contact export: a contact's name made into a name that every
// common file system accepts (Windows, macOS, Linux, FAT on a USB stick), and unique within one
// export even where the file system ignores case or Unicode normalisation.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace exporting {

class ContactFileNames final {
public:
    // The file name (with ".vcf") for a contact called `name`; never one handed out before.
    QString take(const QString &name);

    // `name` made safe: characters that some file system refuses become "_", bidirectional
    // controls (which make a name read differently from what it is) go, leading dots, spaces and
    // dashes and trailing dots and spaces go, a name that Windows keeps for a device gets a
    // leading "_", the length is kept short; "Contact" for what is left empty.
    static QString safeBase(const QString &name);

private:
    QSet<QString> m_taken; // case-folded, normalised
    // For each case-folded base, the number its next " (n)" tries first: a book of thousands of
    // people of one name then takes each name at once instead of trying every number again.
    QHash<QString, int> m_next;
};

} // namespace exporting
