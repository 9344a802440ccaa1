// SPDX-License-Identifier: GPL-3.0-or-later
// The product's fixed texts, kept in one place so the main window's footer, the About window
// and the web commands all show and open the same address.
#pragma once

namespace product {

inline constexpr const char *kName = "Korvanta Tessal";
inline constexpr const char *kCompany = "Korvanta Software";
inline constexpr const char *kVersion = "Version 3.0 Build 1038";
inline constexpr const char *kWebSite = "https://korvanta.example";
inline constexpr const char *kSupportEmail = "support@korvanta.example";

} // namespace product
