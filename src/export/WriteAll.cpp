// SPDX-License-Identifier: GPL-3.0-or-later
// Writing to a file descriptor whole (see WriteAll.h).
#include "export/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace exporting {

int writeAll(int fd, const char *data, std::int64_t size)
{
    while (size > 0) {
#ifdef _WIN32
        const auto chunk =
            static_cast<unsigned>(std::min<std::int64_t>(size, std::numeric_limits<int>::max()));
        const int written = _write(fd, data, chunk);
#else
        const auto written = ::write(fd, data, static_cast<std::size_t>(size));
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return ENOSPC;
        data += written;
        size -= written;
    }
    return 0;
}

} // namespace exporting
