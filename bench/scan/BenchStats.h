// SPDX-License-Identifier: GPL-3.0-or-later
// Figures the scan benchmarks print: wall time since construction and the process's peak
// resident memory. Shared by every scan benchmark so their lines compare directly.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace bench {

class BenchStats final {
public:
    BenchStats() = default;

    double elapsedSeconds() const;
    // Peak resident set size of this process so far, in MiB (0 where the system cannot say).
    static double peakRssMiB();
    static std::uintmax_t fileSize(const std::string &path);

    // One line: "<label>: 1.234 s, peak RSS 567.8 MiB, file 280.1 MiB (2.0x)".
    std::string report(const std::string &label, const std::string &path) const;

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace bench
