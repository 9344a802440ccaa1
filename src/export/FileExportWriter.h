// SPDX-License-Identifier: GPL-3.0-or-later
// An export written to one file through CsvFileWriter: the CSV in the system's code page, or a
// vCard file, which is always UTF-8.
#pragma once

#include "export/CsvFileWriter.h"
#include "export/ExportWriter.h"

class FileExportWriter final : public ExportWriter {
public:
    FileExportWriter(const QString &path, QStringConverter::Encoding encoding);

    bool open() override { return m_file.open(); }
    void writeLine(const std::string &utf8) override { m_file.writeLine(utf8); }
    bool commit() override { return m_file.commit(); }
    QString errorString() const override { return m_file.errorString(); }
    QString writtenPath() const override { return m_path; }
    bool usedUtf8Fallback() const override { return m_file.usedUtf8Fallback(); }

private:
    QString m_path;
    CsvFileWriter m_file;
};
