// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 <-> UTF-16 for COM calls (see ComText.h).
#include "notes/com/ComText.h"

#include <windows.h>

#include <climits>

namespace notes::com {

std::wstring toWide(const std::string &utf8)
{
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int in = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, out.data(), n);
    return out;
}

std::string toUtf8(const wchar_t *text, std::size_t length)
{
    if (!text || length == 0 || length > INT_MAX)
        return {};
    const int in = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, in, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, in, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace notes::com
