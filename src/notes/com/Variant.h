// SPDX-License-Identifier: GPL-3.0-or-later
// Variant: an owned VARIANT, cleared with VariantClear when it goes (the strings, arrays and
// object references inside with it). MinGW has no _variant_t.
#pragma once

#include <windows.h>

#include <string>

namespace notes::com {

class Variant final {
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(Variant &&other) noexcept;
    Variant &operator=(Variant &&other) noexcept;
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;

    // A BSTR argument.
    static Variant fromText(const std::string &utf8);
    // An object argument; the Variant holds its own reference.
    static Variant fromObject(IDispatch *object);

    const VARIANT &value() const { return m_value; }
    VARIANT &value() { return m_value; }
    // Cleared and ready to be filled by a call's result or a copy.
    VARIANT *out();

private:
    VARIANT m_value;
};

} // namespace notes::com
