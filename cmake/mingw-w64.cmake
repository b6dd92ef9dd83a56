# Cross build for Windows with Debian's MinGW-w64 compilers. Included by the two toolchain files,
# which set MORVEX_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MORVEX_MINGW_ARCH})

# The posix thread model: the program's C++ threading types (std::mutex) need it.
set(CMAKE_C_COMPILER ${MORVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVEX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
