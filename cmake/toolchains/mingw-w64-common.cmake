# Shared part of the mingw-w64 toolchains; the including file sets VORNIX_MINGW_TRIPLE and the
# processor. Debian's "-posix" compilers: GCC 12's win32 thread model has no std::thread or
# std::mutex, which the code and the tests use; the posix model brings them through winpthreads,
# linked statically like the rest of the runtime.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VORNIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORNIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VORNIX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORNIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine when it is there (ctest and test discovery use the emulator).
# x86-64 programs go straight to Wine's 64-bit loader (and name it for the processes they start):
# Debian's `wine` starts the 32-bit loader first whenever wine32 is installed, which fails on a
# kernel that runs no 32-bit programs.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
    find_program(VORNIX_WINE NAMES wine64 HINTS /usr/lib/wine)
    if(VORNIX_WINE)
      set(CMAKE_CROSSCOMPILING_EMULATOR env WINELOADER=${VORNIX_WINE} ${VORNIX_WINE})
    endif()
  else()
    find_program(VORNIX_WINE NAMES wine)
    if(VORNIX_WINE)
      set(CMAKE_CROSSCOMPILING_EMULATOR ${VORNIX_WINE})
    endif()
  endif()
endif()
