# Toolchain for a 64-bit Windows quelt.exe, cross-compiled on Debian with
# mingw-w64 (packages g++-mingw-w64-x86-64-win32 and binutils-mingw-w64-x86-64).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The top CMakeLists links the executable statically when MINGW, so the result
# needs no DLL beyond Windows' own.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUELT_MINGW_PREFIX x86_64-w64-mingw32)

# The win32 thread model: the checker is single-threaded, and this variant
# needs no libwinpthread. Fall back to whichever variant the alternatives pick.
find_program(QUELT_MINGW_CXX NAMES ${QUELT_MINGW_PREFIX}-g++-win32 ${QUELT_MINGW_PREFIX}-g++
             REQUIRED)
set(CMAKE_CXX_COMPILER ${QUELT_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${QUELT_MINGW_PREFIX}-windres)

# mingw-w64's own printf and strtod family instead of the old msvcrt one:
# %zu, %lld and the rounding of %.2f then behave as on Linux.
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
# No link time in the PE header: the same sources give the same quelt.exe.
# Symbols stripped: users get a smaller download, debugging happens on Linux.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp -s")

# Headers and libraries from the cross sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUELT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
