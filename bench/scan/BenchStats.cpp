// SPDX-License-Identifier: GPL-3.0-or-later
// Wall time and peak memory of a benchmark run (see BenchStats.h).
#include "BenchStats.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace bench {

double BenchStats::elapsedSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

double BenchStats::peakRssMiB()
{
#ifndef _WIN32
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
#endif
    return 0.0;
}

std::uintmax_t BenchStats::fileSize(const std::string &path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

std::string BenchStats::report(const std::string &label, const std::string &path) const
{
    const double seconds = elapsedSeconds();
    const double rss = peakRssMiB();
    const double file = static_cast<double>(fileSize(path)) / (1024.0 * 1024.0);
    char line[256];
    std::snprintf(line, sizeof line, "%s: %.3f s, peak RSS %.1f MiB, file %.1f MiB (%.2fx)",
                  label.c_str(), seconds, rss, file, file > 0 ? rss / file : 0.0);
    return line;
}

} // namespace bench
