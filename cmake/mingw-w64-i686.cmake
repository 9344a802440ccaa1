# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686-win32).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KT_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
