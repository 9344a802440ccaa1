// SPDX-License-Identifier: GPL-3.0-or-later
// Scans one DXL book with the scan walk and prints how it went and the process's peak memory,
// for tst_dxlmemory (which runs it in a child process, so that each book's peak is its own) and
// for measuring books by hand:
//   kt_peak_read BOOK   ->   kind=0 contacts=1 first=Ann peak_kib=5120
// Outside AddressSanitizer the address space is capped at 4 GiB, so that a reader that runs away
// fails here quickly instead of taking the machine's memory.
#include "notes/ScanWalk.h"
#include "notes/dxl/DxlClient.h"

#include <sys/resource.h>

#include <cstdio>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KT_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KT_UNDER_ASAN 1
#endif

namespace {

class FirstContactSink final : public notes::ScanSink {
public:
    void scanStarted(std::int64_t) override {}
    void addContact(const notes::ScannedContact &contact) override
    {
        if (++contacts == 1)
            first = contact.record.fields[notes::field("FirstName")];
    }
    void progress(std::int64_t) override {}

    long contacts = 0;
    std::string first;
};

// The peak of this program alone. getrusage() would also count the memory of the process that
// started it, as it stood when it forked: the new program's own high-water mark is VmHWM.
long peakKib()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = -1;
    while (status && std::fgets(line, sizeof line, status) &&
           std::sscanf(line, "VmHWM: %ld kB", &kib) != 1) {
    }
    if (status)
        std::fclose(status);
    return kib;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kt_peak_read BOOK\n");
        return 2;
    }
#ifndef KT_UNDER_ASAN
    const rlimit cap{rlim_t{4} << 30, rlim_t{4} << 30};
    setrlimit(RLIMIT_AS, &cap);
#endif
    FirstContactSink sink;
    const notes::WalkOutcome outcome =
        notes::runScan(notes::dxl::DxlClient::factory(), argv[1], sink);
    std::printf("kind=%d contacts=%ld first=%s peak_kib=%ld\n", static_cast<int>(outcome.kind),
                sink.contacts, sink.first.c_str(), peakKib());
    return 0;
}
