# 32-bit Windows (i686), the program's own target.
set(MORVEX_MINGW_ARCH x86)
set(MORVEX_MINGW_TRIPLE i686-w64-mingw32)
# Floating point in SSE registers as on x86_64: the x87 unit's wider intermediate results would
# change the spectrum arithmetic's single-precision results.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
