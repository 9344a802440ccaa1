// SPDX-License-Identifier: GPL-3.0-or-later
// The one-vCard-per-contact writer (see VCardFolderWriter.h). Files are written whole with the
// system's own calls: every byte count, and the close, is checked. On Linux the work folder's
// file system is synced once before the folder is put in place (one syncfs() costs what one file
// used to); elsewhere each file is flushed to disk as it is closed.
#include "VCardFolderWriter.h"

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifdef _WIN32
QString systemReason()
{
    return qt_error_string(static_cast<int>(GetLastError()));
}

// Creates `path` (never replacing a file), writes all of `text` and flushes it to disk.
bool writeWhole(const QString &path, const std::string &text, QString &reason)
{
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                    GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = systemReason();
        return false;
    }
    const char *data = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(file, data, chunk, &written, nullptr) && written > 0;
        data += written;
        left -= written;
    }
    ok = ok && FlushFileBuffers(file);
    if (!ok)
        reason = systemReason();
    if (!CloseHandle(file) && ok) {
        reason = systemReason();
        ok = false;
    }
    return ok;
}
#else
QString systemReason()
{
    return qt_error_string(errno);
}

bool writeWhole(const QString &path, const std::string &text, QString &reason)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = systemReason();
        return false;
    }
    const char *data = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0; // a write of nothing on a full disk sets no errno: say so below
        if (written == 0)
            errno = ENOSPC;
        if (ok) {
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }
#ifndef __linux__
    ok = ok && ::fsync(fd) == 0;
#endif
    if (!ok)
        reason = systemReason();
    // A file system that writes late (NFS, some FUSE) reports a failed write at the close.
    if (::close(fd) != 0 && ok) {
        reason = systemReason();
        ok = false;
    }
    return ok;
}
#endif

} // namespace

VCardFolderWriter::VCardFolderWriter(const QString &parentFolder) : m_parent(parentFolder)
{
}

VCardFolderWriter::~VCardFolderWriter()
{
    const auto lock = PendingOutputs::lock();
    discardWork();
}

QString VCardFolderWriter::writtenPath() const
{
    if (!m_written.isEmpty())
        return m_written;
    if (!m_failedPath.isEmpty())
        return m_failedPath;
    return QDir::toNativeSeparators(QDir(m_parent).filePath(QStringLiteral("Contacts")));
}

bool VCardFolderWriter::open()
{
    const auto lock = PendingOutputs::lock();
    m_work = std::make_unique<QTemporaryDir>(
        QDir(m_parent).filePath(QStringLiteral(".Contacts-XXXXXX")));
    if (!m_work->isValid()) {
        fail({}, m_work->errorString());
        m_work.reset();
        return false;
    }
    m_pending = PendingOutputs::add([this] { discardWork(); });
#ifndef _WIN32
    // A temporary folder is private to its owner; the folder it becomes is like any new folder.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(QFile::encodeName(m_work->path()).constData(), 0777 & ~mask) != 0) {
        fail({}, systemReason());
        discardWork();
        return false;
    }
#endif
    return true;
}

void VCardFolderWriter::fail(const QString &path, const QString &error)
{
    if (m_failed)
        return;
    m_failed = true;
    m_error = error;
    m_failedPath = path;
}

void VCardFolderWriter::discardWork()
{
    if (m_pending != 0)
        PendingOutputs::drop(m_pending);
    m_pending = 0;
    m_work.reset(); // the work folder goes with what was in it
}

void VCardFolderWriter::writeLine(const std::string &utf8)
{
    if (utf8.empty())
        return;
    const auto lock = PendingOutputs::lock();
    fail({}, QStringLiteral("Text outside a contact cannot be written to a folder of contacts."));
}

bool VCardFolderWriter::writeFile(const QString &name, const std::string &text)
{
    const auto lock = PendingOutputs::lock();
    if (!m_work)
        return false;
    QString reason;
    if (writeWhole(m_work->filePath(name), text, reason))
        return true;
    // Named where the user will look for it: in the folder the export was to make.
    fail(QDir::toNativeSeparators(QDir(m_parent).filePath(QStringLiteral("Contacts/") + name)),
         reason);
    discardWork(); // nothing of a failed export stays, and the space it took is given back
    return false;
}

void VCardFolderWriter::writeContact(const exportcore::FormattedContact &contact)
{
    if (m_failed)
        return; // the folder will not be used: writing on would only spend time
    writeFile(m_names.take(QString::fromStdString(contact.name)), contact.text);
}

bool VCardFolderWriter::syncWork()
{
#ifdef __linux__
    const int fd =
        ::open(QFile::encodeName(m_work->path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        fail({}, systemReason());
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
#endif
    return true;
}

bool VCardFolderWriter::commit()
{
    const auto lock = PendingOutputs::lock();
    if (m_failed || !m_work || !syncWork()) {
        discardWork();
        return false;
    }
    const QDir parent(m_parent);
    for (int n = 1;; ++n) {
        const QString name =
            n == 1 ? QStringLiteral("Contacts") : QStringLiteral("Contacts (%1)").arg(n);
        const QString target = parent.filePath(name);
        if (QFileInfo::exists(target))
            continue;
        // rename() fails rather than replace, so a folder made meanwhile is never overwritten.
        if (QDir().rename(m_work->path(), target)) {
            m_work->setAutoRemove(false);
            discardWork();
            m_written = QDir::toNativeSeparators(target);
#ifndef _WIN32
            // The rename itself is on disk once the parent folder is.
            const int fd =
                ::open(QFile::encodeName(m_parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
#endif
            return true;
        }
        if (!QFileInfo::exists(target)) {
            fail(QDir::toNativeSeparators(target),
                 QStringLiteral("The folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(target)));
            discardWork();
            return false;
        }
    }
}
