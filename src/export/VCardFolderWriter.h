// The one-vCard-per-contact export: a new folder "Contacts" inside the chosen one, with one .vcf
// file per contact named after the contact (ContactFileNames). Outlook's own import reads only
// the first card of a file, so this is the vCard export for Outlook. The files are written into a
// hidden work folder beside it that becomes "Contacts" only once every file is complete; an
// existing "Contacts" is never touched: the new folder then becomes "Contacts (2)" and so on.
#pragma once

#include "ContactFileNames.h"
#include "ExportWriter.h"

#include <QTemporaryDir>

#include <memory>

class VCardFolderWriter final : public ExportWriter {
public:
    explicit VCardFolderWriter(const QString &parentFolder);

    bool open() override;
    // Only contacts make files; other text (there is no heading for vCard) is refused.
    void writeLine(const std::string &utf8) override;
    void writeContact(const exportcore::FormattedContact &contact) override;
    bool commit() override;
    QString errorString() const override { return m_error; }
    // Before commit(), the "Contacts" folder it aims at.
    QString writtenPath() const override;

private:
    void fail(const QString &error);

    QString m_parent;
    std::unique_ptr<QTemporaryDir> m_work;
    ContactFileNames m_names;
    QString m_error;
    QString m_written;
    bool m_failed = false;
};
