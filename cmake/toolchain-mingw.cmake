# cmake/toolchain-mingw.cmake
# Cross-compiles for Windows with the -posix MinGW-w64 compilers (std::thread
# and friends need the posix thread model). Included by the two toolchain
# files, which set SKORVAN_MINGW_ARCH (i686 or x86_64) and SKORVAN_WINE_BUILD
# (win32 or win64). Tests run under Wine through scripts/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SKORVAN_MINGW_ARCH})
set(triplet ${SKORVAN_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_OBJDUMP ${triplet}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ${SKORVAN_WINE_BUILD})
