// SPDX-License-Identifier: GPL-3.0-or-later
// Readable reasons for failed COM calls (see ComFailure.h).
#include "notes/com/ComFailure.h"

#include "notes/NotesError.h"
#include "notes/com/ComText.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace notes::com {

namespace {

std::string hresultText(HRESULT hr)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
    return buf;
}

std::string systemText(HRESULT hr)
{
    wchar_t *text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string out;
    if (n != 0 && text)
        out = toUtf8(text, n);
    LocalFree(text);
    while (!out.empty() &&
           (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::string bstrText(BSTR s)
{
    return s ? toUtf8(s, SysStringLen(s)) : std::string();
}

} // namespace

std::string failureReason(const std::string &operation, HRESULT hr, EXCEPINFO *info)
{
    std::string description;
    std::string source;
    if (hr == DISP_E_EXCEPTION && info) {
        if (info->pfnDeferredFillIn)
            info->pfnDeferredFillIn(info);
        description = bstrText(info->bstrDescription);
        source = bstrText(info->bstrSource);
        // The error the server raised says more than "exception occurred".
        if (FAILED(info->scode))
            hr = info->scode;
        else if (info->wCode != 0)
            hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, info->wCode);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrHelpFile);
        info->bstrDescription = info->bstrSource = info->bstrHelpFile = nullptr;
    }
    std::string reason = "Notes " + operation + ": ";
    if (!description.empty()) {
        reason += description;
        if (!source.empty())
            reason += " (" + source + ")";
        return reason;
    }
    const std::string system = systemText(hr);
    reason += system.empty() ? std::string("failed") : system;
    reason += " (HRESULT " + hresultText(hr) + ")";
    return reason;
}

void throwFailure(const std::string &operation, HRESULT hr, EXCEPINFO *info)
{
    throw NotesError(failureReason(operation, hr, info));
}

} // namespace notes::com
