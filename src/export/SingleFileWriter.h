// SPDX-License-Identifier: GPL-3.0-or-later
// Writes an export that is one file (OE-Contacts.csv, Contacts.vcf) through QSaveFile, so that
// either the whole new file replaces the old one or nothing changes. Text goes out in the given
// code page (the CSV: the system's; a vCard file: UTF-8); when a value holds a character that
// code page cannot represent, the whole file is written as UTF-8 with a byte-order mark instead,
// so that nothing is lost. The temporary file is registered with
// PendingOutputs, so an interrupted command line removes it.
#pragma once

#include "export/ExportWriter.h"
#include "export/PendingOutputs.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <string>

namespace exporting {

class SingleFileWriter final : public ExportWriter {
public:
    // `codePage` is QStringConverter::System in the program; tests hand in another one.
    SingleFileWriter(const QString &path, QStringConverter::Encoding codePage);
    ~SingleFileWriter() override;
    SingleFileWriter(const SingleFileWriter &) = delete;
    SingleFileWriter &operator=(const SingleFileWriter &) = delete;

    // Creates the new file beside the old one; false when that is not possible (errorString()).
    bool open() override;
    // One UTF-8 line, CR LF included.
    void writeLine(const std::string &utf8) override;
    // Writes what is held back and replaces the old file; false when anything failed, a write
    // that went through only in part included (errorString()), and the old file is then
    // untouched. Without commit() nothing changes.
    bool commit() override;

    // True when the code page could not represent every value and UTF-8 was written instead.
    bool usedUtf8Fallback() const override { return m_lossy; }
    QString errorString() const override;
    QString writtenPath() const override { return m_path; }

private:
    // Every byte or none: a short write is a failure (m_failure), and nothing is written after it.
    void write(const char *data, qint64 size);
    void flushDirect();
    // Drops the new file (the older one stays); the caller holds PendingOutputs::lock().
    void discard();

    QString m_path;
    // Touched only under PendingOutputs::lock(); null once the new file is in place or dropped.
    std::unique_ptr<QSaveFile> m_file;
    PendingOutputs::Token m_pending = 0;
    QString m_fileError;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
    // The code page writes exactly UTF-8 (every Linux system): lines go to the file as they come.
    bool m_direct = false;
    bool m_lossy = false;
    // Why a write failed; empty while every write so far went through whole.
    QString m_failure;
    // Otherwise the lines are held until commit(), both encoded (while nothing was lost) and as
    // UTF-8 (in case something is lost later and the file must be written as UTF-8 after all).
    QByteArray m_encoded;
    std::string m_utf8;
};

} // namespace exporting
