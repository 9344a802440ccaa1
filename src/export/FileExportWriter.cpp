// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file export writer (see FileExportWriter.h).
#include "export/FileExportWriter.h"

FileExportWriter::FileExportWriter(const QString &path, QStringConverter::Encoding encoding)
    : m_path(path), m_file(path, encoding)
{
}
