# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread and Qt need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMASIO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMASIO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMASIO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMASIO_MINGW_TRIPLE}-windres)

# Qt for Windows lives in a cache outside the sysroot; it comes in through
# CMAKE_PREFIX_PATH, which the find-root rules below must not hide.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${LUMASIO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
