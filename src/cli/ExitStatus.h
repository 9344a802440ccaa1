// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's exit statuses, as scripts read them: 0 when every document was written, 1
// when some were skipped, 2 when the book cannot be opened or the output cannot be written
// (standard output included), 64 for a usage error, 130 when interrupted.
#pragma once

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitSkipped = 1;
inline constexpr int kExitFailed = 2;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitInterrupted = 130;

} // namespace cli
