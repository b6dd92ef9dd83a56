# 64-bit Windows (x86_64).
set(MORVEX_MINGW_ARCH AMD64)
set(MORVEX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
