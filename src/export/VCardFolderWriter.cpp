// The one-vCard-per-contact writer (see VCardFolderWriter.h).
#include "VCardFolderWriter.h"

#include <QDir>
#include <QSaveFile>

VCardFolderWriter::VCardFolderWriter(const QString &parentFolder) : m_parent(parentFolder)
{
}

QString VCardFolderWriter::writtenPath() const
{
    if (!m_written.isEmpty())
        return m_written;
    return QDir::toNativeSeparators(QDir(m_parent).filePath(QStringLiteral("Contacts")));
}

bool VCardFolderWriter::open()
{
    m_work = std::make_unique<QTemporaryDir>(
        QDir(m_parent).filePath(QStringLiteral(".Contacts-XXXXXX")));
    if (!m_work->isValid()) {
        fail(m_work->errorString());
        return false;
    }
    return true;
}

void VCardFolderWriter::fail(const QString &error)
{
    if (!m_failed)
        m_error = error;
    m_failed = true;
}

void VCardFolderWriter::writeLine(const std::string &utf8)
{
    if (!utf8.empty())
        fail(QStringLiteral("Text outside a contact cannot be written to a folder of contacts."));
}

void VCardFolderWriter::writeContact(const exportcore::FormattedContact &contact)
{
    if (m_failed)
        return; // the folder will not be used: writing on would only spend time
    const QString name = m_names.take(QString::fromStdString(contact.name));
    QSaveFile file(m_work->filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("%1: %2").arg(name, file.errorString()));
        return;
    }
    const auto size = static_cast<qint64>(contact.text.size());
    if (file.write(contact.text.data(), size) != size || !file.commit())
        fail(QStringLiteral("%1: %2").arg(name, file.errorString()));
}

bool VCardFolderWriter::commit()
{
    if (m_failed || !m_work) {
        m_work.reset(); // the work folder goes with what was in it
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
            m_written = QDir::toNativeSeparators(target);
            return true;
        }
        if (!QFileInfo::exists(target)) {
            fail(QStringLiteral("The folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(target)));
            m_work.reset();
            return false;
        }
    }
}
