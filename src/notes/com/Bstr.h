// SPDX-License-Identifier: GPL-3.0-or-later
// Bstr: an owned BSTR, freed with SysFreeString when it goes. MinGW has no _bstr_t, and the
// client needs no more than this.
#pragma once

#include <windows.h>

#include <string>

namespace notes::com {

class Bstr final {
public:
    Bstr() = default;
    explicit Bstr(const std::string &utf8);
    ~Bstr();
    Bstr(Bstr &&other) noexcept;
    Bstr &operator=(Bstr &&other) noexcept;
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;

    BSTR get() const { return m_value; }
    // Gives up ownership, for a VARIANT that will free it.
    BSTR release();

private:
    BSTR m_value = nullptr;
};

} // namespace notes::com
