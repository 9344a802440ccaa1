// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the export's lines to OE-Contacts.csv through QSaveFile, so that either the whole new
// file replaces the old one or nothing changes. Text goes out in the system's code page; when a
// value holds a character that code page cannot represent, the whole file is written as UTF-8
// with a byte-order mark instead, so that nothing is lost. The temporary file is registered with
// PendingOutputs, so an interrupted command line removes it.
#pragma once

#include "export/PendingOutputs.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <string>

class CsvFileWriter final {
public:
    // `codePage` is QStringConverter::System in the program; tests hand in another one.
    CsvFileWriter(const QString &path, QStringConverter::Encoding codePage);
    ~CsvFileWriter();
    CsvFileWriter(const CsvFileWriter &) = delete;
    CsvFileWriter &operator=(const CsvFileWriter &) = delete;

    // Creates the new file beside the old one; false when that is not possible (errorString()).
    bool open();
    // One UTF-8 line, CR LF included.
    void writeLine(const std::string &utf8);
    // Writes what is held back and replaces the old file; false when anything failed, a write
    // that went through only in part included (errorString()), and the old file is then
    // untouched. Without commit() nothing changes.
    bool commit();

    // True when the code page could not represent every value and UTF-8 was written instead.
    bool usedUtf8Fallback() const { return m_lossy; }
    QString errorString() const;

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
