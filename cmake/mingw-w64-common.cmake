# SPDX-License-Identifier: GPL-3.0-or-later
# What both MinGW-w64 toolchain files share (mingw-w64-x86_64.cmake, mingw-w64-i686.cmake set
# CMAKE_SYSTEM_PROCESSOR and KT_MINGW_PREFIX first). The runtime is linked statically so the
# programs and the test COM server run under a bare wine prefix without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KT_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${KT_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${KT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and try_run results are run through wine by CTest when it is there.
find_program(KT_WINE wine)
if(KT_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KT_WINE})
endif()
