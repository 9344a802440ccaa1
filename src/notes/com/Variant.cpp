// SPDX-License-Identifier: GPL-3.0-or-later
// An owned VARIANT (see Variant.h).
#include "notes/com/Variant.h"

#include "notes/com/Bstr.h"

#include <cstring>

namespace notes::com {

Variant::Variant(Variant &&other) noexcept
{
    std::memcpy(&m_value, &other.m_value, sizeof m_value);
    VariantInit(&other.m_value);
}

Variant &Variant::operator=(Variant &&other) noexcept
{
    if (this != &other) {
        VariantClear(&m_value);
        std::memcpy(&m_value, &other.m_value, sizeof m_value);
        VariantInit(&other.m_value);
    }
    return *this;
}

Variant Variant::fromText(const std::string &utf8)
{
    Bstr text(utf8);
    Variant v;
    v.m_value.vt = VT_BSTR;
    v.m_value.bstrVal = text.release();
    return v;
}

Variant Variant::fromObject(IDispatch *object)
{
    Variant v;
    v.m_value.vt = VT_DISPATCH;
    v.m_value.pdispVal = object;
    if (object)
        object->AddRef();
    return v;
}

VARIANT *Variant::out()
{
    VariantClear(&m_value);
    VariantInit(&m_value);
    return &m_value;
}

} // namespace notes::com
