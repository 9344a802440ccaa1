// SPDX-License-Identifier: GPL-3.0-or-later
// An owned BSTR (see Bstr.h).
#include "notes/com/Bstr.h"

#include "notes/com/ComText.h"

#include <new>

namespace notes::com {

Bstr::Bstr(const std::string &utf8)
{
    const std::wstring wide = toWide(utf8);
    m_value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!m_value)
        throw std::bad_alloc();
}

Bstr::~Bstr()
{
    SysFreeString(m_value);
}

Bstr::Bstr(Bstr &&other) noexcept : m_value(other.release())
{
}

Bstr &Bstr::operator=(Bstr &&other) noexcept
{
    if (this != &other) {
        SysFreeString(m_value);
        m_value = other.release();
    }
    return *this;
}

BSTR Bstr::release()
{
    BSTR value = m_value;
    m_value = nullptr;
    return value;
}

} // namespace notes::com
