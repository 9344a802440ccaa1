// SPDX-License-Identifier: GPL-3.0-or-later
// The end-to-end tests' oracle: every Person of a DXL book in view order, read straight from the
// DXL client, to compare the program's files with.
#pragma once

#include "notes/PeopleView.h"
#include "notes/dxl/DxlClient.h"

#include <QString>

#include <functional>

// Hands each Person of `book` to `visit`; false if the book cannot be opened.
inline bool forEachDxlPerson(const QString &book,
                             const std::function<void(notes::NotesDocument &)> &visit)
{
    notes::PeopleView people;
    std::string reason;
    if (people.open(notes::dxl::DxlClient::factory(), book.toStdString(), false, reason) !=
        notes::PeopleView::Opened::Yes)
        return false;
    people.walk(visit, [](std::int64_t) {});
    return true;
}
