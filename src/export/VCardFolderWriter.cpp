// SPDX-License-Identifier: GPL-3.0-or-later
// The one-vCard-per-contact writer (see VCardFolderWriter.h). Files are written whole with the
// system's own calls: every byte count, and the close, is checked (Qt's unbuffered writes lose
// the system's reason). On Linux the work folder's file system is synced once before the folder
// is put in place (one syncfs() costs what one file used to); elsewhere each file is flushed to
// disk before it is closed.
#include "export/VCardFolderWriter.h"

#include "export/WriteAll.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace exporting {

namespace {

QString systemReason()
{
    return qt_error_string(errno);
}

// Creates `path` (never replacing a file) and writes all of `text`; false and the system's
// reason when any of it failed.
bool writeWhole(const QString &path, const std::string &text, QString &reason)
{
#ifdef _WIN32
    const int fd =
        ::_wopen(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                 _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    if (fd < 0) {
        reason = systemReason();
        return false;
    }
    int failure = writeAll(fd, text.data(), static_cast<std::int64_t>(text.size()));
#ifdef _WIN32
    if (failure == 0 && ::_commit(fd) != 0)
        failure = errno;
    // A file system that writes late (a network share) reports a failed write at the close.
    if (::_close(fd) != 0 && failure == 0)
        failure = errno;
#else
#ifndef __linux__
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
#endif
    // A file system that writes late (NFS, some FUSE) reports a failed write at the close.
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
#endif
    if (failure != 0)
        reason = qt_error_string(failure);
    return failure == 0;
}

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

void VCardFolderWriter::writeContact(const formats::FormattedContact &contact)
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

} // namespace exporting
