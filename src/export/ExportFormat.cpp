// SPDX-License-Identifier: GPL-3.0-or-later
// The export's formats (see ExportFormat.h).
#include "export/ExportFormat.h"

#include "export/ExportFilePath.h"
#include "export/SingleFileWriter.h"
#include "export/VCardFolderWriter.h"
#include "export/format/CsvContactFormat.h"
#include "export/format/VCardContactFormat.h"

namespace exporting {

QString exportFormatCaption(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Csv:
        return QStringLiteral("Outlook Express CSV (OE-Contacts.csv)");
    case ExportFormat::VCard:
        return QStringLiteral("vCard (Contacts.vcf)");
    case ExportFormat::VCardFiles:
        return QStringLiteral("vCard, one file per contact (for Outlook)");
    case ExportFormat::Ldif:
        return QStringLiteral("LDIF (Contacts.ldif) for Thunderbird or an LDAP directory");
    }
    return {};
}

QString exportFormatName(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Csv:
        return QStringLiteral("csv");
    case ExportFormat::VCard:
        return QStringLiteral("vcard");
    case ExportFormat::VCardFiles:
        return QStringLiteral("vcard-files");
    case ExportFormat::Ldif:
        return QStringLiteral("ldif");
    }
    return {};
}

std::unique_ptr<formats::ContactFormat> makeContactFormat(ExportFormat format,
                                                          const std::vector<std::size_t> &positions,
                                                          const formats::LdifOptions &ldif)
{
    if (format == ExportFormat::Csv)
        return std::make_unique<formats::CsvContactFormat>(positions);
    if (format == ExportFormat::Ldif)
        return std::make_unique<formats::LdifContactFormat>(ldif);
    return std::make_unique<formats::VCardContactFormat>();
}

std::unique_ptr<ExportWriter> makeExportWriter(ExportFormat format, const QString &folder,
                                               QStringConverter::Encoding codePage)
{
    switch (format) {
    case ExportFormat::Csv:
        return std::make_unique<SingleFileWriter>(exportFileIn(folder), codePage);
    case ExportFormat::VCard:
        return std::make_unique<SingleFileWriter>(
            exportFileIn(folder, QStringLiteral("Contacts.vcf")), QStringConverter::Utf8);
    case ExportFormat::Ldif:
        return std::make_unique<SingleFileWriter>(
            exportFileIn(folder, QStringLiteral("Contacts.ldif")), QStringConverter::Utf8);
    case ExportFormat::VCardFiles:
        break;
    }
    return std::make_unique<VCardFolderWriter>(folder);
}

} // namespace exporting
