# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads), linking
# statically against SDL2, FreeType and GoogleTest from the prefix that
# scripts/windows-deps fills.
#
#   scripts/windows-deps
#   cmake -S . -B build-windows --toolchain cmake/toolchain-mingw-w64-x86_64.cmake
#
# The prefix is ${VORLA_DEPS_CACHE}/x86_64-w64-mingw32, VORLA_DEPS_CACHE defaulting to
# ${XDG_CACHE_HOME:-$HOME/.cache}/vorla-deps as in the script; -DVORLA_DEPS_PREFIX=<dir>
# names it outright.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_vorla_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_vorla_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_vorla_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_vorla_triple}-windres)

if(NOT VORLA_DEPS_PREFIX)
  if(DEFINED ENV{VORLA_DEPS_CACHE} AND NOT "$ENV{VORLA_DEPS_CACHE}" STREQUAL "")
    set(_vorla_cache "$ENV{VORLA_DEPS_CACHE}")
  elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(_vorla_cache "$ENV{XDG_CACHE_HOME}/vorla-deps")
  else()
    set(_vorla_cache "$ENV{HOME}/.cache/vorla-deps")
  endif()
  set(VORLA_DEPS_PREFIX "${_vorla_cache}/${_vorla_triple}")
endif()
set(VORLA_DEPS_PREFIX "${VORLA_DEPS_PREFIX}" CACHE PATH "Cross-built SDL2, FreeType and GoogleTest")
# try_compile projects read this file again without the main project's cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORLA_DEPS_PREFIX)

# Headers, libraries and packages come only from the target's own folders; programs
# (pkg-config, code generators) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${_vorla_triple} "${VORLA_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the prefix's .pc files and never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${VORLA_DEPS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# One self-contained vorla.exe: libgcc, libstdc++ and winpthread are linked in, and
# find_library takes static archives over import libraries.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(VORLA_WINE NAMES wine wine64)
if(VORLA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${VORLA_WINE}")
endif()
