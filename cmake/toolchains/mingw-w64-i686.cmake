# Windows x86 (32-bit) with Debian's mingw-w64 cross compiler (g++-mingw-w64-i686-posix).
set(VORNIX_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
