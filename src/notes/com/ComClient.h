// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows client of the Notes object model: the Notes client's COM automation classes
// ("Domino.NotesSession", "Notes.NotesSession"), reached by late binding. Each object of the
// model holds one reference to its automation object and releases it when it goes, so the
// walks' release order is the order the Notes client sees.
//
// COM must be initialised on the calling thread (ComApartment); every object is used on that
// thread only.
#pragma once

#include "notes/NotesObjects.h"
#include "notes/SessionFactory.h"

#include <memory>
#include <string>

namespace notes::com {

// A session of the COM class `progId`; throws NotesError when the class is not registered or
// cannot be created.
std::unique_ptr<NotesSession> createComSession(const std::string &progId);

// createComSession as a SessionFactory.
SessionFactory comSessionFactory();

} // namespace notes::com
