// SPDX-License-Identifier: GPL-3.0-or-later
// Address books of the in-memory Notes client as the tests build them, and a sink that keeps
// what a scan hands over. Header only and free of Qt, for the Notes core tests as well.
#pragma once

#include "MemoryClient.h"
#include "notes/ScanWalk.h"

#include <string>
#include <vector>

// The walks' outcomes' names, in their order, as the tests' data files write them.
inline constexpr const char *kKindNames[] = {"Completed", "NotInstalled", "CannotOpen",
                                             "EmptyView", "Incomplete",   "StoppedEarly"};

// A person with the ids "UNID<id>" and "N<id>", so the scan's key is "UNID<id>-N<id>".
inline notes::MemoryDocument person(const std::string &id, const std::string &first,
                                    const std::string &last)
{
    notes::MemoryDocument doc;
    doc.universalId = "UNID" + id;
    doc.noteId = "N" + id;
    doc.set("FirstName", first).set("LastName", last);
    return doc;
}

// People 1..n holding "First<i>" and, in `commentItem`, "Note<i>".
inline void addPeople(notes::MemoryClient &client, int n,
                      const std::string &commentItem = "Comment")
{
    for (int i = 1; i <= n; ++i) {
        notes::MemoryDocument doc;
        doc.set("FirstName", "First" + std::to_string(i))
            .set(commentItem, "Note" + std::to_string(i));
        client.people.push_back(doc);
    }
}

class RecordingScanSink final : public notes::ScanSink {
public:
    void scanStarted(std::int64_t entryCount) override
    {
        ++started;
        count = entryCount;
    }
    void addContact(const notes::ScannedContact &contact) override { contacts.push_back(contact); }
    void progress(std::int64_t scanCounter) override { steps.push_back(scanCounter); }

    int started = 0;
    std::int64_t count = -1;
    std::vector<notes::ScannedContact> contacts;
    std::vector<std::int64_t> steps;
};
