// SPDX-License-Identifier: GPL-3.0-or-later
// The export's formats and the one place that turns a choice of format into what the walk reads
// (a ContactFormat) and where its text goes (an ExportWriter). The export window and the command
// line both choose here.
#pragma once

#include "export/ExportWriter.h"
#include "export/format/ContactFormat.h"
#include "export/format/LdifContactFormat.h"

#include <QString>
#include <QStringConverter>

#include <cstddef>
#include <memory>
#include <vector>

namespace exporting {

enum class ExportFormat {
    Csv,        // OE-Contacts.csv, the ticked columns, the system's code page
    VCard,      // Contacts.vcf, every card in one file, UTF-8
    VCardFiles, // a new folder "Contacts" with one .vcf per contact
    Ldif,       // Contacts.ldif, every contact and group, UTF-8, for Thunderbird or a directory
};

inline constexpr ExportFormat kExportFormats[] = {ExportFormat::Csv, ExportFormat::VCard,
                                                  ExportFormat::VCardFiles, ExportFormat::Ldif};

// The caption the export window offers.
QString exportFormatCaption(ExportFormat format);
// The name the command line takes ("csv", "vcard", "vcard-files", "ldif").
QString exportFormatName(ExportFormat format);

// What the walk writes for each document: for the CSV the columns at `positions` (indexes into
// notes::kExportColumns); a vCard or LDIF entry always carries all 42 fields, the LDIF in the
// form `ldif` chooses.
std::unique_ptr<formats::ContactFormat> makeContactFormat(ExportFormat format,
                                                          const std::vector<std::size_t> &positions,
                                                          const formats::LdifOptions &ldif = {});

// The writer of `format` into `folder`; `codePage` applies to the CSV only.
std::unique_ptr<ExportWriter> makeExportWriter(ExportFormat format, const QString &folder,
                                               QStringConverter::Encoding codePage);

} // namespace exporting
