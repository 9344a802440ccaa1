// SPDX-License-Identifier: GPL-3.0-or-later
// Writing bytes to a file descriptor whole: the one loop behind the command line's standard
// streams and the files of the one-vCard-per-contact export, so every short write is carried on
// and every failure keeps the system's cause.
#pragma once

#include <cstdint>

namespace exporting {

// Writes all `size` bytes of `data` to `fd`; 0 when all went out, else the errno of the failure
// (ENOSPC for a write that took nothing without naming a cause).
int writeAll(int fd, const char *data, std::int64_t size);

} // namespace exporting
