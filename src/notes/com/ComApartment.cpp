// SPDX-License-Identifier: GPL-3.0-or-later
// The program's COM apartment (see ComApartment.h).
#include "notes/com/ComApartment.h"

#include <objbase.h>

namespace notes::com {

ComApartment::ComApartment()
{
    // S_FALSE (already initialised on this thread) still needs its own CoUninitialize.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_initialised = SUCCEEDED(hr);
}

ComApartment::~ComApartment()
{
    if (m_initialised)
        CoUninitialize();
}

} // namespace notes::com
