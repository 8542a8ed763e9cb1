# Cross build for 64-bit Windows with MinGW-w64 (posix thread model), tests
# run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEB_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${ZEB_MINGW_PREFIX}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ZEB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthreads go into every binary, so the DLLs and
# test programs need nothing beyond the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Test programs run under wine in a prefix of the build tree's own, quietly
# (no debug channels, no offer to install Mono or Gecko).
set(ZEB_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "Loader that runs the Windows test programs")
set(ZEB_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of the test runs")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${ZEB_WINEPREFIX} ${ZEB_WINE_LOADER})
