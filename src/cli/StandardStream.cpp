// SPDX-License-Identifier: GPL-3.0-or-later
// Writing to a standard stream and keeping the first failure (see StandardStream.h).
#include "cli/StandardStream.h"

#include "export/WriteAll.h"

#include <system_error>

namespace cli {

namespace {

// Enough to keep a long list from costing a system call per contact.
constexpr qsizetype kHeldBytes = 64 * 1024;

} // namespace

StandardStream::StandardStream(int fd, bool buffered) : m_fd(fd), m_buffered(buffered)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

StandardStream::~StandardStream()
{
    flush();
}

bool StandardStream::flush()
{
    if (!m_held.isEmpty()) {
        writeOut(m_held.constData(), m_held.size());
        m_held.clear();
    }
    return m_failure == 0;
}

QString StandardStream::failureText() const
{
    return QString::fromStdString(std::generic_category().message(m_failure));
}

qint64 StandardStream::writeData(const char *data, qint64 size)
{
    if (m_failure != 0)
        return -1;
    if (!m_buffered)
        return writeOut(data, size) ? size : -1;
    m_held.append(data, size);
    if (m_held.size() >= kHeldBytes && !flush())
        return -1;
    return size;
}

bool StandardStream::writeOut(const char *data, qint64 size)
{
    // After a failure nothing more goes out: what follows would leave a gap in the middle.
    if (m_failure == 0)
        m_failure = exporting::writeAll(m_fd, data, size);
    return m_failure == 0;
}

} // namespace cli
