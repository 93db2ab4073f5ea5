# Windows x86 (32-bit) with Debian's mingw-w64 cross compiler (g++-mingw-w64-i686-posix).
set(VORNIX_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# Floating point in SSE2 registers, as on x86-64: the x87 unit keeps extra precision between
# operations, so values would differ from the other builds in their last bits (and so would what
# the plug-in plays and draws). Every processor a current host runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
