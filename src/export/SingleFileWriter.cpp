// SPDX-License-Identifier: GPL-3.0-or-later
// The output file of the export (see SingleFileWriter.h).
#include "export/SingleFileWriter.h"

namespace exporting {

namespace {

// Lines held back before they are handed to the file in the direct mode, so that a large export
// makes a few big writes rather than one per contact.
constexpr std::size_t kDirectChunk = 1 << 20;

// Whether the code page turns text into exactly its UTF-8 bytes. Tried on characters of several
// scripts rather than by name: Qt calls the system's code page "Locale" everywhere.
bool writesUtf8(QStringConverter::Encoding codePage)
{
    if (codePage == QStringConverter::Utf8)
        return true;
    const QString probe =
        QStringLiteral("a\u00e9\u20ac\u4e2d\u0436") + QChar(0xd83d) + QChar(0xde00);
    QStringEncoder encoder(codePage);
    const QByteArray bytes = encoder.encode(probe);
    return !encoder.hasError() && bytes == probe.toUtf8();
}

} // namespace

SingleFileWriter::SingleFileWriter(const QString &path, QStringConverter::Encoding codePage)
    : m_path(path), m_encoder(codePage), m_decoder(codePage), m_direct(writesUtf8(codePage))
{
}

SingleFileWriter::~SingleFileWriter()
{
    const auto lock = PendingOutputs::lock();
    discard();
}

void SingleFileWriter::discard()
{
    if (m_pending != 0)
        PendingOutputs::drop(m_pending);
    m_pending = 0;
    m_file.reset(); // a QSaveFile that was not committed removes its temporary file
}

bool SingleFileWriter::open()
{
    const auto lock = PendingOutputs::lock();
    discard();
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_fileError = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_pending = PendingOutputs::add([this] { discard(); });
    return true;
}

void SingleFileWriter::writeLine(const std::string &utf8)
{
    m_utf8 += utf8;
    if (m_direct) {
        if (m_utf8.size() >= kDirectChunk)
            flushDirect();
        return;
    }
    if (m_lossy)
        return;
    // The system encoder on Windows puts "?" in place of what it cannot represent without
    // saying so; reading the bytes back is the one check every code page answers honestly.
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QByteArray bytes = m_encoder.encode(text);
    if (m_decoder.decode(bytes) != text) {
        m_lossy = true;
        m_encoded.clear();
        m_encoded.squeeze();
        return;
    }
    m_encoded += bytes;
}

void SingleFileWriter::write(const char *data, qint64 size)
{
    // A write that only part of fits (a full disk, a quota) returns a short count and sets no
    // error; writing the rest then fails with the system's reason, which is kept for the user.
    const auto lock = PendingOutputs::lock();
    if (!m_file && m_failure.isEmpty())
        m_failure = QStringLiteral("The file was not opened.");
    while (size > 0 && m_failure.isEmpty()) {
        const qint64 written = m_file->write(data, size);
        if (written <= 0) {
            m_failure = m_file->error() != QFileDevice::NoError
                            ? m_file->errorString()
                            : QStringLiteral("Only part of the file could be written.");
            return;
        }
        data += written;
        size -= written;
    }
}

void SingleFileWriter::flushDirect()
{
    write(m_utf8.data(), static_cast<qint64>(m_utf8.size()));
    m_utf8.clear();
}

bool SingleFileWriter::commit()
{
    if (m_direct) {
        flushDirect();
    } else if (m_lossy) {
        write("\xEF\xBB\xBF", 3);
        write(m_utf8.data(), static_cast<qint64>(m_utf8.size()));
    } else {
        write(m_encoded.constData(), m_encoded.size());
    }
    const auto lock = PendingOutputs::lock();
    if (!m_file) {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("The file was not opened.");
        return false;
    }
    // Small writes wait in the file's buffer: flushing it here shows a failure there too. A
    // flush cut short keeps the rest; a second try at it names the system's reason.
    if (m_failure.isEmpty() && !m_file->flush()) {
        m_file->flush();
        m_failure = m_file->errorString();
    }
    if (!m_failure.isEmpty()) {
        m_file->cancelWriting();
        discard(); // the older file stays as it was
        return false;
    }
    const bool committed = m_file->commit();
    if (!committed)
        m_failure = m_file->errorString();
    discard();
    return committed;
}

QString SingleFileWriter::errorString() const
{
    return m_failure.isEmpty() ? m_fileError : m_failure;
}

} // namespace exporting
