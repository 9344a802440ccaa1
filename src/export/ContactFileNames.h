// File names for the one-vCard-per-contact export: a contact's name made into a name that every
// common file system accepts (Windows, macOS, Linux, FAT on a USB stick), and unique within one
// export even where the file system ignores case or Unicode normalisation.
#pragma once

#include <QSet>
#include <QString>

class ContactFileNames final {
public:
    // The file name (with ".vcf") for a contact called `name`; never one handed out before.
    QString take(const QString &name);

    // `name` made safe: characters that some file system refuses become "_", leading and
    // trailing dots and spaces go, a name that Windows keeps for a device gets a leading "_",
    // the length is kept short; "Contact" for what is left empty.
    static QString safeBase(const QString &name);

private:
    QSet<QString> m_taken; // case-folded, normalised
};
