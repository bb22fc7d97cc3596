# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the posix thread model, which
# std::thread and std::mutex need):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKLAVOSET_BUILD_UI=OFF
# Libraries come from the MinGW tree only. Header-only ones of the host (nlohmann-json) are given as
# copies by their <Name>_DIR, never through /usr, whose C headers would break the build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KLAVOSET_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KLAVOSET_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KLAVOSET_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KLAVOSET_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KLAVOSET_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A bare Windows has none of MinGW's runtime DLLs (libstdc++, libgcc, winpthread): link them in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Programs built here run on Linux through Wine (test discovery, ctest).
find_program(KLAVOSET_WINE NAMES wine64 wine)
if(KLAVOSET_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KLAVOSET_WINE})
endif()
