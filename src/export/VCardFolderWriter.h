// SPDX-License-Identifier: GPL-3.0-or-later
// The one-vCard-per-contact export: a new folder "Contacts" inside the chosen one, with one .vcf
// file per contact named after the contact (ContactFileNames). Outlook's own import reads only
// the first card of a file, so this is the vCard export for Outlook. The files are written into a
// hidden work folder beside it that becomes "Contacts" only once every file is complete and on
// disk; an existing "Contacts" is never touched: the new folder then becomes "Contacts (2)" and
// so on. Any failed write, flush or close stops the export, and the work folder goes.
#pragma once

#include "export/ContactFileNames.h"
#include "export/ExportWriter.h"
#include "export/PendingOutputs.h"

#include <QTemporaryDir>

#include <memory>

namespace exporting {

class VCardFolderWriter final : public ExportWriter {
public:
    explicit VCardFolderWriter(const QString &parentFolder);
    ~VCardFolderWriter() override;
    VCardFolderWriter(const VCardFolderWriter &) = delete;
    VCardFolderWriter &operator=(const VCardFolderWriter &) = delete;

    bool open() override;
    // Only contacts make files; other text (there is no heading for vCard) is refused.
    void writeLine(const std::string &utf8) override;
    void writeContact(const formats::FormattedContact &contact) override;
    bool commit() override;
    QString errorString() const override { return m_error; }
    // Before commit(), the "Contacts" folder it aims at; after a file failed, where that file
    // was to go.
    QString writtenPath() const override;

private:
    // Records the first failure; the caller holds PendingOutputs::lock().
    void fail(const QString &path, const QString &error);
    // Removes the work folder; the caller holds PendingOutputs::lock().
    void discardWork();
    bool writeFile(const QString &name, const std::string &text);
    bool syncWork();

    QString m_parent;
    std::unique_ptr<QTemporaryDir> m_work;
    PendingOutputs::Token m_pending = 0;
    ContactFileNames m_names;
    QString m_error;
    QString m_failedPath;
    QString m_written;
    bool m_failed = false;
};

} // namespace exporting
