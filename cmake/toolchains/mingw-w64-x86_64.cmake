# Windows x86-64 with Debian's mingw-w64 cross compiler (g++-mingw-w64-x86-64-posix).
set(VORNIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
