// SPDX-License-Identifier: GPL-3.0-or-later
// ComApartment: the program's COM apartment. main() holds one on Windows for its whole life, so
// COM is initialised once, apartment-threaded, on the UI thread that makes every Notes call, and
// uninitialised at exit after every Notes object is gone.
#pragma once

namespace notes::com {

class ComApartment final {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

    // False when COM could not be initialised (or the thread already had another apartment
    // model); creating Notes sessions then fails with COM's own reason.
    bool ok() const { return m_initialised; }

private:
    bool m_initialised = false;
};

} // namespace notes::com
