// SPDX-License-Identifier: GPL-3.0-or-later
// What a client delivers, written down as lines so two clients can be compared line by line:
// a plain walk over the object model reading given items, and the scan and export walks through
// recording sinks. Qt-free: the same records serve the in-memory client and the COM client.
#pragma once

#include "ExportWalk.h"
#include "ScanWalk.h"

#include <string>
#include <vector>

namespace wintest {

// Opens `path` through `session`, walks "$People" and writes the title, the count, and per
// document its ids and every value of each item in `items` (kind, default text and, for dates,
// which parts it has). Objects are released as the walks release them.
std::vector<std::string> bookTranscript(notes::NotesSession &session, const std::string &path,
                                        const std::vector<std::string> &items);

class ScanRecorder final : public notes::ScanSink {
public:
    void scanStarted(std::int64_t entryCount) override;
    void addContact(const notes::ScannedContact &contact) override;
    void progress(std::int64_t scanCounter) override;

    std::vector<std::string> lines;
};

class ExportRecorder final : public exportcore::ExportSink {
public:
    void started(std::int64_t entryCount) override;
    void line(const std::string &utf8) override;
    void progress(std::int64_t documentNumber) override;

    std::vector<std::string> lines;
};

std::string describe(const notes::WalkOutcome &outcome);

// "" when equal, else the first difference.
std::string firstDifference(const std::vector<std::string> &actual,
                            const std::vector<std::string> &expected);

} // namespace wintest
