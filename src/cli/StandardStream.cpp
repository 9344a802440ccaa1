// SPDX-License-Identifier: GPL-3.0-or-later
// Writing to a standard stream and keeping the first failure (see StandardStream.h).
#include "StandardStream.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
    while (size > 0 && m_failure == 0) {
#ifdef _WIN32
        const unsigned chunk =
            static_cast<unsigned>(std::min<qint64>(size, std::numeric_limits<int>::max()));
        const int written = _write(m_fd, data, chunk);
#else
        const auto written = ::write(m_fd, data, static_cast<std::size_t>(size));
#endif
        if (written < 0) {
            if (errno != EINTR)
                m_failure = errno;
            continue;
        }
        if (written == 0) {
            m_failure = ENOSPC; // a write that takes nothing and names no reason
            continue;
        }
        data += written;
        size -= written;
    }
    return m_failure == 0;
}
